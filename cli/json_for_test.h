// Test support: a strict JSON reader (RFC 8259), so the tests check that dtucfg's output is
// JSON without trusting dtucfg's own writer.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli::testing {

struct JsonValue {
    enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
    Type type = Type::kNull;
    bool boolean = false;
    double number = 0;
    std::string text;  ///< a string's value, escapes resolved, UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    /// The member `key` of an object, or null.
    const JsonValue* Get(std::string_view key) const;
};

/// The value of `text`, which must be exactly one JSON value with blanks around it; nothing
/// when it is not valid JSON (including invalid UTF-8 and raw control characters in strings).
std::optional<JsonValue> ParseJson(std::string_view text);

}  // namespace cli::testing
