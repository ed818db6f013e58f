#include "form/layout_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/dialog_builder.h"

namespace form {
namespace {

using Names = std::set<std::string>;
using Posted = std::vector<std::pair<int, int>>;

Names ChannelRows(const std::string& n) {
    Names rows = {"The DIO" + n + " data format"};
    for (const char* row :
         {"workmode", "protocol", "interface", "SMS number", "reported methods", "reported times",
          "query command", "high level information", "low level information", "and mapping center",
          "upper threshold", "lower threshold", "output control result"}) {
        rows.insert("DIO" + n + " " + row);
    }
    return rows;
}

// Groups whose inner rows follow a selection list: shown, they post that list's case and show
// only their first rows; hidden, they clear all their rows.
TEST(LayoutRules, RowsFollowTheirLayoutAndGroupsPostTheirCase) {
    // The layout, shown or hidden (the rows' flags are the opposite before), the rows whose
    // flags change, the cases posted.
    const std::tuple<const char*, bool, Names, Posted> cases[] = {
        {"ServiceGroupBox", true, {"Server's Ip", "Server's Port"}, {{3, 0}}},
        {"ServiceGroupBox",
         false,
         {"Secondary Server's Ip", "Secondary Server's Port", "Server2's Ip", "Server2's Port",
          "Server3's Ip", "Server3's Port", "Server4's Ip", "Server4's Port", "Server5's Ip",
          "Server5's Port"},
         {}},
        {"ActivateGroupBox", true, {"SMSActivationNO."}, {{1, 0}}},
        {"ActivateGroupBox",
         false,
         {"SMSActivationNO.", "ActivationPhoneNO.", "I/O1 control", "I/O2 control", "I/O3 control",
          "I/O selection", "IO activation methods", "RegisterInfo", "RegistrationReplyInfo",
          "HeartbeatPacket", "HeartbeatPacketReplyInfo", "ActivationInterface", "DataFormat",
          "On-line data", "Offline data"},
         {}},
        {"IO1GroupBox", true, {"DIO1 workmode"}, {{7, 0}}},
        {"IO2GroupBox", true, {"DIO2 workmode"}, {{8, 0}}},
        {"IO3GroupBox", true, {"DIO3 workmode"}, {{9, 0}}},
        {"IO4GroupBox", true, {"DIO4 workmode"}, {{20, 0}}},
        {"IO5GroupBox", true, {"DIO5 workmode"}, {{21, 0}}},
        {"IO4GroupBox", false, ChannelRows("4"), {}},
        {"IO1GroupBox", false, ChannelRows("1"), {}},
        {"ActivateHorizontalLayout5", true, {"I/O selection"}, {{10, 0}}},
        {"ActivateHorizontalLayout5", false, {"I/O selection"}, {}},
        {"ModeHorizontalLayout8",
         false,
         {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"},
         {}},
        {"IOLayout4.3", true, {"DIO4 reported methods"}, {}},
        {"NetWorkSettingsLayout", false, {"NBNetModeCombo", "NBNetBANDCombo"}, {}},
        // A tab header, a layout without rows, one whose row has no catalogue entry.
        {"IOTab", false, {}, {}},
        {"ModeHorizontalLayout3", false, {}, {}},
        {"bindingCenterGroupBox3", false, {}, {}},
        // Not in this form: nothing changes, not even the rows of a layout of the table.
        {"NoSuchLayout", false, {}, {}},
        {"ServiceHorizontalLayout2", false, {}, {}},
    };
    Names layouts;  // the form holds the others
    for (const auto& c : cases) layouts.insert(std::get<0>(c));
    layouts.erase("NoSuchLayout");
    layouts.erase("ServiceHorizontalLayout2");
    for (const auto& [layout, visible, rows, posts] : cases) {
        ui::PaintManager pm;
        std::string xml = "<VerticalLayout>";
        for (const std::string& name : layouts) xml += "<HorizontalLayout name=\"" + name + "\"/>";
        pm.AttachDialog(
            ui::DialogBuilder().CreateFromText(xml + "</VerticalLayout>", nullptr, &pm));
        for (const std::string& name : layouts) pm.FindControl(name)->SetVisible(!visible);
        model::ParamCatalogue catalogue;
        model::InitParamCatalogue(catalogue);
        for (auto& [name, row] : catalogue) row.shown = !visible;
        Posted posted;
        const auto post = [&](model::AdaptCase adaptCase, int param) {
            posted.emplace_back(static_cast<int>(adaptCase), param);
        };
        SetLayoutVisible(pm, catalogue, post, layout, visible);
        Names changed;
        for (const auto& [name, row] : catalogue) {
            if (row.shown == visible) changed.insert(name);
        }
        EXPECT_EQ(changed, rows) << layout << " " << visible;
        EXPECT_EQ(posted, posts) << layout << " " << visible;
        if (ui::Control* control = pm.FindControl(layout)) {
            EXPECT_EQ(control->IsVisible(), visible) << layout;
        }
    }
}

}  // namespace
}  // namespace form
