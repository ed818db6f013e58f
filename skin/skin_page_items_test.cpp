// The lists and buttons of the form pages: combo items (the literal ones the program compares
// or sends, the ones taken from Language.ini), the toggle buttons and their images, the
// labels the program rewords and the device check buttons.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "skin/skin_page_util.h"

namespace {

namespace fs = std::filesystem;
using skintest::ChildElements;
using skintest::ComboItems;
using skintest::FindNamed;
using skintest::kSkins;
using skintest::SkinFolder;
using skintest::SkinLayout;

using Items = std::vector<std::string>;

// Every combo of the pages by name, with its file; fails on a name given twice.
std::map<std::string, pugi::xml_node> PageCombos(const SkinFolder& folder) {
    std::map<std::string, pugi::xml_node> combos;
    for (const std::string& file : skintest::PageFiles()) {
        for (const pugi::xml_node& combo :
             skintest::ElementsOf(SkinLayout(folder, file), "Combo")) {
            const bool fresh = combos.emplace(combo.attribute("name").value(), combo).second;
            EXPECT_TRUE(fresh) << folder.name << ": " << combo.attribute("name").value();
        }
    }
    return combos;
}

// Lists whose items the program compares or sends: the same texts in both skins.
std::map<std::string, Items> LiteralLists() {
    const Items bauds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    const Items formats = {"8N1", "8E1", "8O1", "8N2", "7E1", "7O1"};
    const Items udpTcp = {"UDP", "TCP"};
    Items channels;
    for (int c = 11; c <= 26; ++c) channels.push_back(std::to_string(c));
    std::map<std::string, Items> lists = {
        {"Protocolmodel", {"TRNS", "MODBUS"}},
        {"Transferprotocol", udpTcp},
        {"I/O selection", {"DIO1", "DIO2", "DIO3", "DIO4", "DIO5"}},
        {"ThePPPauthentication", {"0", "1", "2", "3", "4", "5"}},
        {"Serial Baudrate", bauds},
        {"Serial 2 Baudrate", bauds},
        {"Serial port commu mode", formats},
        {"Serial 2 port commu mode", formats},
        {"The PPP authentication", {"PAP", "CHAP", "NONE"}},
        {"NBNetBANDCombo", {"AUTO"}},
        {"LORA Rate", {"1", "2", "3", "4", "5", "6"}},
        {"LORA Mode", {"TRANS", "FIXED", "RELAY"}},
        {"ZigBee_RFchannel", channels},
        {"Dtumanagetransferprotocol", udpTcp},
    };
    for (int n = 1; n <= 5; ++n) {
        lists["DIO" + std::to_string(n) + " interface"] = {"SERIAL1", "SERIAL2", "NET", "SMS"};
    }
    return lists;
}

// Lists of words, worded in each skin's language: the number of items.
std::map<std::string, std::size_t> WordedLists() {
    std::map<std::string, std::size_t> lists = {
        {"DeviceModel", 2},
        {"RegistrationAndHeart", 2},
        {"1RegisterIsHex", 2},
        {"PrefixCombo", 4},
        {"ActivationInterface", 3},
        {"DataFormat", 2},
        {"IO activation methods", 2},
        {"I/O1 control", 7},
        {"I/O2 control", 7},
        {"I/O3 control", 7},
        {"I/O1 Mode", 3},
        {"I/O2 Mode", 3},
        {"Debug Level", 3},
        {"Debugging  port", 3},
        {"Should Return To Main Server", 2},
        {"A serial port binding center", 7},
        {"A serial 2 port binding center", 7},
        {"RS485 port binding center", 7},
        {"net mode", 4},
        {"LCP ECHO", 2},
        {"EXFUN", 2},
        {"After a failed action", 2},
        {"NBNetModeCombo", 3},
        {"ZigBee_WorkMode", 2},
        {"ZigBee_Type", 3},
        {"GPS work mode", 3},
        {"GPS transmit channel", 3},
        {"dtu is connect to dtu manage platform", 2},
        {"DTU SMS configure fun", 2},
        {"DTU sms exception reporting", 2},
    };
    for (const char* sentence : {"GPRMC", "GPVTG", "GPGGA", "GPGSA", "GPGSV", "GPGNS"}) {
        lists[std::string("GPS ") + sentence] = 2;
    }
    for (int n = 1; n <= 5; ++n) {
        const std::string d = "DIO" + std::to_string(n);
        lists[d + " protocol"] = 2;
        lists["The " + d + " data format"] = 2;
        lists[d + " and mapping center"] = 6;
    }
    return lists;
}

// The lists whose items come from Language.ini or are fixed per language.
std::map<std::string, Items> LanguageLists(const SkinFolder& folder) {
    Items modes;
    for (int i = 1; i <= 7; ++i) {
        const std::string key = "Text" + std::to_string(i);
        modes.push_back(skintest::LanguageValue(folder, "DIO workmode", key.c_str()));
    }
    const Items reported = skintest::SplitList(
        skintest::LanguageValue(folder, "ComboElement_IO", "DIO reported methods Common"), ';');
    std::map<std::string, Items> lists = {
        {"ActivateMethod", folder.chinese ? Items{"自动", "串口激活", "I/O激活", "定时激活"}
                                          : Items{"AUTO", "DATA", "DIO", "ALARM"}}};
    for (int n = 1; n <= 5; ++n) {
        lists["DIO" + std::to_string(n) + " workmode"] = modes;
        lists["DIO" + std::to_string(n) + " reported methods"] = reported;
    }
    return lists;
}

TEST(SkinPageItems, LiteralListsAreTheSameInBothSkins) {
    for (const SkinFolder& folder : kSkins) {
        const auto combos = PageCombos(folder);
        for (const auto& [name, items] : LiteralLists()) {
            ASSERT_TRUE(combos.contains(name)) << folder.name << ": " << name;
            EXPECT_EQ(ComboItems(combos.at(name)), items) << folder.name << ": " << name;
        }
    }
}

TEST(SkinPageItems, WordedListsHaveTheirItems) {
    const auto english = PageCombos(kSkins[0]);
    const auto chinese = PageCombos(kSkins[1]);
    for (const auto& [name, count] : WordedLists()) {
        ASSERT_TRUE(english.contains(name) && chinese.contains(name)) << name;
        const Items en = ComboItems(english.at(name));
        const Items zh = ComboItems(chinese.at(name));
        EXPECT_EQ(en.size(), count) << name;
        EXPECT_EQ(zh.size(), count) << name;
        EXPECT_EQ(std::set<std::string>(en.begin(), en.end()).size(), en.size()) << name;
        EXPECT_EQ(std::set<std::string>(zh.begin(), zh.end()).size(), zh.size()) << name;
        EXPECT_NE(en, zh) << name << " is not translated";
    }
}

TEST(SkinPageItems, WorkModeAndReportItemsAreTheLanguageTexts) {
    for (const SkinFolder& folder : kSkins) {
        const auto combos = PageCombos(folder);
        for (const auto& [name, items] : LanguageLists(folder)) {
            for (const std::string& item : items) ASSERT_NE(item, "") << folder.name << name;
            ASSERT_TRUE(combos.contains(name)) << folder.name << ": " << name;
            EXPECT_EQ(ComboItems(combos.at(name)), items) << folder.name << ": " << name;
        }
        EXPECT_EQ(ComboItems(combos.at("DIO1 reported methods")).size(), 3u);
        EXPECT_EQ(ComboItems(combos.at("DIO3 workmode")).size(), 7u);
    }
}

// Every combo of the pages is one of the lists above, has items and starts on none.
TEST(SkinPageItems, EveryComboIsListed) {
    for (const SkinFolder& folder : kSkins) {
        std::set<std::string> listed;
        for (const auto& [name, items] : LiteralLists()) listed.insert(name);
        for (const auto& [name, count] : WordedLists()) listed.insert(name);
        for (const auto& [name, items] : LanguageLists(folder)) listed.insert(name);
        const auto combos = PageCombos(folder);
        std::set<std::string> found;
        for (const auto& [name, combo] : combos) {
            found.insert(name);
            EXPECT_FALSE(combo.attribute("selected")) << folder.name << ": " << name;
            EXPECT_FALSE(ChildElements(combo).empty()) << folder.name << ": " << name;
            for (const pugi::xml_node& item : ChildElements(combo)) {
                EXPECT_STREQ(item.name(), "ListLabelElement") << name;
                EXPECT_STRNE(item.attribute("text").value(), "") << name;
            }
        }
        EXPECT_EQ(found, listed) << folder.name;
    }
}

// The toggle buttons start off and switch between the two images.
TEST(SkinPageItems, ToggleButtonsStartDisabled) {
    const std::map<std::string, std::vector<std::string>> toggles = {
        {"Serial port.xml", {"COM2Zigbee", "Zigbee2COM", "COM2GPS", "GPS2COM"}},
        {"Lora.xml", {"COM2Lora", "Lora2COM", "Lora2GPRS", "GPRS2Lora"}},
        {"Zigbee.xml", {"Zigbee2GPRS", "GPRS2Zigbee"}},
        {"GPS.xml", {"GPS2GPRS"}},
    };
    for (const SkinFolder& folder : kSkins) {
        std::set<std::string> expected, found;
        for (const auto& [file, names] : toggles) {
            for (const std::string& name : names) {
                expected.insert(file + ": " + name);
                const pugi::xml_node button = FindNamed(SkinLayout(folder, file), name);
                ASSERT_TRUE(button) << folder.name << "/" << file << ": no " << name;
                EXPECT_STREQ(button.name(), "Button") << name;
                EXPECT_STREQ(button.attribute("width").value(), "120") << name;
                EXPECT_STREQ(button.attribute("height").value(), "25") << name;
                EXPECT_STREQ(button.attribute("bkimage").value(), "switch_disable.png") << name;
                EXPECT_NE(std::string(button.attribute("bkimage").value()).find("disable"),
                          std::string::npos)
                    << name;
                EXPECT_STRNE(button.attribute("text").value(), "") << name;
            }
        }
        for (const std::string& file : skintest::PageFiles()) {
            for (const pugi::xpath_node& hit :
                 SkinLayout(folder, file).select_nodes("//*[@bkimage]")) {
                found.insert(file + ": " + hit.node().attribute("name").value());
            }
        }
        EXPECT_EQ(found, expected) << folder.name << ": the buttons with an image";
    }
}

TEST(SkinPageItems, SwitchImagesAreCopiedAndValid) {
    const fs::path source = fs::path(DTU_SKIN_SOURCE_DIR) / "images";
    for (const char* image : {"switch_enable.png", "switch_disable.png"}) {
        const std::string bytes = skintest::ReadText(source / image);
        unsigned width = 0, height = 0;
        EXPECT_EQ(skintest::PngProblem(bytes, &width, &height), "") << image;
        EXPECT_EQ(width, 120u) << image;
        EXPECT_EQ(height, 25u) << image;
        for (const SkinFolder& folder : kSkins) {
            EXPECT_EQ(skintest::ReadText(skintest::SkinDir(folder) / image), bytes)
                << folder.name << "/" << image;
        }
    }
    EXPECT_NE(skintest::ReadText(source / "switch_enable.png"),
              skintest::ReadText(source / "switch_disable.png"));
}

TEST(SkinPageItems, PngCheckFindsDamage) {
    const std::string good =
        skintest::ReadText(fs::path(DTU_SKIN_SOURCE_DIR) / "images" / "switch_enable.png");
    ASSERT_GT(good.size(), 60u);
    struct Case {
        const char* what;
        std::string bytes;
        const char* problem;
    };
    std::string badCrc = good;
    badCrc[20] = static_cast<char>(badCrc[20] ^ 1);  // a byte of the IHDR data
    std::string badSignature = good;
    badSignature[1] = 'p';
    const Case cases[] = {
        {"empty", "", "no PNG signature"},
        {"signature", badSignature, "no PNG signature"},
        {"crc", badCrc, "bad CRC in chunk IHDR"},
        {"cut", good.substr(0, good.size() - 12), "no IEND chunk"},
        {"cut in a chunk", good.substr(0, 50), "runs past the end"},
        {"trailing", good + "x", "bytes after IEND"},
    };
    for (const Case& c : cases) {
        unsigned width = 0, height = 0;
        const std::string problem = skintest::PngProblem(c.bytes, &width, &height);
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
    }
}

// The program rewords these labels with the number of servers; every wording fits.
TEST(SkinPageItems, ServerLabelsFitTheirWordings) {
    struct Case {
        const char* control;
        const char* keys[2];
    };
    const Case cases[] = {{"ServerTitle", {"ServerTitle1", "ServerTitle2"}},
                          {"Server's Label", {"Server's Label1", "Server's Label2"}}};
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_document& page = SkinLayout(folder, "Service Centre.xml");
        for (const Case& c : cases) {
            const pugi::xml_node label = FindNamed(page, c.control);
            ASSERT_TRUE(label) << c.control;
            EXPECT_STREQ(label.name(), "Label") << c.control;
            const int width = label.attribute("width").as_int();
            for (const char* key : c.keys) {
                const std::string text = skintest::LanguageValue(folder, "ModeTabItemChange", key);
                ASSERT_NE(text, "") << key;
                EXPECT_LE(skintest::EstimatedWidth(text), width) << folder.name << ": " << text;
            }
            // Until the program rewords it, it reads as for one main and one backup server.
            EXPECT_EQ(label.attribute("text").value(),
                      skintest::LanguageValue(folder, "ModeTabItemChange", c.keys[0]))
                << folder.name << " " << c.control;
        }
    }
}

TEST(SkinPageItems, DeviceCheckButtonsSendTheirText) {
    const Items commands = {"AT+CSQ", "AT+CREG?", "AT+CGATT?", "AT+CCID"};
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_node group =
            FindNamed(SkinLayout(folder, skintest::kExamineFile), "CommandGroupBox");
        ASSERT_TRUE(group) << folder.name;
        Items names;
        for (const pugi::xml_node& button : skintest::ElementsOf(group, "Button")) {
            names.push_back(button.attribute("name").value());
            EXPECT_STREQ(button.attribute("text").value(), button.attribute("name").value());
        }
        EXPECT_EQ(names, commands) << folder.name;
    }
}

}  // namespace
