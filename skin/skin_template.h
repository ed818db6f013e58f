// Layout templates and text tables of the skins.
//
// A layout template is a layout file whose attribute values may hold placeholders
// "{{key}}" (key characters A-Z a-z 0-9 . _ -). A text table is UTF-8 text of "key=text"
// lines; blank lines and lines starting with '#' are skipped. Expanding a template puts each
// key's text in place of its placeholder; one table per language gives one skin per language.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_node;
}

namespace skin {

using TextTable = std::map<std::string, std::string, std::less<>>;

/// True when `key` is a non-empty run of A-Z a-z 0-9 . _ -.
bool IsValidKey(std::string_view key);

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF).
bool IsValidUtf8(std::string_view text);

/// Reads a text table. A UTF-8 byte order mark and CR before LF are ignored; blanks around
/// keys and texts are dropped. On a line without '=', a bad key, a key given twice or text
/// that is not UTF-8: nullopt, and `error` says which line and why.
std::optional<TextTable> ParseTextTable(std::string_view content, std::string* error);

/// `value` with every "{{key}}" replaced by the key's text. On a key missing from `table`
/// or a "{{" that does not open a well-formed placeholder: nullopt, and `error` says why.
std::optional<std::string> ExpandPlaceholders(std::string_view value, const TextTable& table,
                                              std::string* error);

/// Expands the placeholders of every attribute of `root` and the elements below it, in
/// place. Returns one message per attribute that failed (naming the element, its name
/// attribute and the problem); empty on success.
std::vector<std::string> ExpandAttributes(pugi::xml_node root, const TextTable& table);

}  // namespace skin
