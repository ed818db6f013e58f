#include "skin/skin_template.h"

#include <pugixml.hpp>

#include "platform/text.h"

namespace skin {

namespace {

constexpr std::string_view kOpen = "{{";
constexpr std::string_view kClose = "}}";

/// What the text tables ignore around keys, texts and lines.
constexpr std::string_view kBlanks = " \t";

bool IsKeyChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// Length of the UTF-8 sequence that starts with `lead`, or 0 when `lead` cannot start one.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// One line of a table: adds its key and text, or sets `why` and returns false.
bool AddLine(std::string_view line, TextTable& table, std::string* why) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        *why = "no '=' between key and text";
        return false;
    }
    const std::string_view key = platform::Trim(line.substr(0, equals), kBlanks);
    if (!IsValidKey(key)) {
        *why = "bad key '" + std::string(key) + "' (use A-Z a-z 0-9 . _ -)";
        return false;
    }
    const std::string_view text = platform::Trim(line.substr(equals + 1), kBlanks);
    if (!IsValidUtf8(text)) {
        *why = "the text of '" + std::string(key) + "' is not UTF-8";
        return false;
    }
    if (!table.emplace(std::string(key), std::string(text)).second) {
        *why = "key '" + std::string(key) + "' is given twice";
        return false;
    }
    return true;
}

std::string Describe(const pugi::xml_node& element, const pugi::xml_attribute& attr) {
    std::string where = "<" + std::string(element.name());
    if (const pugi::xml_attribute name = element.attribute("name")) {
        where += " name=\"" + std::string(name.value()) + "\"";
    }
    return where + "> attribute " + attr.name();
}

void ExpandElement(pugi::xml_node element, const TextTable& table,
                   std::vector<std::string>& errors) {
    for (pugi::xml_attribute attr : element.attributes()) {
        std::string why;
        if (auto expanded = ExpandPlaceholders(attr.value(), table, &why)) {
            attr.set_value(expanded->c_str());
        } else {
            errors.push_back(Describe(element, attr) + ": " + why);
        }
    }
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_element) ExpandElement(child, table, errors);
    }
}

}  // namespace

bool IsValidKey(std::string_view key) {
    if (key.empty()) return false;
    for (const char c : key) {
        if (!IsKeyChar(c)) return false;
    }
    return true;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = SequenceLength(lead);
        if (length == 0 || i + length > text.size()) return false;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

std::optional<TextTable> ParseTextTable(std::string_view content, std::string* error) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (content.starts_with(kBom)) content.remove_prefix(kBom.size());
    TextTable table;
    int lineNumber = 0;
    while (!content.empty()) {
        ++lineNumber;
        const auto end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view{} : content.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string_view trimmed = platform::Trim(line, kBlanks);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        std::string why;
        if (!AddLine(trimmed, table, &why)) {
            *error = "line " + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        }
    }
    return table;
}

std::optional<std::string> ExpandPlaceholders(std::string_view value, const TextTable& table,
                                              std::string* error) {
    std::string result;
    std::size_t done = 0;
    for (auto open = value.find(kOpen); open != std::string_view::npos;
         open = value.find(kOpen, done)) {
        const auto close = value.find(kClose, open + kOpen.size());
        const std::string_view key =
            close == std::string_view::npos
                ? std::string_view{}
                : value.substr(open + kOpen.size(), close - open - kOpen.size());
        if (!IsValidKey(key)) {
            *error = "malformed placeholder in \"" + std::string(value) + "\"";
            return std::nullopt;
        }
        const auto text = table.find(key);
        if (text == table.end()) {
            *error = "no text for key '" + std::string(key) + "'";
            return std::nullopt;
        }
        result.append(value.substr(done, open - done));
        result.append(text->second);
        done = close + kClose.size();
    }
    result.append(value.substr(done));
    return result;
}

std::vector<std::string> ExpandAttributes(pugi::xml_node root, const TextTable& table) {
    std::vector<std::string> errors;
    if (root.type() == pugi::node_document) {
        for (pugi::xml_node child : root.children()) {
            if (child.type() == pugi::node_element) ExpandElement(child, table, errors);
        }
    } else if (root.type() == pugi::node_element) {
        ExpandElement(root, table, errors);
    }
    return errors;
}

}  // namespace skin
