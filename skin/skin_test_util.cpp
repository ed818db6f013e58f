#include "skin/skin_test_util.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/text.h"

namespace skintest {

namespace fs = std::filesystem;

namespace {

/// What the skin files may have around keys, values and lines (CR of CR LF line ends too).
constexpr std::string_view kBlanks = " \t\r";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The code points of a UTF-8 text; a malformed byte counts as one U+FFFD.
std::vector<char32_t> Decode(std::string_view utf8) {
    std::vector<char32_t> codes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC0) {
            codes.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        codes.push_back(code);
        i += length;
    }
    return codes;
}

bool IsWide(char32_t code) {
    return (code >= 0x2E80 && code <= 0x9FFF) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFF00 && code <= 0xFF60) || (code >= 0x2700 && code <= 0x27BF);
}

bool IsCjk(char32_t code) {
    return (code >= 0x3000 && code <= 0x303F) || (code >= 0x4E00 && code <= 0x9FFF) ||
           (code >= 0xFF00 && code <= 0xFF60);
}

void AddKey(Profile& profile, const std::string& section, std::string_view line) {
    const auto equals = line.find('=');
    std::string_view key = platform::Trim(line.substr(0, equals), kBlanks);
    std::string_view value = platform::Trim(line.substr(equals + 1), kBlanks);
    if (key.empty()) {
        profile.problems.push_back("[" + section + "] key without a name: " + std::string(line));
        return;
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    auto& keys = profile.sections[section];
    for (const auto& [known, unused] : keys) {
        if (Lower(known) == Lower(key)) {
            profile.problems.push_back("[" + section + "] " + std::string(key) + " given twice");
            return;
        }
    }
    keys.emplace(std::string(key), std::string(value));
}

}  // namespace

fs::path SkinDir(const SkinFolder& skin) {
    return fs::path(DTU_SKIN_DIR) / skin.name;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::set<std::string> FileNames(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        if (entry.is_regular_file()) names.insert(entry.path().filename().string());
    }
    return names;
}

std::set<std::string> LayoutNames(const fs::path& dir) {
    std::set<std::string> names;
    for (const std::string& name : FileNames(dir)) {
        if (fs::path(name).extension() == ".xml") names.insert(name);
    }
    return names;
}

std::string LoadLayout(const fs::path& path, pugi::xml_document& doc) {
    const pugi::xml_parse_result parsed =
        doc.load_file(path.c_str(), pugi::parse_default, pugi::encoding_utf8);
    if (parsed) return {};
    return path.string() + ": byte " + std::to_string(parsed.offset) + ": " + parsed.description();
}

std::vector<std::string> ControlNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (const pugi::xpath_node& hit : node.select_nodes("descendant-or-self::*[@name]")) {
        const std::string name = hit.node().attribute("name").value();
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

pugi::xml_node FindNamed(const pugi::xml_node& root, std::string_view name) {
    return root.find_node([name](const pugi::xml_node& n) {
        return n.type() == pugi::node_element && name == n.attribute("name").value();
    });
}

std::vector<pugi::xml_node> ChildElements(const pugi::xml_node& node) {
    std::vector<pugi::xml_node> children;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element) children.push_back(child);
    }
    return children;
}

std::vector<std::string> ComboItems(const pugi::xml_node& combo) {
    std::vector<std::string> items;
    for (const pugi::xml_node& item : ChildElements(combo)) {
        items.push_back(item.attribute("text").value());
    }
    return items;
}

bool HasCjk(std::string_view utf8) {
    const std::vector<char32_t> codes = Decode(utf8);
    return std::any_of(codes.begin(), codes.end(), IsCjk);
}

int EstimatedWidth(std::string_view utf8) {
    int width = 8;
    for (const char32_t code : Decode(utf8)) width += IsWide(code) ? 13 : 7;
    return width;
}

std::size_t CharCount(std::string_view utf8) {
    return Decode(utf8).size();
}

Profile ParseProfile(std::string_view text) {
    Profile profile;
    std::string section;
    std::istringstream in{std::string(text)};
    for (std::string raw; std::getline(in, raw);) {
        const std::string_view line = platform::Trim(raw, kBlanks);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = std::string(platform::Trim(line.substr(1, line.size() - 2), kBlanks));
            const bool known = std::any_of(
                profile.sections.begin(), profile.sections.end(),
                [&](const auto& entry) { return Lower(entry.first) == Lower(section); });
            if (known) profile.problems.push_back("section [" + section + "] given twice");
            profile.sections[section];
        } else if (line.find('=') == std::string_view::npos || section.empty()) {
            profile.problems.push_back("stray line: " + std::string(line));
        } else {
            AddKey(profile, section, line);
        }
    }
    return profile;
}

}  // namespace skintest
