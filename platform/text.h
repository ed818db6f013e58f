// Small text helpers shared by every layer. Header only, so the simulated unit and the skin
// generator use them without linking this library.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// The white space of the C locale: blank, tab, CR, LF, vertical tab and form feed.
inline constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

/// `text` without the bytes of `set` at its start and its end. Callers name what they strip:
/// the unit pads its report values with blanks only, profile files ignore all white space.
constexpr std::string_view Trim(std::string_view text, std::string_view set) {
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::string_view::npos) return text.substr(text.size());
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}

/// `text` with its first `token` (such as "{port}") replaced by `by`; unchanged without one.
inline std::string ReplaceToken(std::string text, std::string_view token, std::string_view by) {
    if (const std::size_t at = text.find(token); at != std::string::npos) {
        text.replace(at, token.size(), by);
    }
    return text;
}

}  // namespace platform
