// Helpers of the skin tests: reading the generated skin folders.
#pragma once

#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace skintest {

/// The generated skin folders, English first.
struct SkinFolder {
    const char* name;
    bool chinese;
};
inline constexpr SkinFolder kSkins[] = {{"ConifgENRes", false}, {"ConifgRes", true}};

std::filesystem::path SkinDir(const SkinFolder& skin);

/// The whole content of a file; empty when it cannot be read.
std::string ReadText(const std::filesystem::path& path);

/// The names of the regular files in `dir`.
std::set<std::string> FileNames(const std::filesystem::path& dir);
/// The names of the *.xml files in `dir`.
std::set<std::string> LayoutNames(const std::filesystem::path& dir);

/// Loads a layout file; an empty string on success, else why it failed.
std::string LoadLayout(const std::filesystem::path& path, pugi::xml_document& doc);

/// Every non-empty name attribute at or below `node`, in document order.
std::vector<std::string> ControlNames(const pugi::xml_node& node);

/// The element whose name attribute is `name`, or an empty node.
pugi::xml_node FindNamed(const pugi::xml_node& root, std::string_view name);

/// The child elements of `node`, in order.
std::vector<pugi::xml_node> ChildElements(const pugi::xml_node& node);

/// The text attributes of a combo's items.
std::vector<std::string> ComboItems(const pugi::xml_node& combo);

/// True when the text holds a Chinese (CJK) character or CJK punctuation.
bool HasCjk(std::string_view utf8);

/// A rough pixel width of `utf8` on a button or label: 7 per narrow character, 13 per wide
/// (CJK) one, 8 for the control's padding.
int EstimatedWidth(std::string_view utf8);

/// The number of Unicode characters of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

/// A profile (INI) file as the program reads it: bracketed sections of key=value lines, ';'
/// comments, blanks around names and values dropped, matching double quotes removed.
struct Profile {
    std::map<std::string, std::map<std::string, std::string>> sections;
    /// Lines that are neither a section, a key nor a comment; keys and sections given twice.
    std::vector<std::string> problems;
};
Profile ParseProfile(std::string_view text);

}  // namespace skintest
