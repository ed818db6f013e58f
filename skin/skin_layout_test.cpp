// The generated skin folders: the layout files of both languages.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "skin/skin_test_util.h"

namespace {

using skintest::ChildElements;
using skintest::ComboItems;
using skintest::FindNamed;
using skintest::kSkins;
using skintest::SkinFolder;

// Page element of skin.xml -> the layout file the program loads for it.
const std::map<std::string, std::string> kPageFiles = {
    {"WorkTab", "WorkTab.xml"},
    {"ServiceCentre", "Service Centre.xml"},
    {"SerialPort", "Serial port.xml"},
    {"IOChannels", "IOChannels.xml"},
    {"Wireless", "Wireless.xml"},
    {"Global_Parameter", "Global Parameter.xml"},
    {"Lora", "Lora.xml"},
    {"Zigbee", "Zigbee.xml"},
    {"GPS", "GPS.xml"},
    {"Equipment_Management", "Equipment Management.xml"},
    {"ComputerExamine", "ComputerExamine.xml"},
};

const char* const kTabs[] = {"WorkMode", "Server", "Serial", "IO",  "Wireless",
                             "Global",   "Lora",   "Zigbee", "GPS", "Operation"};

struct Skin {
    std::map<std::string, std::unique_ptr<pugi::xml_document>> layouts;  // by file name
    std::vector<std::string> errors;
    const pugi::xml_document& Main() const { return *layouts.at("skin.xml"); }
};

const Skin& LoadedSkin(const SkinFolder& folder) {
    static std::map<std::string, Skin> cache;
    auto [entry, fresh] = cache.try_emplace(folder.name);
    if (!fresh) return entry->second;
    Skin& skin = entry->second;
    for (const std::string& file : skintest::LayoutNames(skintest::SkinDir(folder))) {
        auto doc = std::make_unique<pugi::xml_document>();
        const std::string error = skintest::LoadLayout(skintest::SkinDir(folder) / file, *doc);
        if (!error.empty()) skin.errors.push_back(error);
        skin.layouts.emplace(file, std::move(doc));
    }
    return skin;
}

std::set<std::string> ExpectedFiles() {
    std::set<std::string> files = {"skin.xml", "Language.ini"};
    for (const auto& [element, file] : kPageFiles) files.insert(file);
    return files;
}

TEST(SkinFolders, HoldTheSameExpectedFiles) {
    const std::set<std::string> english = skintest::FileNames(skintest::SkinDir(kSkins[0]));
    const std::set<std::string> chinese = skintest::FileNames(skintest::SkinDir(kSkins[1]));
    EXPECT_EQ(english, chinese);
    for (const SkinFolder& folder : kSkins) {
        std::set<std::string> files = skintest::FileNames(skintest::SkinDir(folder));
        std::erase_if(files, [](const std::string& f) { return f.ends_with(".png"); });
        EXPECT_EQ(files, ExpectedFiles()) << folder.name;
    }
}

TEST(SkinFolders, EveryLayoutParses) {
    for (const SkinFolder& folder : kSkins) {
        const Skin& skin = LoadedSkin(folder);
        EXPECT_EQ(skin.layouts.size(), kPageFiles.size() + 1) << folder.name;
        for (const std::string& error : skin.errors) ADD_FAILURE() << error;
    }
}

TEST(SkinFolders, NoPlaceholderRemains) {
    for (const SkinFolder& folder : kSkins) {
        for (const std::string& file : skintest::FileNames(skintest::SkinDir(folder))) {
            const std::string text = skintest::ReadText(skintest::SkinDir(folder) / file);
            EXPECT_FALSE(text.empty()) << folder.name << "/" << file;
            EXPECT_EQ(text.find("{{"), std::string::npos) << folder.name << "/" << file;
        }
    }
}

// Both skins come from one set of templates: the same elements and attributes everywhere,
// differing only in wording; where the wording differs, English has no Chinese and Chinese has.
TEST(SkinFolders, DifferOnlyInWording) {
    const Skin& english = LoadedSkin(kSkins[0]);
    const Skin& chinese = LoadedSkin(kSkins[1]);
    int translated = 0;
    for (const auto& [file, enDoc] : english.layouts) {
        ASSERT_TRUE(chinese.layouts.contains(file)) << file;
        pugi::xml_node en = enDoc->document_element();
        pugi::xml_node zh = chinese.layouts.at(file)->document_element();
        for (; en && zh; en = en.next_sibling(), zh = zh.next_sibling()) {
            const pugi::xpath_node_set enAll = en.select_nodes("descendant-or-self::*");
            const pugi::xpath_node_set zhAll = zh.select_nodes("descendant-or-self::*");
            ASSERT_EQ(enAll.size(), zhAll.size()) << file;
            for (std::size_t i = 0; i < enAll.size(); ++i) {
                const pugi::xml_node a = enAll[i].node(), b = zhAll[i].node();
                ASSERT_STREQ(a.name(), b.name()) << file;
                pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
                for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
                    ASSERT_STREQ(x.name(), y.name()) << file << " <" << a.name() << ">";
                    const std::string_view name = x.name();
                    if (name == "selected" &&
                        std::string_view(a.attribute("name").value()) == "Language") {
                        continue;  // each skin's language list starts on its own language
                    } else if (name != "text" && name != "tooltip") {
                        EXPECT_STREQ(x.value(), y.value()) << file << " " << name;
                    } else if (std::string_view(x.value()) != y.value()) {
                        ++translated;
                        EXPECT_FALSE(skintest::HasCjk(x.value())) << file << ": " << x.value();
                        EXPECT_TRUE(skintest::HasCjk(y.value())) << file << ": " << y.value();
                    }
                }
                EXPECT_TRUE(!x && !y) << file << " <" << a.name() << "> attribute count";
            }
        }
        EXPECT_TRUE(!en && !zh) << file;
    }
    EXPECT_GT(translated, 60);
}

TEST(SkinFolders, SameControlNamesPerFile) {
    const Skin& english = LoadedSkin(kSkins[0]);
    const Skin& chinese = LoadedSkin(kSkins[1]);
    for (const auto& [file, doc] : english.layouts) {
        ASSERT_TRUE(chinese.layouts.contains(file)) << file;
        const std::vector<std::string> en = skintest::ControlNames(*doc);
        const std::vector<std::string> zh = skintest::ControlNames(*chinese.layouts.at(file));
        EXPECT_EQ(std::set<std::string>(en.begin(), en.end()),
                  std::set<std::string>(zh.begin(), zh.end()))
            << file;
    }
}

TEST(SkinFolders, ControlNamesAreUniqueWithinASkin) {
    for (const SkinFolder& folder : kSkins) {
        std::map<std::string, std::string> firstFile;  // name -> file where it was first seen
        for (const auto& [file, doc] : LoadedSkin(folder).layouts) {
            for (const std::string& name : skintest::ControlNames(*doc)) {
                const auto [seen, fresh] = firstFile.emplace(name, file);
                EXPECT_TRUE(fresh)
                    << folder.name << ": \"" << name << "\" in " << file << " and " << seen->second;
            }
        }
        EXPECT_GT(firstFile.size(), 40u) << folder.name;
    }
}

TEST(SkinMain, WindowAndPanels) {
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_node window = LoadedSkin(folder).Main().child("Window");
        ASSERT_TRUE(window) << folder.name;
        EXPECT_STREQ(window.attribute("size").value(), "1400,800");
        EXPECT_STREQ(window.attribute("caption").value(), "0,0,0,40");
        const std::vector<pugi::xml_node> top = ChildElements(window);
        ASSERT_EQ(top.size(), 1u);
        EXPECT_STREQ(top[0].name(), "VerticalLayout");
        const std::vector<pugi::xml_node> rows = ChildElements(top[0]);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_STREQ(rows[0].attribute("height").value(), "40");
        const std::vector<pugi::xml_node> panels = ChildElements(rows[1]);
        ASSERT_EQ(panels.size(), 2u);
        EXPECT_STREQ(panels[0].attribute("width").value(), "940");
        EXPECT_STREQ(panels[1].attribute("width").value(), "450");
        EXPECT_TRUE(FindNamed(panels[0], "switch"));
        EXPECT_TRUE(FindNamed(panels[1], "PortGroupBox"));
    }
}

// The controls the program looks up by name, with their kinds and fixed attributes.
TEST(SkinMain, NamedControls) {
    struct Case {
        const char* name;
        const char* element;
        const char* attribute;  // null: none checked
        const char* value;
    };
    const Case cases[] = {
        {"Ver", "Label", "width", "360"},
        {"VerDown", "Label", "width", "300"},
        {"minbtn", "Button", "width", "40"},
        {"maxbtn", "Button", "width", "40"},
        {"restorebtn", "Button", "visible", "false"},
        {"closebtn", "Button", "width", "40"},
        {"TabLeft", "Button", "text", "<"},
        {"TabRight", "Button", "text", ">"},
        {"HorizontalLayoutUI6", "HorizontalLayout", "width", "882"},
        {"switch", "TabLayout", nullptr, nullptr},
        {"OperationPage", "VerticalLayout", nullptr, nullptr},
        {"PortGroupBox", "GroupBox", nullptr, nullptr},
        {"SerialPort", "Combo", nullptr, nullptr},
        {"BaudRate1", "Combo", "selected", "7"},
        {"Checkcode", "Combo", "selected", "0"},
        {"Open", "Button", nullptr, nullptr},
        {"Login", "Button", nullptr, nullptr},
        {"DeviceState", "Text", nullptr, nullptr},
        {"OperationGroupBox", "GroupBox", nullptr, nullptr},
        {"FINDNETMODE", "Edit", "readonly", "true"},
        {"Language", "Combo", nullptr, nullptr},
        {"helpGroupBox", "GroupBox", nullptr, nullptr},
        {"HelpRichEdit", "RichEdit", nullptr, nullptr},
        {"Clear", "Button", nullptr, nullptr},
        {"richedit", "RichEdit", nullptr, nullptr},
    };
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_document& doc = LoadedSkin(folder).Main();
        for (const Case& c : cases) {
            const pugi::xml_node node = FindNamed(doc, c.name);
            ASSERT_TRUE(node) << folder.name << ": no control " << c.name;
            EXPECT_STREQ(node.name(), c.element) << folder.name << ": " << c.name;
            if (c.attribute) {
                EXPECT_STREQ(node.attribute(c.attribute).value(), c.value)
                    << folder.name << ": " << c.name << " " << c.attribute;
            }
        }
    }
}

TEST(SkinMain, CaptionButtonsHaveTooltips) {
    for (const SkinFolder& folder : kSkins) {
        for (const char* name : {"minbtn", "maxbtn", "restorebtn", "closebtn"}) {
            const pugi::xml_node button = FindNamed(LoadedSkin(folder).Main(), name);
            EXPECT_STRNE(button.attribute("tooltip").value(), "") << folder.name << " " << name;
        }
    }
}

TEST(SkinMain, TabHeadersAndOptions) {
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_node row = FindNamed(LoadedSkin(folder).Main(), "HorizontalLayoutUI6");
        const std::vector<pugi::xml_node> headers = ChildElements(row);
        ASSERT_EQ(headers.size(), std::size(kTabs)) << folder.name;
        for (std::size_t i = 0; i < headers.size(); ++i) {
            const std::string tab = kTabs[i];
            EXPECT_STREQ(headers[i].name(), "HorizontalLayout");
            EXPECT_EQ(headers[i].attribute("name").value(), tab + "Tab");
            EXPECT_STREQ(headers[i].attribute("width").value(), "100");
            const std::vector<pugi::xml_node> options = ChildElements(headers[i]);
            ASSERT_EQ(options.size(), 1u) << tab;
            EXPECT_STREQ(options[0].name(), "Option") << tab;
            EXPECT_EQ(options[0].attribute("name").value(), tab);
            EXPECT_STREQ(options[0].attribute("group").value(), "pagetabs") << tab;
            EXPECT_STRNE(options[0].attribute("text").value(), "") << tab;
            EXPECT_EQ(options[0].attribute("selected").as_bool(), i == 0) << tab;
        }
        const std::vector<pugi::xml_node> tabRow = ChildElements(row.parent());
        ASSERT_EQ(tabRow.size(), 3u);
        EXPECT_STREQ(tabRow[0].attribute("name").value(), "TabLeft");
        EXPECT_STREQ(tabRow[2].attribute("name").value(), "TabRight");
    }
}

TEST(SkinMain, PagesOfTheTabLayout) {
    const char* const pages[] = {"WorkTab",  "ServiceCentre",    "SerialPort", "IOChannels",
                                 "Wireless", "Global_Parameter", "Lora",       "Zigbee",
                                 "GPS",      "VerticalLayout"};
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_node tabs = FindNamed(LoadedSkin(folder).Main(), "switch");
        const std::vector<pugi::xml_node> children = ChildElements(tabs);
        ASSERT_EQ(children.size(), std::size(pages)) << folder.name;
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_STREQ(children[i].name(), pages[i]) << folder.name << " page " << i;
        }
        const std::vector<pugi::xml_node> operation = ChildElements(children.back());
        EXPECT_STREQ(children.back().attribute("name").value(), "OperationPage");
        ASSERT_EQ(operation.size(), 2u);
        EXPECT_STREQ(operation[0].name(), "Equipment_Management");
        EXPECT_STREQ(operation[1].name(), "ComputerExamine");
        for (const auto& [element, file] : kPageFiles) {
            const pugi::xml_node page =
                tabs.find_node([&](const pugi::xml_node& n) { return element == n.name(); });
            ASSERT_TRUE(page) << folder.name << ": no <" << element << ">";
            EXPECT_FALSE(page.attribute("name")) << element;
            EXPECT_TRUE(page.children().begin() == page.children().end()) << element;
            EXPECT_TRUE(LoadedSkin(folder).layouts.contains(file)) << file;
        }
    }
}

TEST(SkinMain, ComboItems) {
    struct Case {
        const char* name;
        std::vector<std::string> items;
        const char* selected;
    };
    const Case cases[] = {
        {"SerialPort", {}, ""},
        {"BaudRate1", {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}, "7"},
        {"Checkcode", {"8N1", "8E1", "8O1", "8N2", "7E1", "7O1"}, "0"},
        {"Language", {"English", "中文"}, nullptr},
    };
    for (const SkinFolder& folder : kSkins) {
        for (const Case& c : cases) {
            const pugi::xml_node combo = FindNamed(LoadedSkin(folder).Main(), c.name);
            EXPECT_EQ(ComboItems(combo), c.items) << folder.name << " " << c.name;
            // The language list starts on the skin's own language: 0 English, 1 Chinese.
            const char* selected = c.selected ? c.selected : (folder.chinese ? "1" : "0");
            EXPECT_STREQ(combo.attribute("selected").value(), selected) << c.name;
            for (const pugi::xml_node& item : ChildElements(combo)) {
                EXPECT_STREQ(item.name(), "ListLabelElement") << c.name;
            }
        }
    }
}

TEST(SkinMain, OperationButtonsInRowsOfFour) {
    const std::vector<std::vector<std::string>> rows = {
        {"Load", "Save", "RestoreFactory", "LoadFromFile"},
        {"SaveToFile", "SetTime", "GetVer", "READFILELOG"},
        {"CPIN", "CSQ", "quit"}};
    for (const SkinFolder& folder : kSkins) {
        const pugi::xml_node group = FindNamed(LoadedSkin(folder).Main(), "OperationGroupBox");
        std::vector<std::vector<std::string>> found;
        for (const pugi::xml_node& row : ChildElements(group)) {
            EXPECT_STREQ(row.name(), "HorizontalLayout");
            EXPECT_STREQ(row.attribute("height").value(), "30");
            std::vector<std::string> names;
            for (const pugi::xml_node& button : ChildElements(row)) {
                EXPECT_STREQ(button.name(), "Button");
                names.push_back(button.attribute("name").value());
            }
            found.push_back(names);
        }
        EXPECT_EQ(found, rows) << folder.name;
    }
}

}  // namespace
