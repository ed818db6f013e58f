#include "platform/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/text.h"

namespace platform {
namespace {

// ---------------------------------------------------------------------------------------------
// Text helpers

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

/// A value in matching double quotes loses them.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

/// The byte length of the UTF-8 sequence starting at `i`. A byte that does not start a
/// complete, well-formed sequence counts as a character of its own.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (length == 1 || i + length > text.size()) return 1;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

/// The first `maxChars` code points of `text`.
std::string CutToChars(std::string_view text, std::size_t maxChars) {
    std::size_t bytes = 0;
    for (std::size_t chars = 0; chars < maxChars && bytes < text.size(); ++chars) {
        bytes += SequenceLength(text, bytes);
    }
    return std::string(text.substr(0, bytes));
}

// ---------------------------------------------------------------------------------------------
// Files

/// The whole file, or nothing when it cannot be read; `error` gets errno then.
std::optional<std::string> ReadWholeFile(const std::string& path, int* error = nullptr) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = errno;
        return std::nullopt;
    }
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            if (error) *error = errno;
            close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return content;
}

// ---------------------------------------------------------------------------------------------
// Parsing

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0;       // first byte of the line (after a byte order mark)
    std::size_t contentEnd = 0;  // first byte of the line end, or the end of the file
    std::size_t end = 0;         // first byte of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, quotes kept
    std::size_t equals = 0;  // offset of '=' in a key line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // UTF-8 byte order mark
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        const std::size_t newline = text.find('\n', pos);
        if (newline == std::string_view::npos) {
            line.contentEnd = line.end = text.size();
        } else {
            line.end = newline + 1;
            line.contentEnd = (newline > pos && text[newline - 1] == '\r') ? newline - 1 : newline;
        }
        pos = line.end;

        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const std::string_view trimmed = Trim(content, kWhiteSpace);
        if (trimmed.empty()) {
            line.kind = LineKind::Blank;
        } else if (trimmed.front() == ';') {
            line.kind = LineKind::Comment;
        } else if (trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            if (close != std::string_view::npos) {
                line.kind = LineKind::Section;
                line.name = Trim(trimmed.substr(1, close - 1), kWhiteSpace);
            }
        } else if (const std::size_t equals = content.find('='); equals != content.npos) {
            line.kind = LineKind::Key;
            line.name = Trim(content.substr(0, equals), kWhiteSpace);
            line.value = Trim(content.substr(equals + 1), kWhiteSpace);
            line.equals = line.begin + equals;
        }
        lines.push_back(line);
    }
    return lines;
}

/// Where a section and one of its keys are in the file.
struct Location {
    std::optional<std::size_t> section;  // index of the first matching section line
    std::size_t sectionEnd = 0;          // index of the line after the section
    std::optional<std::size_t> key;      // index of the first matching key line in it
};

/// Only the first section of the name is looked at, and in it only the first key of the name.
Location Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location where;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && EqualsIgnoreAsciiCase(lines[i].name, section)) {
            where.section = i;
            break;
        }
    }
    if (!where.section) return where;
    for (++i; i < lines.size() && lines[i].kind != LineKind::Section; ++i) {
        if (!where.key && lines[i].kind == LineKind::Key &&
            EqualsIgnoreAsciiCase(lines[i].name, key)) {
            where.key = i;
        }
    }
    where.sectionEnd = i;
    return where;
}

/// The value as it is written so that it reads back unchanged: in double quotes when reading
/// would otherwise trim its blanks or take off its own quotes.
std::string EncodeValue(std::string_view value) {
    const bool blankEdge = Trim(value, kWhiteSpace).size() != value.size();
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    std::string encoded;
    if (!blankEdge && !quoted) return encoded.assign(value);
    // Built by appending: GCC 12 gives a false -Wrestrict for "\"" + std::string (PR 105651).
    encoded.reserve(value.size() + 2);
    encoded.push_back('"');
    encoded.append(value);
    encoded.push_back('"');
    return encoded;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

}  // namespace

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return CutToChars(defaultValue, maxChars);
    const std::vector<Line> lines = SplitLines(*text);
    const Location where = Find(lines, Trim(section, kWhiteSpace), Trim(key, kWhiteSpace));
    if (!where.key) return CutToChars(defaultValue, maxChars);
    return CutToChars(Unquote(lines[*where.key].value), maxChars);
}

namespace {

/// Whether the file could hold the key and value read back as written: a line break, a "]"
/// in the section or a key that looks like a section, a comment or holds "=" could not.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
    if (HasLineBreak(section) || section.find(']') != section.npos) return false;
    if (HasLineBreak(key) || key.find('=') != key.npos) return false;
    if (!key.empty() && (key.front() == ';' || key.front() == '[')) return false;
    return !HasLineBreak(value);
}

/// The text with the value of the key's line replaced: the line up to the '=' and the blanks
/// after it stay.
std::string ReplaceValue(const std::string& text, const Line& line, std::string_view encoded) {
    std::size_t valueStart = line.equals + 1;
    while (valueStart < line.contentEnd && (text[valueStart] == ' ' || text[valueStart] == '\t'))
        ++valueStart;
    std::string result = text.substr(0, valueStart);
    result.append(encoded);
    result.append(text, line.contentEnd);
    return result;
}

/// The text with "key=value" added after the section's last line that is neither blank nor
/// a comment.
std::string AddToSection(const std::string& text, const std::vector<Line>& lines,
                         const Location& where, std::string_view entry, std::string_view newline) {
    std::size_t last = *where.section;
    for (std::size_t i = last + 1; i < where.sectionEnd; ++i) {
        if (lines[i].kind != LineKind::Blank && lines[i].kind != LineKind::Comment) last = i;
    }
    const Line& line = lines[last];
    std::string result = text.substr(0, line.end);
    if (line.end == line.contentEnd) result.append(newline);  // last line had no line end
    result.append(entry).append(newline);
    result.append(text, line.end);
    return result;
}

/// The text with a new section holding "key=value" at its end.
std::string AddSection(const std::string& text, const std::vector<Line>& lines,
                       std::string_view section, std::string_view entry, std::string_view newline) {
    std::string result = text;
    if (!result.empty() && result.back() != '\n') result.append(newline);
    // A blank line before the new section, unless the file is empty or ends with one.
    if (!lines.empty() && lines.back().kind != LineKind::Blank) result.append(newline);
    result.append("[").append(section).append("]").append(newline);
    result.append(entry).append(newline);
    return result;
}

}  // namespace

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    section = Trim(section, kWhiteSpace);
    key = Trim(key, kWhiteSpace);
    if (!Writable(section, key, value)) return false;

    // One writer at a time in this process, so that concurrent writes do not lose each other.
    static std::mutex writeMutex;
    const std::lock_guard<std::mutex> lock(writeMutex);

    int error = 0;
    std::optional<std::string> old = ReadWholeFile(path, &error);
    if (!old) {
        if (error != ENOENT) return false;  // never overwrite a file that could not be read
        old.emplace();
    }
    const std::string& text = *old;
    const std::vector<Line> lines = SplitLines(text);
    const Location where = Find(lines, section, key);

    // New lines end the way the file's lines do.
    const std::size_t firstNewline = text.find('\n');
    const std::string_view newline =
        (firstNewline != text.npos && firstNewline > 0 && text[firstNewline - 1] == '\r') ? "\r\n"
                                                                                          : "\n";
    const std::string encoded = EncodeValue(value);
    if (where.key)
        return ReplaceFileAtomically(path, ReplaceValue(text, lines[*where.key], encoded));
    const std::string entry = std::string(key) + "=" + encoded;
    return ReplaceFileAtomically(path, where.section
                                           ? AddToSection(text, lines, where, entry, newline)
                                           : AddSection(text, lines, section, entry, newline));
}

}  // namespace platform
