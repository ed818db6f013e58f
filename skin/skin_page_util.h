// Helpers of the form page tests: the page files of the generated skins, the parameter
// catalogue, Language.ini values and image checks.
#pragma once

#include <pugixml.hpp>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"
#include "skin/skin_test_util.h"

namespace skintest {

/// The layout file of each form page, by the catalogue's page index 0-9.
inline constexpr std::array<const char*, 10> kFormPageFiles = {
    "WorkTab.xml",  "Service Centre.xml",      "Serial port.xml", "IOChannels.xml",
    "Wireless.xml", "Global Parameter.xml",    "Lora.xml",        "Zigbee.xml",
    "GPS.xml",      "Equipment Management.xml"};
/// The device check, shown below device management on the operation page.
inline constexpr const char* kExamineFile = "ComputerExamine.xml";

/// The ten form page files and the device check.
std::vector<std::string> PageFiles();

/// A layout file of a generated skin, loaded once; an empty document (and a test failure)
/// when it is missing or does not parse.
const pugi::xml_document& SkinLayout(const SkinFolder& skin, const std::string& file);

/// The catalogue of the unit's parameters, built once.
const model::ParamCatalogue& Catalogue();

/// The form element of a catalogue kind: "Edit" for Edit, "Combo" for Combobox, "" otherwise.
std::string ElementOfKind(std::string_view kind);

/// Every element named `element` at or below `root`, in document order.
std::vector<pugi::xml_node> ElementsOf(const pugi::xml_node& root, std::string_view element);

/// The value of `key` in `section` of a skin's Language.ini; empty when missing.
std::string LanguageValue(const SkinFolder& skin, const char* section, const char* key);

/// The pieces of `list` between the `separator`s.
std::vector<std::string> SplitList(std::string_view list, char separator);

/// Why `bytes` is not a well-formed PNG (signature, chunk lengths and CRCs, IHDR first with
/// a non-zero size, an IDAT, IEND last); empty when it is. Sets the size from IHDR.
std::string PngProblem(std::string_view bytes, unsigned* width, unsigned* height);

}  // namespace skintest
