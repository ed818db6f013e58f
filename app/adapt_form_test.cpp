// The form adaptation on the real skin's layouts, driven through the window's own queue.
#include <gtest/gtest.h>

#include <set>

#include "app/report_loader_for_test.h"
#include "link/messages.h"

namespace app {
namespace {

using testing::LoadReport;
using testing::TestFrame;

class AdaptTest : public ::testing::Test {
  protected:
    void Load(const char* profile = "base",
              const std::function<void(sim::UnitState&)>& tweak = {}) {
        ASSERT_TRUE(t.created) << t.error;
        LoadReport(t, profile, tweak);
    }
    ui::Combo* List(const char* name) { return t.Find<ui::Combo>(name); }
    /// Selects item `index` the way a user does, and lets the form settle.
    void Choose(const char* list, int index) {
        ASSERT_NE(List(list), nullptr) << list;
        List(list)->SelectItem(index);
        t.loop->RunUntilIdle();
    }
    void ChooseText(const char* list, const std::string& text) {
        ui::Combo* combo = List(list);
        ASSERT_NE(combo, nullptr) << list;
        for (int i = 0; i < combo->GetCount(); ++i) {
            if (combo->GetItemText(i) == text) return Choose(list, i);
        }
        FAIL() << list << " has no item " << text;
    }
    bool Visible(const std::string& name) {
        ui::Control* c = t.Find(name);
        EXPECT_NE(c, nullptr) << name;
        return c && c->IsVisible();
    }
    int Height(const char* name) { return t.Find(name)->GetFixedHeight(); }
    std::string Rows(const std::string& prefix, int first, int last) {
        std::string s;
        for (int i = first; i <= last; ++i) s += Visible(prefix + std::to_string(i)) ? '1' : '0';
        return s;
    }
    std::string WorkModeText(int k) {
        return t.frame->LoadText("DIO workmode", "Text" + std::to_string(k));
    }

    TestFrame t;
};

TEST_F(AdaptTest, TheEVariantNeverShowsTheIoPage) {
    Load("7315_E");
    for (int adaptCase :
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 99}) {
        t.frame->PostAdaptForm(adaptCase, adaptCase == 16 ? 1 : 0);
        t.loop->RunUntilIdle();
        EXPECT_FALSE(t.frame->pages[model::kIoPage].shown) << adaptCase;
        EXPECT_FALSE(Visible("IOTab")) << adaptCase;
    }
    for (int item = 0; item < List("ActivateMethod")->GetCount(); ++item) {
        Choose("ActivateMethod", item);  // every method but DIO shows the header first
        EXPECT_FALSE(Visible("IOTab")) << item;
    }
}

TEST_F(AdaptTest, ServerCountZeroIsRefusedAndFallsBackToOne) {
    Load("base");
    t.dialogs = platform::ScriptedDialogs();
    Choose("ThePPPauthentication", 0);
    ASSERT_EQ(t.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(t.dialogs.Boxes()[0].text, t.frame->LoadText("Notify", "ServerCount"));
    EXPECT_EQ(t.dialogs.Boxes()[0].caption, "7315");
    EXPECT_EQ(List("ThePPPauthentication")->GetText(), "1");
    EXPECT_EQ(Rows("ServiceHorizontalLayout", 0, 6), "1100001");
    EXPECT_EQ(Height("ServiceGroupBox"), 110);
    EXPECT_EQ(Height("ServiceGroupBox2"), 110);
    EXPECT_TRUE(t.frame->catalogue.Find("Secondary Server's Ip")->shown);
}

TEST_F(AdaptTest, AUnitWithGpsMayHaveNoServer) {
    Load("gps");
    Choose("ThePPPauthentication", 0);
    EXPECT_TRUE(t.dialogs.Boxes().empty());
    EXPECT_EQ(Rows("ServiceHorizontalLayout", 0, 6), "0000001");
    EXPECT_EQ(Height("ServiceGroupBox"), 60);
    EXPECT_FALSE(t.frame->catalogue.Find("Server's Ip")->shown);
}

struct CountCase {
    int count;
    const char* rows;  // ServiceHorizontalLayout0..6
    int titles;
    int service;
    int service2;
};

TEST_F(AdaptTest, ServerCountsShowTheirRowsTitlesAndHeights) {
    Load("base");
    const CountCase cases[] = {
        {1, "1100001", 1, 110, 110}, {2, "1010000", 2, 110, 85}, {3, "1011000", 2, 135, 85},
        {4, "1011100", 2, 160, 85},  {5, "1011110", 2, 185, 85},
    };
    for (const CountCase& c : cases) {
        Choose("ThePPPauthentication", c.count);
        EXPECT_EQ(Rows("ServiceHorizontalLayout", 0, 6), c.rows) << c.count;
        const std::string suffix = std::to_string(c.titles);
        EXPECT_EQ(t.Find("ServerTitle")->GetText(),
                  t.frame->LoadText("ModeTabItemChange", "ServerTitle" + suffix));
        EXPECT_EQ(t.Find("Server's Label")->GetText(),
                  t.frame->LoadText("ModeTabItemChange", "Server's Label" + suffix));
        EXPECT_EQ(Height("ServiceGroupBox"), c.service) << c.count;
        EXPECT_EQ(Height("ServiceGroupBox2"), c.service2) << c.count;
        EXPECT_EQ(t.frame->catalogue.Find("Server3's Ip")->shown, c.count >= 3) << c.count;
    }
}

TEST_F(AdaptTest, AProtocolOtherThanTrnsOnlySetsTheHeights) {
    Load("base");
    std::map<std::string, bool> before;
    for (const auto& [name, row] : t.frame->catalogue) before[name] = row.shown;
    ChooseText("Protocolmodel", "MODBUS");
    EXPECT_EQ(Height("ModeGroupBox"), 60);
    for (const char* group : {"serialGroupbox", "serial2Groupbox", "serial3Groupbox"}) {
        EXPECT_EQ(Height(group), 110) << group;
    }
    for (const auto& [name, row] : t.frame->catalogue) EXPECT_EQ(row.shown, before[name]) << name;
}

// Cases 4, 5, 6 and 14: one row shown by its list, and its group's height.
TEST_F(AdaptTest, OptionalRowsFollowTheirListAndSizeTheirGroup) {
    Load("base");
    struct Case {
        const char* list;
        int item;
        const char* row;
        bool shown;
        const char* group;
        int height;
    };
    const char* const platform = "dtu is connect to dtu manage platform";
    const Case cases[] = {
        {"LCP ECHO", 0, "GlobalHorizontalLayout1", false, "PPPGroupBox", 60},
        {"LCP ECHO", 1, "GlobalHorizontalLayout1", true, "PPPGroupBox", 85},
        {"EXFUN", 1, "GlobalHorizontalLayout2", true, "ICMPGroupBox", 110},
        {"EXFUN", 0, "GlobalHorizontalLayout2", false, "ICMPGroupBox", 60},
        {platform, 1, "EquimentLayout1", true, "DtumanageGroupBox", 135},
        {platform, 0, "EquimentLayout1", false, "DtumanageGroupBox", 60},
        {"DTU SMS configure fun", 1, "EquimentLayout2", true, "DtumanageGroupBox1", 135},
        {"DTU SMS configure fun", 0, "EquimentLayout2", false, "DtumanageGroupBox1", 60},
    };
    for (const Case& c : cases) {
        Choose(c.list, c.item);
        EXPECT_EQ(Visible(c.row), c.shown) << c.list << " item " << c.item;
        EXPECT_EQ(Height(c.group), c.height) << c.list << " item " << c.item;
    }
}

TEST_F(AdaptTest, ServerAndClientDeviceModels) {
    Load("base");
    Choose("DeviceModel", 1);
    EXPECT_TRUE(Visible("ListenPort_HLayout"));
    for (const char* hidden :
         {"ServiceGroupBox", "ModeHorizontalLayout4", "ModeHorizontalLayout8",
          "bindingCenterGroupBox", "bindingCenterGroupBox2", "bindingCenterGroupBox3"}) {
        EXPECT_FALSE(Visible(hidden)) << hidden;
    }
    EXPECT_EQ(Height("ModeGroupBox"), 135);
    EXPECT_EQ(Height("serialGroupbox"), 85);
    EXPECT_FALSE(t.frame->catalogue.Find("A serial port binding center")->shown);
    Choose("DeviceModel", 0);
    EXPECT_FALSE(Visible("ListenPort_HLayout"));
    for (const char* shown : {"ServiceGroupBox", "ModeHorizontalLayout4", "bindingCenterGroupBox",
                              "bindingCenterGroupBox2", "bindingCenterGroupBox3"}) {
        EXPECT_TRUE(Visible(shown)) << shown;
    }
    EXPECT_TRUE(t.frame->catalogue.Find("A serial port binding center")->shown);
    EXPECT_EQ(Height("serialGroupbox"), 110);
    EXPECT_EQ(Height("ModeGroupBox"), List("RegistrationAndHeart")->GetCurSel() == 1 ? 235 : 160);
}

TEST_F(AdaptTest, MixedActivationPostsSeventeenThenEighteenAndShowsOnlyTheThirdChannel) {
    Load("base");
    for (const char* group : {"IO1GroupBox", "IO2GroupBox", "IO4GroupBox", "IO5GroupBox"}) {
        t.Find(group)->SetVisible(false);
    }
    List("ActivateMethod")->AddItem("MIXD");  // a skin may offer the mixed method
    t.frame->adaptTrace.clear();
    List("ActivateMethod")->SelectItem(List("ActivateMethod")->GetCount() - 1);
    t.frame->DispatchOne();  // case 1 alone
    EXPECT_TRUE(Visible("IO3GroupBox"));
    for (const char* group : {"IO1GroupBox", "IO2GroupBox", "IO4GroupBox", "IO5GroupBox"}) {
        EXPECT_FALSE(Visible(group)) << group;
    }
    EXPECT_EQ(Height("ActivateGroupBox"), 185);
    t.loop->RunUntilIdle();
    // Showing the third channel's group posts its panel case before the rule posts 17 and 18.
    ASSERT_GE(t.frame->adaptTrace.size(), 4u);
    EXPECT_EQ(std::vector<int>(t.frame->adaptTrace.begin(), t.frame->adaptTrace.begin() + 4),
              (std::vector<int>{1, 9, 17, 18}));
}

TEST_F(AdaptTest, IoSelectionMovesWorkModeItemFourAndIsStable) {
    Load("base", [](sim::UnitState& v) { v.SetValue("AT+DIOWORKMODE1", "4"); });
    ChooseText("ActivateMethod", "DIO");
    Choose("IO activation methods", 0);
    ASSERT_TRUE(t.Find("I/O selection")->IsShown());
    EXPECT_EQ(List("DIO1 workmode")->GetCurSel(), 4);
    Choose("I/O selection", 2);
    EXPECT_EQ(List("DIO1 workmode")->GetCurSel(), 0);
    EXPECT_EQ(List("DIO3 workmode")->GetCurSel(), 4);
    t.frame->adaptTrace.clear();
    t.frame->PostAdaptForm(10, 0);
    t.loop->RunUntilIdle();
    // Only the channel panels that showing the groups asks for follow; no selection changed.
    EXPECT_EQ(t.frame->adaptTrace, (std::vector<int>{10, 7, 8, 9, 20, 21}));
    EXPECT_EQ(List("DIO1 workmode")->GetCurSel(), 0);
    EXPECT_EQ(List("DIO3 workmode")->GetCurSel(), 4);
}

// What the rules would change when the user chooses it stays as the unit reports it: the form
// refuses "no server" only as the user's choice, and keeps work mode item 4 for one channel only
// when the user picks it.
TEST_F(AdaptTest, AReportedStateTheRulesWouldNotLetTheUserChooseIsKept) {
    Load("base", [](sim::UnitState& v) {
        v.SetValue("AT+SVRCNT", "0");
        v.SetValue("AT+ACTI", "DIO");
        v.SetValue("AT+IOACTMTH", "0");
        v.SetValue("AT+DIOWORKMODE1", "4");
        v.SetValue("AT+DIOWORKMODE3", "4");
    });
    ASSERT_TRUE(t.Find("I/O selection")->IsShown());
    EXPECT_TRUE(t.dialogs.Boxes().empty());
    EXPECT_EQ(List("ThePPPauthentication")->GetText(), "0");
    EXPECT_EQ(List("I/O selection")->GetCurSel(), 0);
    EXPECT_EQ(List("DIO1 workmode")->GetCurSel(), 4);
    EXPECT_EQ(List("DIO3 workmode")->GetCurSel(), 4);
    EXPECT_TRUE(testing::SaveLines(t).empty());
    Choose("ThePPPauthentication", 2);
    Choose("ThePPPauthentication", 0);  // the user's own choice is refused
    EXPECT_EQ(t.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(List("ThePPPauthentication")->GetText(), "1");
}

TEST_F(AdaptTest, RegisterTextsFollowTheHexChoice) {
    Load("base", [](sim::UnitState& v) {
        v.SetValue("AT+CONNRGST", "REG");
        v.SetValue("AT+LINKRGST", "PING");
    });
    EXPECT_EQ(t.Find("RegisterInfo")->GetText(), "REG");
    Choose("1RegisterIsHex", 1);
    for (const char* field :
         {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"}) {
        EXPECT_EQ(t.Find(field)->GetText(), "") << field;
    }
    Choose("1RegisterIsHex", 0);
    EXPECT_EQ(t.Find("RegisterInfo")->GetText(), "REG");
    EXPECT_EQ(t.Find("HeartbeatPacket")->GetText(), "PING");
}

TEST_F(AdaptTest, ChangingADataFormatEmptiesTheChannelTextsAndChangingBackRestoresThem) {
    Load("base");
    EXPECT_EQ(t.Find("DIO2 high level information")->GetText(), "HIGH2");
    Choose("The DIO2 data format", 1);
    EXPECT_EQ(t.Find("DIO2 high level information")->GetText(), "");
    EXPECT_EQ(t.Find("DIO2 query command")->GetText(), "");
    EXPECT_EQ(t.Find("DIO1 high level information")->GetText(), "HIGH1");
    Choose("The DIO2 data format", 0);
    EXPECT_EQ(t.Find("DIO2 high level information")->GetText(), "HIGH2");
}

struct PanelCase {
    int mode;           // Text1..Text7
    int protocol;       // item of "DIO1 protocol"
    const char* shown;  // .1 .2 .2.1 .3 .3.1 .3.2 .4 .4.1 .4.2 .5 .6 .7
    int height;
};

TEST_F(AdaptTest, EachWorkModeShowsItsRowsAndHeight) {
    Load("base");
    Choose("DIO1 interface", 0);
    Choose("DIO1 reported methods", 0);
    const PanelCase cases[] = {
        {1, 1, "000000000000", 35},  {2, 1, "110101110100", 135}, {2, 0, "110000000000", 60},
        {3, 1, "110000111100", 110}, {3, 0, "110000100000", 60},  {4, 1, "000000000010", 60},
        {5, 1, "000000000000", 35},  {6, 0, "000000000000", 35},  {7, 1, "110101110000", 110},
        {7, 0, "110000110000", 85},
    };
    const char* rows[] = {".1", ".2",   ".2.1", ".3", ".3.1", ".3.2",
                          ".4", ".4.1", ".4.2", ".5", ".6",   ".7"};
    for (const PanelCase& c : cases) {
        Choose("DIO1 protocol", c.protocol);
        ChooseText("DIO1 workmode", WorkModeText(c.mode));
        std::string shown;
        for (const char* row : rows) shown += Visible(std::string("IOLayout1") + row) ? '1' : '0';
        EXPECT_EQ(shown, c.shown) << "Text" << c.mode << " protocol " << c.protocol;
        EXPECT_EQ(Height("IO1GroupBox"), c.height) << "Text" << c.mode;
    }
}

TEST_F(AdaptTest, ReportMethodsAreRefilledOnlyAfterAWorkModeChange) {
    Load("base");
    ChooseText("DIO1 workmode", WorkModeText(2));
    Choose("DIO1 reported methods", 2);
    const std::string common = t.frame->LoadText("ComboElement_IO", "DIO reported methods Common");
    const std::string adc = t.frame->LoadText("ComboElement_IO", "DIO reported methods ADC");
    auto items = [&] {
        std::string all;
        for (int i = 0; i < List("DIO1 reported methods")->GetCount(); ++i) {
            all += (i ? ";" : "") + List("DIO1 reported methods")->GetItemText(i);
        }
        return all;
    };
    EXPECT_EQ(items(), common);
    Choose("DIO1 protocol", 1);  // another list of the channel: no refill
    EXPECT_EQ(List("DIO1 reported methods")->GetCurSel(), 2);
    ChooseText("DIO1 workmode", WorkModeText(7));
    EXPECT_EQ(items(), adc);
    EXPECT_EQ(List("DIO1 reported methods")->GetCurSel(), 2);  // the index still exists
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(AdaptTest, IoActivationMethodsPostTheActivationCaseThenTheChosenWays) {
    Load("base");
    t.frame->adaptTrace.clear();
    t.frame->lastItemSelectName.clear();
    List("IO activation methods")->SelectItem(-1);  // clears without an event
    List("IO activation methods")->SelectItem(0);
    List("IO activation methods")->SelectItem(1);
    // Only the four cases the selection itself posts, before any of them runs.
    for (int i = 0; i < 6; ++i) t.frame->DispatchOne();
    EXPECT_EQ(t.frame->adaptTrace, (std::vector<int>{1, 10, 1, 11, 12, 13}));
    EXPECT_EQ(t.frame->lastItemSelectName, "IO activation methods");
}

TEST_F(AdaptTest, ToggleButtonsSwapTheirImageNameBackAndForth) {
    Load("lora");
    ui::Control* toggle = t.Find("COM2Lora");
    ASSERT_NE(toggle, nullptr);
    const std::string first = toggle->GetAttribute("bkimage");
    ASSERT_NE(first.find("disable"), std::string::npos);
    static_cast<ui::Button*>(toggle)->Activate();
    EXPECT_EQ(toggle->GetAttribute("bkimage"), "switch_enable.png");
    static_cast<ui::Button*>(toggle)->Activate();
    EXPECT_EQ(toggle->GetAttribute("bkimage"), first);
}

TEST_F(AdaptTest, LeavingAServerAddressWithABlankWarnsAndKeepsTheText) {
    Load("base");
    ui::Control* ip = t.Find("Server2's Ip");
    ip->SetText("10.0.0.1 ");
    t.frame->paintManager.SetFocus(ip);
    t.frame->paintManager.SetFocus(t.Find("Server2's Port"));
    ASSERT_EQ(t.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(t.dialogs.Boxes()[0].text, t.frame->LoadText("Notify", "IpNotice"));
    EXPECT_EQ(t.dialogs.Boxes()[0].caption, "7315");
    EXPECT_EQ(ip->GetText(), "10.0.0.1 ");
    ip->SetText("10.0.0.1");
    t.frame->paintManager.SetFocus(ip);
    t.frame->paintManager.SetFocus(nullptr);
    EXPECT_EQ(t.dialogs.Boxes().size(), 1u);
}

}  // namespace
}  // namespace app
