// Fuzz target: profile (INI) files, with random contents, names, values and read sizes. A
// read gives at most what was asked, the default exactly when the key is missing, and ignores
// letter case and blanks around the names; a write the format can hold reads back and leaves
// every other key as it was, one it cannot hold is refused and leaves the file alone.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "fuzz/fuzz_util.h"
#include "platform/profile.h"

namespace {

using fuzz::Check;

// In a folder that goes at a normal end and stays with the failing file otherwise.
const std::string& FilePath() {
    static std::string folder =
        (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm")
                                       : std::filesystem::temp_directory_path().string()) +
        "/fuzz_profile-XXXXXX";
    static const std::string path = [] {
        Check(mkdtemp(folder.data()) != nullptr, "no temporary folder");
        std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(folder, e);
        });
        return folder + "/profile.ini";
    }();
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Trim(std::string_view s) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(kBlanks);
    if (first == s.npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(kBlanks) - first + 1));
}
std::string Folded(std::string_view s) {  // trimmed, ASCII letters in small case
    std::string out = Trim(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
std::string OtherCase(std::string s) {
    for (char& c : s) c ^= std::isalpha(static_cast<unsigned char>(c)) ? 0x20 : 0;
    return s;
}

constexpr std::size_t kAll = 1 << 20;  // more characters than any file holds
const std::string kMissing = "\x7f(missing)";
std::string Read(const std::string& section, const std::string& key, std::size_t max = kAll) {
    return platform::GetProfileString(FilePath(), section, key, kMissing, max);
}

/// What the names the file seems to hold read now (each key with the section above it and
/// with the section given), and the name given.
std::map<std::pair<std::string, std::string>, std::string> Before(std::string_view text,
                                                                  const std::string& s,
                                                                  const std::string& k) {
    std::map<std::pair<std::string, std::string>, std::string> names{{{s, k}, Read(s, k)}};
    std::string section;
    for (std::size_t pos = 0; pos < text.size() && names.size() < 48;) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            names.try_emplace({section, k}, Read(section, k));
        } else if (line.find('=') != line.npos) {
            const std::string name = line.substr(0, line.find('='));
            names.try_emplace({section, name}, Read(section, name));
            names.try_emplace({s, name}, Read(s, name));
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t max = in.ConsumeIntegralInRange<std::size_t>(0, 80);
    const bool noFile = in.ConsumeProbability<float>() < 0.1f;
    const std::string text = in.ConsumeRandomLengthString(4096);
    const std::string section = in.ConsumeRandomLengthString(64);
    const std::string key = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRandomLengthString(256);
    const std::string& path = FilePath();
    if (noFile) {
        unlink(path.c_str());
    } else {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    // Reading: the default exactly when missing, at most `max` characters of the whole value.
    const std::string whole = Read(section, key);
    const std::string other = platform::GetProfileString(path, section, key, "other", kAll);
    Check(whole == other || (whole == kMissing && other == "other"),
          "a read gave neither the value nor the default");
    const std::string cut = Read(section, key, max);
    Check(cut == whole.substr(0, cut.size()), "a cut value is not the start of the value");
    std::size_t starts = 0;  // bytes that are not UTF-8 continuation bytes
    for (char c : cut) starts += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    Check(starts <= max && cut.size() <= 4 * max, "a read gave more characters than asked");
    if (whole.size() <= max) Check(cut == whole, "a short value was cut");
    Check(Read(" " + OtherCase(section) + "\t", OtherCase(key) + " ") == whole,
          "letter case or blanks around the names changed what was read");

    // Writing.
    const auto before = Before(text, section, key);
    const std::string fileBefore = noFile ? std::string() : ReadFile(path);
    const std::string s = Trim(section), k = Trim(key);
    const bool holdable =
        s.find_first_of("\r\n]") == s.npos && k.find_first_of("\r\n=") == k.npos &&
        (k.empty() || (k[0] != ';' && k[0] != '[')) && value.find_first_of("\r\n") == value.npos;
    const bool written = platform::WriteProfileString(path, section, key, value);
    Check(written == holdable,
          holdable ? "a write the format holds failed" : "a bad write was taken");
    if (!written) {
        Check(noFile ? access(path.c_str(), F_OK) != 0 : ReadFile(path) == fileBefore,
              "a refused write changed the file");
        return 0;
    }
    Check(Read(section, key) == value, "a written value did not read back");
    for (const auto& [name, old] : before) {
        const bool same = Folded(name.first) == Folded(s) && Folded(name.second) == Folded(k);
        Check(Read(name.first, name.second) == (same ? value : old),
              same ? "a written value did not read back under another spelling"
                   : "a write changed another section or key");
    }
    return 0;
}
