// The layouts of the form pages: the named rows and sub-layouts the program shows and hides,
// the heights of the group boxes and the widths of the rows.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <set>
#include <string>
#include <vector>

#include "skin/skin_page_util.h"

namespace {

using skintest::ChildElements;
using skintest::FindNamed;
using skintest::kSkins;
using skintest::SkinFolder;
using skintest::SkinLayout;

constexpr int kHeaderHeight = 35;  // a group box's title
constexpr int kRowHeight = 25;
// The page area is 940 px wide; a group box keeps 4 px free on each side, and the controls
// of a row stand 4 px apart.
constexpr int kRowWidth = 940 - 2 * 4;
constexpr int kSpacing = 4;

enum class Shape {
    kGroup,   // a GroupBox
    kRow,     // a row of a group box or of the page: a layout with a height
    kInline,  // a HorizontalLayout without height inside a row
};

struct NamedLayout {
    std::string file;
    std::string name;
    Shape shape;
    const char* element;
    int height;          // of groups and rows
    bool hidden;         // visible="false"
    bool autohide;       // a wrapper row of inline sub-layouts
    std::string holder;  // the name of the nearest named ancestor; "" for none
};

std::vector<NamedLayout> ExpectedLayouts() {
    const std::string work = "WorkTab.xml", server = "Service Centre.xml",
                      serial = "Serial port.xml", io = "IOChannels.xml",
                      global = "Global Parameter.xml", manage = "Equipment Management.xml";
    const char* hl = "HorizontalLayout";
    const char* vl = "VerticalLayout";
    const char* gb = "GroupBox";
    const auto group = Shape::kGroup;
    const auto row = Shape::kRow;
    const auto in = Shape::kInline;
    std::vector<NamedLayout> layouts = {
        {work, "ModeGroupBox", group, gb, 235, false, false, ""},
        {work, "ModeHorizontalLayout2", in, hl, 0, false, false, "ModeGroupBox"},
        {work, "ModeHorizontalLayout3", row, hl, 25, false, false, "ModeGroupBox"},
        {work, "UDP_HLayout", in, hl, 0, false, false, "ModeHorizontalLayout3"},
        {work, "DevID_HLayout", in, hl, 0, false, false, "ModeHorizontalLayout3"},
        {work, "ModeHorizontalLayout4", row, vl, 50, false, false, "ModeGroupBox"},
        {work, "ModeHorizontalLayout6", row, hl, 25, false, false, "ModeGroupBox"},
        {work, "ModeHorizontalLayout7", row, hl, 25, false, false, "ModeGroupBox"},
        {work, "ModeHorizontalLayout8", row, hl, 25, false, false, "ModeGroupBox"},
        {work, "ListenPort_HLayout", row, hl, 25, true, false, "ModeGroupBox"},
        {work, "HorizontalLayout_Prefix", row, hl, 25, false, false, "ModeGroupBox"},
        {work, "PrefixCustomData_HLayout", in, hl, 0, true, false, "HorizontalLayout_Prefix"},
        {work, "ActivateGroupBox", group, gb, 60, false, false, ""},
        {work, "ActivateHorizontalLayout1", in, hl, 0, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout1.2", in, hl, 0, false, false, "ActivateHorizontalLayout1"},
        {work, "ActivateHorizontalLayout2", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout3", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout4", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout5", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout6", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateRow7and8", row, hl, 25, false, true, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout7", in, hl, 0, true, false, "ActivateRow7and8"},
        {work, "ActivateHorizontalLayout8", in, hl, 0, true, false, "ActivateRow7and8"},
        {work, "ActivateHorizontalLayout9", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout6.1", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "ActivateHorizontalLayout6.1.1", in, hl, 0, false, false,
         "ActivateHorizontalLayout6.1"},
        {work, "ActivateHorizontalLayout6.1.2", in, hl, 0, false, false,
         "ActivateHorizontalLayout6.1"},
        {work, "ActivateHorizontalLayout_ALARM", row, hl, 25, true, false, "ActivateGroupBox"},
        {work, "DebugGroupBox", group, gb, 85, false, false, ""},
        {work, "DebugHorizontalLayout1", row, hl, 25, false, false, "DebugGroupBox"},
        {server, "ServiceGroupBox", group, gb, 110, false, false, ""},
        {server, "ServiceHorizontalLayout0", row, hl, 25, false, false, "ServiceGroupBox"},
        {server, "ServiceHorizontalLayout1", row, hl, 25, false, false, "ServiceGroupBox"},
        {server, "ServiceGroupBox2", group, gb, 110, false, false, ""},
        {server, "ServiceHorizontalLayout6", row, hl, 25, false, false, "ServiceGroupBox2"},
        {serial, "serialGroupbox", group, gb, 110, false, false, ""},
        {serial, "bindingCenterGroupBox", row, hl, 25, false, false, "serialGroupbox"},
        {serial, "serial2Groupbox", group, gb, 110, false, false, ""},
        {serial, "bindingCenterGroupBox2", row, hl, 25, false, false, "serial2Groupbox"},
        {serial, "serial3Groupbox", group, gb, 110, false, false, ""},
        {serial, "bindingCenterGroupBox3", row, hl, 25, false, false, "serial3Groupbox"},
        {"Wireless.xml", "WirelessGroupBox", group, gb, 160, false, false, ""},
        {global, "PPPGroupBox", group, gb, 85, false, false, ""},
        {global, "GlobalHorizontalLayout1", row, hl, 25, false, false, "PPPGroupBox"},
        {global, "ICMPGroupBox", group, gb, 110, false, false, ""},
        {global, "GlobalHorizontalLayout2", row, vl, 50, false, false, "ICMPGroupBox"},
        {global, "GlobalGroupBox", group, gb, 135, false, false, ""},
        {global, "NetWorkSettingsLayout", row, hl, 25, true, false, ""},
        {"Lora.xml", "LoraGroupBox", group, gb, 110, false, false, ""},
        {"Zigbee.xml", "ZigbeeGroupBox", group, gb, 110, false, false, ""},
        {"GPS.xml", "GPSGroupBox", group, gb, 160, false, false, ""},
        {manage, "DtumanageGroupBox", group, gb, 135, false, false, ""},
        {manage, "EquimentLayout1", row, vl, 75, false, false, "DtumanageGroupBox"},
        {manage, "DtumanageGroupBox1", group, gb, 60, false, false, ""},
        {manage, "EquimentLayout2", row, vl, 75, true, false, "DtumanageGroupBox1"},
        {skintest::kExamineFile, "CommandGroupBox", group, gb, 60, false, false, ""},
    };
    for (int n = 2; n <= 5; ++n) {
        layouts.push_back({server, "ServiceHorizontalLayout" + std::to_string(n), row, hl, 25, true,
                           false, "ServiceGroupBox"});
    }
    for (int n = 1; n <= 5; ++n) {
        const std::string g = "IO" + std::to_string(n) + "GroupBox";
        const std::string l = "IOLayout" + std::to_string(n);
        const std::vector<NamedLayout> channel = {
            {io, g, group, gb, 35, false, false, ""},
            {io, l + ".row1", row, hl, 25, false, true, g},
            {io, l + ".1", in, hl, 0, true, false, l + ".row1"},
            {io, l + ".2", in, hl, 0, true, false, l + ".row1"},
            {io, l + ".2.1", in, hl, 0, true, false, l + ".row1"},
            {io, l + ".row2", row, hl, 25, false, true, g},
            {io, l + ".3", in, hl, 0, true, false, l + ".row2"},
            {io, l + ".3.1", in, hl, 0, true, false, l + ".row2"},
            {io, l + ".3.2", in, hl, 0, true, false, l + ".row2"},
            {io, l + ".4", row, hl, 25, true, false, g},
            {io, l + ".4.1", in, hl, 0, false, false, l + ".4"},
            {io, l + ".4.2", in, hl, 0, false, false, l + ".4"},
            {io, l + ".5", row, hl, 25, true, false, g},
            {io, l + ".6", row, hl, 25, true, false, g},
            {io, l + ".7", row, hl, 25, true, false, g},
        };
        layouts.insert(layouts.end(), channel.begin(), channel.end());
    }
    return layouts;
}

// The nearest ancestor of `node` with a name attribute, or an empty node.
pugi::xml_node NamedAncestor(const pugi::xml_node& node) {
    for (pugi::xml_node up = node.parent(); up; up = up.parent()) {
        if (up.attribute("name")) return up;
    }
    return {};
}

TEST(SkinPageLayouts, NamedLayoutsAsTheProgramExpects) {
    for (const SkinFolder& folder : kSkins) {
        for (const NamedLayout& l : ExpectedLayouts()) {
            const pugi::xml_node node = FindNamed(SkinLayout(folder, l.file), l.name);
            ASSERT_TRUE(node) << folder.name << "/" << l.file << ": no \"" << l.name << "\"";
            EXPECT_STREQ(node.name(), l.element) << l.name;
            EXPECT_EQ(node.attribute("height").as_int(), l.height) << l.name;
            EXPECT_EQ(node.attribute("visible").as_bool(true), !l.hidden) << l.name;
            EXPECT_EQ(node.attribute("autohide").as_bool(), l.autohide) << l.name;
            EXPECT_EQ(NamedAncestor(node).attribute("name").value(), l.holder) << l.name;
            const std::string parent = node.parent().name();
            if (l.shape == Shape::kInline) {
                // Inside a row, or inside another inline layout of a row.
                EXPECT_EQ(parent, "HorizontalLayout") << l.name;
                EXPECT_FALSE(node.attribute("height")) << l.name;
            } else {
                // A row or a group sits on the page, in a group box or in a column of rows.
                EXPECT_TRUE(parent == "GroupBox" || parent == "VerticalLayout") << l.name;
            }
        }
    }
}

// Layouts and group boxes carry a name only where the program looks them up.
TEST(SkinPageLayouts, NoOtherNamedLayouts) {
    std::set<std::string> expected;
    for (const NamedLayout& l : ExpectedLayouts()) expected.insert(l.file + ": " + l.name);
    for (const SkinFolder& folder : kSkins) {
        std::set<std::string> found;
        for (const std::string& file : skintest::PageFiles()) {
            for (const pugi::xpath_node& hit :
                 SkinLayout(folder, file)
                     .select_nodes(
                         "//*[(self::HorizontalLayout or self::VerticalLayout or self::GroupBox)"
                         " and @name]")) {
                found.insert(file + ": " + hit.node().attribute("name").value());
            }
        }
        EXPECT_EQ(found, expected) << folder.name;
    }
}

// The rows a group box shows by default: hidden rows and the header take no room, nor does
// an autohide wrapper whose sub-layouts are all hidden; a column of rows counts by its height.
int DefaultRowsHeight(const pugi::xml_node& group) {
    int height = 0;
    for (const pugi::xml_node& child : ChildElements(group)) {
        const std::string what = std::string(group.attribute("name").value()) + " > " +
                                 child.name() + " " + child.attribute("name").value();
        if (child.attribute("header").as_bool()) {
            EXPECT_FALSE(child.attribute("height")) << what << ": a header has no height";
            continue;
        }
        const std::string element = child.name();
        EXPECT_TRUE(element == "HorizontalLayout" || element == "VerticalLayout") << what;
        const int rowHeight = child.attribute("height").as_int();
        EXPECT_GT(rowHeight, 0) << what;
        EXPECT_EQ(rowHeight % kRowHeight, 0) << what;
        if (!child.attribute("visible").as_bool(true)) continue;
        if (child.attribute("autohide").as_bool()) {
            bool anyShown = false;
            for (const pugi::xml_node& part : ChildElements(child)) {
                // Only named sub-layouts: a spacer would keep the row from collapsing.
                EXPECT_STREQ(part.name(), "HorizontalLayout") << what;
                EXPECT_STRNE(part.attribute("name").value(), "") << what;
                anyShown = anyShown || part.attribute("visible").as_bool(true);
            }
            if (!anyShown) continue;
        }
        height += rowHeight;
    }
    return height;
}

TEST(SkinPageLayouts, GroupBoxesAreAsHighAsTheirDefaultRows) {
    for (const SkinFolder& folder : kSkins) {
        int groups = 0;
        for (const std::string& file : skintest::PageFiles()) {
            for (const pugi::xml_node& group :
                 skintest::ElementsOf(SkinLayout(folder, file), "GroupBox")) {
                ++groups;
                EXPECT_STRNE(group.attribute("name").value(), "") << file << ": unnamed group";
                EXPECT_EQ(group.attribute("height").as_int(),
                          kHeaderHeight + DefaultRowsHeight(group))
                    << folder.name << "/" << file << ": " << group.attribute("name").value();
            }
        }
        EXPECT_EQ(groups, 23) << folder.name;
    }
}

// A column of rows is as high as its rows.
TEST(SkinPageLayouts, ColumnsAreAsHighAsTheirRows) {
    for (const SkinFolder& folder : kSkins) {
        int columns = 0;
        for (const std::string& file : skintest::PageFiles()) {
            for (const pugi::xml_node& column :
                 skintest::ElementsOf(SkinLayout(folder, file), "VerticalLayout")) {
                if (!column.attribute("height")) continue;  // the page itself
                ++columns;
                int rows = 0;
                for (const pugi::xml_node& row : ChildElements(column)) {
                    EXPECT_STREQ(row.name(), "HorizontalLayout") << file;
                    EXPECT_EQ(row.attribute("height").as_int(), kRowHeight) << file;
                    rows += row.attribute("height").as_int();
                }
                EXPECT_EQ(column.attribute("height").as_int(), rows)
                    << file << ": " << column.attribute("name").value();
            }
        }
        EXPECT_EQ(columns, 4) << folder.name;
    }
}

// The fixed widths of a layout's controls, inline layouts included, with the gaps between.
int FixedWidth(const pugi::xml_node& layout) {
    const std::vector<pugi::xml_node> children = ChildElements(layout);
    int width = children.empty() ? 0 : kSpacing * static_cast<int>(children.size() - 1);
    for (const pugi::xml_node& child : children) {
        if (child.attribute("width")) {
            width += child.attribute("width").as_int();
        } else if (std::string_view(child.name()) == "HorizontalLayout") {
            width += FixedWidth(child);
        }
    }
    return width;
}

TEST(SkinPageLayouts, RowsFitThePage) {
    for (const SkinFolder& folder : kSkins) {
        int rows = 0;
        for (const std::string& file : skintest::PageFiles()) {
            for (const pugi::xml_node& row :
                 skintest::ElementsOf(SkinLayout(folder, file), "HorizontalLayout")) {
                if (!row.attribute("height") && !row.attribute("header")) continue;  // inline
                ++rows;
                EXPECT_LE(FixedWidth(row), kRowWidth)
                    << folder.name << "/" << file << ": row " << rows << " "
                    << row.attribute("name").value();
            }
        }
        EXPECT_GT(rows, 100) << folder.name;
    }
}

// Each form page starts with its title; the device check's group box carries its title.
TEST(SkinPageLayouts, PagesStartWithTheirTitle) {
    for (const SkinFolder& folder : kSkins) {
        for (const std::string& file : skintest::PageFiles()) {
            const pugi::xml_node root = SkinLayout(folder, file).document_element();
            EXPECT_STREQ(root.name(), "VerticalLayout") << file;
            EXPECT_FALSE(root.attribute("name")) << file;
            const std::vector<pugi::xml_node> children = ChildElements(root);
            const bool examine = file == skintest::kExamineFile;
            ASSERT_GE(children.size(), examine ? 1u : 2u) << file;
            EXPECT_STREQ(children[0].name(), examine ? "GroupBox" : "Label") << file;
            EXPECT_STRNE(children[0].attribute("text").value(), "") << file;
            if (!examine) {
                EXPECT_STREQ(children[0].attribute("height").value(), "30") << file;
                EXPECT_FALSE(children[0].attribute("name")) << file;
            }
        }
    }
}

}  // namespace
