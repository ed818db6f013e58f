#include "model/config_file.h"

#include <cstdio>

#include "platform/atomic_file.h"

namespace model {

std::string ToFileText(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    return bytes;
}

std::string FromFileText(std::string_view bytes, size_t limit) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && text.size() < limit; ++i) {
        const char c = bytes[i];
        if (c == 26) break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // the LF follows
        text.push_back(c);
    }
    return text;
}

bool WriteConfigFile(const std::string& path, std::string_view text) {
    return platform::ReplaceFileAtomically(path, ToFileText(text));
}

std::optional<std::string> ReadConfigFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    // Up to twice the limit of raw bytes: line-end pairs shrink when read.
    std::string bytes(2 * kConfigReadLimit + 2, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return FromFileText(bytes);
}

}  // namespace model
