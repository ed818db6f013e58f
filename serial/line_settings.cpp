#include "serial/line_settings.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace devlink {

namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool ApplyWord(std::string_view key, std::string_view value, LineSettings& s, int& seen) {
    if (key == "baud") {
        auto n = Number(value);
        if (!n || *n <= 0) return false;
        s.baud = *n;
        seen |= 1;
    } else if (key == "parity") {
        if (value.size() != 1) return false;
        const char p = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
        if (std::string_view("NEOMS").find(p) == std::string_view::npos) return false;
        s.parity = p;
        seen |= 2;
    } else if (key == "data") {
        auto n = Number(value);
        if (!n || *n < 5 || *n > 8) return false;
        s.dataBits = *n;
        seen |= 4;
    } else if (key == "stop") {
        auto n = Number(value);
        if (!n || (*n != 1 && *n != 2)) return false;
        s.stopBits = *n;
        seen |= 8;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string FormatSettings(int baud, char parity, int dataBits, int stopBits) {
    char text[96];
    std::snprintf(text, sizeof text, "baud=%d parity=%c data=%d stop=%d", baud, parity, dataBits,
                  stopBits);
    return text;
}

std::optional<LineSettings> ParseSettings(std::string_view text) {
    LineSettings settings;
    int seen = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos == text.size()) break;
        size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(pos, end - pos);
        const size_t eq = word.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        if (!ApplyWord(word.substr(0, eq), word.substr(eq + 1), settings, seen)) {
            return std::nullopt;
        }
        pos = end;
    }
    if (seen != 15) return std::nullopt;
    return settings;
}

}  // namespace devlink
