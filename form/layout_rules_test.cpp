#include "form/layout_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "ui/dialog_builder.h"

namespace form {
namespace {

class LayoutRulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model::InitParamCatalogue(catalogue);
        // One control per name the tests touch; the rules need only the names.
        std::string xml = "<VerticalLayout>";
        for (const char* name :
             {"ServiceGroupBox", "IO4GroupBox", "ActivateHorizontalLayout5", "IOTab",
              "ActivateGroupBox", "ModeHorizontalLayout8", "bindingCenterGroupBox3", "IOLayout4.3",
              "ModeHorizontalLayout3"}) {
            xml += std::string("<HorizontalLayout name=\"") + name + "\"/>";
        }
        pm.AttachDialog(builder.CreateFromText(xml + "</VerticalLayout>", nullptr, &pm));
    }
    void Set(const char* name, bool visible) {
        SetLayoutVisible(
            pm, catalogue, [this](int c, int p) { posted.emplace_back(c, p); }, name, visible);
    }
    std::map<std::string, bool> Flags() const {
        std::map<std::string, bool> flags;
        for (const auto& [name, row] : catalogue) flags[name] = row.shown;
        return flags;
    }
    bool Shown(const char* name) const { return catalogue.Find(name)->shown; }

    ui::DialogBuilder builder;
    ui::PaintManager pm;
    model::ParamCatalogue catalogue;
    std::vector<std::pair<int, int>> posted;
};

TEST_F(LayoutRulesTest, HidingTheServiceGroupClearsOnlyTheOtherServers) {
    catalogue.SetShown("Server's Ip", false);
    Set("ServiceGroupBox", false);
    EXPECT_FALSE(pm.FindControl("ServiceGroupBox")->IsVisible());
    for (const char* name :
         {"Secondary Server's Ip", "Secondary Server's Port", "Server2's Ip", "Server5's Port"}) {
        EXPECT_FALSE(Shown(name)) << name;
    }
    EXPECT_FALSE(Shown("Server's Ip"));  // kept as it was
    EXPECT_TRUE(Shown("Server's Port"));
    EXPECT_TRUE(posted.empty());
    Set("ServiceGroupBox", true);
    EXPECT_EQ(posted, (std::vector<std::pair<int, int>>{{3, 0}}));
    EXPECT_TRUE(Shown("Server's Ip"));
    EXPECT_TRUE(Shown("Server's Port"));
    EXPECT_FALSE(Shown("Server2's Ip"));  // left to the server count
}

TEST_F(LayoutRulesTest, DioGroupShowsItsWorkModeAndPostsItsCase) {
    Set("IO4GroupBox", false);
    EXPECT_FALSE(Shown("DIO4 workmode"));
    EXPECT_FALSE(Shown("DIO4 reported methods"));
    EXPECT_FALSE(Shown("DIO4 output control result"));
    EXPECT_TRUE(Shown("DIO3 reported methods"));
    Set("IO4GroupBox", true);
    EXPECT_EQ(posted, (std::vector<std::pair<int, int>>{{20, 0}}));
    EXPECT_TRUE(Shown("DIO4 workmode"));
    EXPECT_FALSE(Shown("DIO4 reported methods"));  // its panel rule decides
}

TEST_F(LayoutRulesTest, IoSelectionRowPostsItsCaseOnlyWhenShown) {
    Set("ActivateHorizontalLayout5", false);
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(Shown("I/O selection"));
    Set("ActivateHorizontalLayout5", true);
    EXPECT_EQ(posted, (std::vector<std::pair<int, int>>{{10, 0}}));
    EXPECT_TRUE(Shown("I/O selection"));
}

TEST_F(LayoutRulesTest, HidingTheActivationGroupClearsItsRows) {
    Set("ActivateGroupBox", false);
    for (const char* name : {"SMSActivationNO.", "ActivationPhoneNO.", "I/O3 control",
                             "IO activation methods", "RegisterInfo", "Offline data"}) {
        EXPECT_FALSE(Shown(name)) << name;
    }
    Set("ActivateGroupBox", true);
    EXPECT_TRUE(Shown("SMSActivationNO."));
    EXPECT_FALSE(Shown("ActivationPhoneNO."));
    EXPECT_EQ(posted, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(LayoutRulesTest, PlainLayoutsAndChannelRowsFollowTheirRows) {
    Set("ModeHorizontalLayout8", false);
    for (const char* name :
         {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"}) {
        EXPECT_FALSE(Shown(name)) << name;
    }
    Set("IOLayout4.3", false);
    EXPECT_FALSE(Shown("DIO4 reported methods"));
    EXPECT_TRUE(Shown("DIO4 reported times"));
}

TEST_F(LayoutRulesTest, NamesWithoutRowsOrWithoutControlsChangeNoRow) {
    const auto before = Flags();
    Set("IOTab", false);                   // a tab header: visibility only
    Set("ModeHorizontalLayout3", false);   // a layout without rows
    Set("bindingCenterGroupBox3", false);  // its row has no catalogue entry
    EXPECT_FALSE(pm.FindControl("IOTab")->IsVisible());
    EXPECT_EQ(Flags(), before);
    EXPECT_EQ(catalogue.Size(), 185u);
    Set("NoSuchLayout", false);
    Set("ServiceHorizontalLayout2", false);  // in the table, but not in this form
    EXPECT_EQ(Flags(), before);
    EXPECT_TRUE(posted.empty());
}

}  // namespace
}  // namespace form
