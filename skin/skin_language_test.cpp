// The wording of the generated skins: control texts, Language.ini and Help.txt.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <set>
#include <string>

#include "skin/skin_template.h"
#include "skin/skin_test_util.h"

namespace {

namespace fs = std::filesystem;
using skintest::kSkins;
using skintest::Profile;
using skintest::SkinFolder;

struct Key {
    const char* section;
    const char* key;
};

// Every text the program reads from Language.ini.
const Key kRequiredKeys[] = {
    {"WinMain", "WorkThread"},
    {"WorkerJobThreadProc", "SaveSuccess"},
    {"WorkerJobThreadProc", "SaveError"},
    {"WorkerJobThreadProc", "FactorySuccess"},
    {"WorkerJobThreadProc", "FactoryError"},
    {"WorkerJobThreadProc", "OutTime"},
    {"ComSend", "send"},
    {"OnStartCom", "Open"},
    {"OnStartCom", "Close"},
    {"OnStartCom", "OpenNotice"},
    {"OnStartCom", "CloseNotice"},
    {"OnStartCom", "OpenError"},
    {"OnStartCom", "PortLost"},
    {"OnStartCom", "PermissionDenied"},
    {"OnStartCom", "PortBusy"},
    {"OnStartCom", "BadSettings"},
    {"OnStartCom", "PortBack"},
    {"OnStartCom", "ModemManagerHint"},
    {"ListSerialPorts", "SerialNumber"},
    {"SetDeviceState", "szLoginOn"},
    {"SetDeviceState", "szLoginOff"},
    {"Notify", "IpNotice"},
    {"Notify", "NBBandError"},
    {"Notify", "ServerCount"},
    {"onLoadFrommFile", "ReadError"},
    {"SaveToFile", "OpenError"},
    {"ModeTabItemChange", "ServerTitle1"},
    {"ModeTabItemChange", "Server's Label1"},
    {"ModeTabItemChange", "ServerTitle2"},
    {"ModeTabItemChange", "Server's Label2"},
    {"InitValue", "Text"},
    {"DIO workmode", "Text1"},
    {"DIO workmode", "Text2"},
    {"DIO workmode", "Text3"},
    {"DIO workmode", "Text4"},
    {"DIO workmode", "Text5"},
    {"DIO workmode", "Text6"},
    {"DIO workmode", "Text7"},
    {"ComboElement_IO", "DIO reported methods Common"},
    {"ComboElement_IO", "DIO reported methods ADC"},
};

constexpr std::size_t kMaxLanguageText = 199;  // the program cuts longer texts

Profile LanguageOf(const SkinFolder& folder) {
    return skintest::ParseProfile(skintest::ReadText(skintest::SkinDir(folder) / "Language.ini"));
}

std::string Value(const Profile& profile, const char* section, const char* key) {
    const auto s = profile.sections.find(section);
    if (s == profile.sections.end()) return {};
    const auto k = s->second.find(key);
    return k == s->second.end() ? std::string() : k->second;
}

// Calls `check(file, element)` for every element of every layout of `folder`.
template <class Check>
void ForEachElement(const SkinFolder& folder, Check check) {
    for (const std::string& file : skintest::LayoutNames(skintest::SkinDir(folder))) {
        pugi::xml_document doc;
        const std::string error = skintest::LoadLayout(skintest::SkinDir(folder) / file, doc);
        ASSERT_EQ(error, "");
        for (const pugi::xpath_node& hit : doc.select_nodes("//*")) check(file, hit.node());
    }
}

// The control's fixed width, or, for the only child of a box of fixed width (a tab header's
// option), the box's; 0 when neither is fixed.
int WidthFor(const pugi::xml_node& node) {
    if (const int own = node.attribute("width").as_int(); own > 0) return own;
    const pugi::xml_node parent = node.parent();
    const bool onlyChild = parent.first_child() == node && parent.last_child() == node;
    return onlyChild ? parent.attribute("width").as_int() : 0;
}

TEST(SkinWording, TitledControlsHaveText) {
    const std::set<std::string> titled = {"Label", "Button", "Option", "GroupBox"};
    for (const SkinFolder& folder : kSkins) {
        int seen = 0;
        ForEachElement(folder, [&](const std::string& file, const pugi::xml_node& node) {
            if (!titled.contains(node.name())) return;
            ++seen;
            EXPECT_STRNE(node.attribute("text").value(), "")
                << folder.name << "/" << file << " <" << node.name() << " name=\""
                << node.attribute("name").value() << "\">";
        });
        EXPECT_GT(seen, 50) << folder.name;
    }
}

TEST(SkinWording, TextsFitTheirControls) {
    for (const SkinFolder& folder : kSkins) {
        int checked = 0;
        ForEachElement(folder, [&](const std::string& file, const pugi::xml_node& node) {
            const int width = WidthFor(node);
            const std::string text = node.attribute("text").value();
            if (width <= 0 || text.empty()) return;
            ++checked;
            EXPECT_LE(skintest::EstimatedWidth(text), width)
                << folder.name << "/" << file << " <" << node.name() << "> \"" << text << "\"";
        });
        EXPECT_GT(checked, 35) << folder.name;
    }
}

// Texts the program puts on controls at run time fit too.
TEST(SkinWording, RunTimeCaptionsFit) {
    const Key cases[][2] = {{{"OnStartCom", "Open"}, {"OnStartCom", "Close"}},
                            {{"SetDeviceState", "szLoginOn"}, {"SetDeviceState", "szLoginOff"}}};
    const char* const controls[] = {"Open", "DeviceState"};
    for (const SkinFolder& folder : kSkins) {
        pugi::xml_document doc;
        ASSERT_EQ(skintest::LoadLayout(skintest::SkinDir(folder) / "skin.xml", doc), "");
        const Profile language = LanguageOf(folder);
        for (std::size_t i = 0; i < std::size(controls); ++i) {
            const int width = skintest::FindNamed(doc, controls[i]).attribute("width").as_int();
            for (const Key& key : cases[i]) {
                const std::string text = Value(language, key.section, key.key);
                EXPECT_LE(skintest::EstimatedWidth(text), width)
                    << folder.name << " " << controls[i] << ": " << text;
            }
        }
    }
}

TEST(SkinLanguage, FilesAreTheSourcesOfTheirLanguage) {
    const fs::path source = fs::path(DTU_SKIN_SOURCE_DIR) / "lang";
    const char* const languages[] = {"en", "zh"};
    for (std::size_t i = 0; i < std::size(kSkins); ++i) {
        const std::string copied =
            skintest::ReadText(skintest::SkinDir(kSkins[i]) / "Language.ini");
        EXPECT_FALSE(copied.empty()) << kSkins[i].name;
        EXPECT_EQ(copied, skintest::ReadText(source / languages[i] / "Language.ini"))
            << kSkins[i].name;
        EXPECT_TRUE(skin::IsValidUtf8(copied)) << kSkins[i].name;
        EXPECT_EQ(copied.find('\r'), std::string::npos) << kSkins[i].name;
    }
}

TEST(SkinLanguage, SameSectionsAndKeys) {
    const Profile english = LanguageOf(kSkins[0]);
    const Profile chinese = LanguageOf(kSkins[1]);
    for (const Profile* profile : {&english, &chinese}) {
        for (const std::string& problem : profile->problems) ADD_FAILURE() << problem;
    }
    ASSERT_EQ(english.sections.size(), chinese.sections.size());
    for (const auto& [section, keys] : english.sections) {
        const auto other = chinese.sections.find(section);
        ASSERT_NE(other, chinese.sections.end()) << "[" << section << "]";
        std::set<std::string> enKeys, zhKeys;
        for (const auto& [key, value] : keys) enKeys.insert(key);
        for (const auto& [key, value] : other->second) zhKeys.insert(key);
        EXPECT_EQ(enKeys, zhKeys) << "[" << section << "]";
    }
}

TEST(SkinLanguage, RequiredKeysHaveText) {
    for (const SkinFolder& folder : kSkins) {
        const Profile language = LanguageOf(folder);
        for (const Key& key : kRequiredKeys) {
            const std::string text = Value(language, key.section, key.key);
            EXPECT_NE(text, "") << folder.name << ": [" << key.section << "] " << key.key;
            EXPECT_LE(skintest::CharCount(text), kMaxLanguageText) << key.key;
        }
    }
}

TEST(SkinLanguage, WordedInTheirLanguage) {
    for (const SkinFolder& folder : kSkins) {
        for (const auto& [section, keys] : LanguageOf(folder).sections) {
            for (const auto& [key, text] : keys) {
                EXPECT_EQ(skintest::HasCjk(text), folder.chinese)
                    << folder.name << ": [" << section << "] " << key << "=" << text;
            }
        }
    }
}

// Lists of items are ';'-separated, with no blanks around the separators.
TEST(SkinLanguage, ItemLists) {
    const char* const keys[] = {"DIO reported methods Common", "DIO reported methods ADC"};
    for (const SkinFolder& folder : kSkins) {
        const Profile language = LanguageOf(folder);
        for (const char* key : keys) {
            const std::string list = Value(language, "ComboElement_IO", key);
            std::vector<std::string> items;
            for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
                end = list.find(';', start);
                items.push_back(list.substr(start, end - start));
            }
            EXPECT_EQ(items.size(), 3u) << folder.name << " " << key << ": " << list;
            for (const std::string& item : items) {
                EXPECT_FALSE(item.empty()) << key << ": " << list;
                EXPECT_FALSE(item.starts_with(' ') || item.ends_with(' ')) << key << ": " << list;
            }
        }
    }
}

// Help.txt: the English section, then the Chinese one, each naming the buttons as the
// matching skin labels them.
TEST(SkinHelp, DescribesTheButtonsInBothLanguages) {
    const std::string help = skintest::ReadText(DTU_HELP_FILE);
    ASSERT_FALSE(help.empty()) << DTU_HELP_FILE;
    EXPECT_EQ(help, skintest::ReadText(fs::path(DTU_SKIN_SOURCE_DIR) / "Help.txt"));
    ASSERT_TRUE(skin::IsValidUtf8(help));
    std::size_t split = 0;  // the start of the first line with Chinese in it
    while (split < help.size() &&
           !skintest::HasCjk(help.substr(split, help.find('\n', split) - split))) {
        split = help.find('\n', split);
        split = split == std::string::npos ? help.size() : split + 1;
    }
    ASSERT_GT(split, 200u) << "the English section comes first";
    ASSERT_LT(split, help.size() - 200) << "a Chinese section follows";
    const std::string sections[] = {help.substr(0, split), help.substr(split)};
    const char* const buttons[] = {"Open",           "Login",        "Load",       "Save",
                                   "RestoreFactory", "LoadFromFile", "SaveToFile", "SetTime",
                                   "GetVer",         "READFILELOG",  "CPIN",       "CSQ",
                                   "quit",           "Clear"};
    EXPECT_FALSE(skintest::HasCjk(sections[0]));
    for (std::size_t i = 0; i < std::size(kSkins); ++i) {
        pugi::xml_document doc;
        ASSERT_EQ(skintest::LoadLayout(skintest::SkinDir(kSkins[i]) / "skin.xml", doc), "");
        for (const char* name : buttons) {
            const std::string text = skintest::FindNamed(doc, name).attribute("text").value();
            ASSERT_FALSE(text.empty()) << name;
            EXPECT_NE(sections[i].find(text), std::string::npos)
                << kSkins[i].name << ": Help.txt does not mention \"" << text << "\"";
        }
    }
}

}  // namespace
