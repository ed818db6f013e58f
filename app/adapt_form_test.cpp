// The form adaptation on the real skin's layouts, driven through the window's own queue. The
// expected rows and heights are the rule tables as the unit's makers wrote them down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/test_frame.h"

namespace app {
namespace {

using testing::LoadReport;
using testing::TestFrame;

/// One step of a rule table: choose `item` (an index, or an item's text) in `list`, then the
/// table's controls are shown ('1') or hidden ('0') as `shown` says (when given), and each
/// expectation of `expect` holds: "+Name" shown, "-Name" hidden, "Name=85" its height,
/// "Name:text" its text; separated by '|'.
struct Step {
    const char* list;
    std::string item;
    const char* shown;
    std::string expect;
};

std::vector<std::string> Names(const std::string& prefix, std::vector<std::string> suffixes) {
    for (std::string& s : suffixes) s = prefix + s;
    return suffixes;
}

class AdaptTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(t.created) << t.error; }
    ui::Combo* List(const char* name) { return t.Find<ui::Combo>(name); }
    /// Selects the item the way a user does (an event even for the item shown), and lets the
    /// form settle.
    void Choose(const char* list, const std::string& item) {
        ui::Combo* combo = List(list);
        ASSERT_NE(combo, nullptr) << list;
        int index = std::isdigit(static_cast<unsigned char>(item[0])) ? std::stoi(item) : -1;
        for (int i = 0; index < 0 && i < combo->GetCount(); ++i) {
            if (combo->GetItemText(i) == item) index = i;
        }
        ASSERT_GE(index, 0) << list << " has no item " << item;
        combo->SelectItem(-1);  // silent
        combo->SelectItem(index);
        t.loop->RunUntilIdle();
    }
    bool Visible(const std::string& name) {
        ui::Control* c = t.Find(name);
        EXPECT_NE(c, nullptr) << name;
        return c && c->IsVisible();
    }
    std::string Pattern(const std::vector<std::string>& names) {
        std::string s;
        for (const std::string& name : names) s += Visible(name) ? '1' : '0';
        return s;
    }
    void Run(const std::vector<std::string>& names, const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            Choose(s.list, s.item);
            const std::string where = std::string(s.list) + " " + s.item;
            EXPECT_TRUE(!s.shown || Pattern(names) == s.shown) << where << ": " << Pattern(names);
            std::istringstream in(s.expect);
            for (std::string e; std::getline(in, e, '|');) {
                if (e[0] == '+' || e[0] == '-') {
                    EXPECT_EQ(Visible(e.substr(1)), e[0] == '+') << where << ": " << e;
                    continue;
                }
                const size_t at = e.find_first_of("=:");
                ui::Control* c = t.Find(e.substr(0, at));
                ASSERT_NE(c, nullptr) << e;
                const std::string is =
                    e[at] == '=' ? std::to_string(c->GetFixedHeight()) : c->GetText();
                EXPECT_EQ(is, e.substr(at + 1)) << where << ": " << e;
            }
        }
    }
    /// The five channels' work mode items.
    std::string WorkModes() {
        std::string s;
        for (int n = 1; n <= 5; ++n) {
            s += std::to_string(
                List(("DIO" + std::to_string(n) + " workmode").c_str())->GetCurSel());
        }
        return s;
    }
    std::string WorkMode(int k) {
        return t.frame->LoadText("DIO workmode", "Text" + std::to_string(k));
    }

    TestFrame t;
};

// The final step of every case: the page "IOTab" exists exactly for the base model.
TEST_F(AdaptTest, TheEVariantNeverShowsTheIoPage) {
    LoadReport(t, "7315_E");
    for (int adaptCase : {0, 1, 3, 7, 10, 11, 16, 17, 18, 19, 22, 99}) {
        t.frame->PostAdaptForm(static_cast<model::AdaptCase>(adaptCase), adaptCase == 16 ? 1 : 0);
        t.loop->RunUntilIdle();
        EXPECT_FALSE(t.frame->pages[model::kIoPage].shown || Visible("IOTab")) << adaptCase;
    }
    Run({}, {{"ActivateMethod", "AUTO", nullptr, "-IOTab"}});  // its rule shows the header first
}

TEST_F(AdaptTest, ServerCountsShowTheirRowsTitlesAndHeightsAndNoneIsRefused) {
    LoadReport(t, "base");
    const std::string one =
        "ServiceGroupBox=110|ServiceGroupBox2=110|ServerTitle:Main and "
        "secondary server|Server's Label:Main server|ThePPPauthentication:1";
    const std::string list = "|ServerTitle:Server list|Server's Label:Server 1|ServiceGroupBox2=85";
    Run(Names("ServiceHorizontalLayout", {"0", "1", "2", "3", "4", "5", "6"}),
        {{"ThePPPauthentication", "0", "1100001", one},  // refused: back to one
         {"ThePPPauthentication", "2", "1010000", "ServiceGroupBox=110" + list},
         {"ThePPPauthentication", "5", "1011110", "ServiceGroupBox=185" + list},
         {"ThePPPauthentication", "1", "1100001", one}});
    ASSERT_EQ(t.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(t.dialogs.Boxes()[0].text, t.frame->LoadText("Notify", "ServerCount"));
    EXPECT_EQ(t.dialogs.Boxes()[0].caption, "7315");
}

TEST_F(AdaptTest, AUnitWithGpsMayHaveNoServer) {
    LoadReport(t, "gps");
    Run(Names("ServiceHorizontalLayout", {"0", "1", "2", "3", "4", "5", "6"}),
        {{"ThePPPauthentication", "0", "0000001",
          "ServiceGroupBox=60|ServiceGroupBox2=110|ThePPPauthentication:0"}});
    EXPECT_TRUE(t.dialogs.Boxes().empty());
    EXPECT_FALSE(t.frame->catalogue.Find("Server's Ip")->shown);
}

// A count the list does not hold selects nothing: the groups take their smallest heights.
TEST_F(AdaptTest, AServerCountTheListLacksLeavesTheGroupsSmall) {
    LoadReport(t, "base", [](sim::UnitState& s) { s.SetValue("AT+SVRCNT", "9"); });
    EXPECT_EQ(List("ThePPPauthentication")->GetCurSel(), -1);
    EXPECT_EQ(t.Find("ServiceGroupBox")->GetFixedHeight(), 60);
    EXPECT_EQ(t.Find("ServiceGroupBox2")->GetFixedHeight(), 110);
}

TEST_F(AdaptTest, DeviceModelsShowTheirRowsAndSizeTheGroups) {
    LoadReport(t, "base");
    List("DeviceModel")->AddItem("OTHER");
    const std::vector<std::string> names = {"ListenPort_HLayout",     "ServiceGroupBox",
                                            "ModeHorizontalLayout4",  "ModeHorizontalLayout6",
                                            "ModeHorizontalLayout7",  "ModeHorizontalLayout8",
                                            "bindingCenterGroupBox",  "bindingCenterGroupBox2",
                                            "bindingCenterGroupBox3", "HorizontalLayout_Prefix"};
    const std::string narrow = "|serialGroupbox=85|serial2Groupbox=85|serial3Groupbox=85";
    const std::string wide = "|serialGroupbox=110|serial2Groupbox=110|serial3Groupbox=110";
    Run(names, {{"RegistrationAndHeart", "1", nullptr, ""},
                {"DeviceModel", "1", "1000000001", "ModeGroupBox=135" + narrow},
                {"DeviceModel", "0", "0111111111", "ModeGroupBox=235" + wide},
                {"DeviceModel", "OTHER", "0000000001", "ModeGroupBox=110" + narrow},
                {"RegistrationAndHeart", "0", nullptr, ""},
                {"DeviceModel", "0", "0110001111", "ModeGroupBox=160" + wide},
                // Another protocol than "TRNS" only sets the heights.
                {"Protocolmodel", "MODBUS", "0110001111", "ModeGroupBox=60" + wide}});
    EXPECT_TRUE(t.frame->catalogue.Find("A serial port binding center")->shown);
}

TEST_F(AdaptTest, ActivationMethodsShowTheirRowsAndSizeTheGroup) {
    LoadReport(t, "base");
    for (const char* text : {"SMSD", "CTRL", "MIXD", "NONE"}) List("ActivateMethod")->AddItem(text);
    // The DIO method after one that showed rows 6.1 and 6.1.2.
    Run(Names("ActivateHorizontalLayout",
              {"1", "2", "3", "4", "5", "6", "7", "8", "9", "6.1", "6.1.1", "6.1.2", "_ALARM"}),
        {{"ActivateMethod", "AUTO", "0000000000000", "ActivateGroupBox=60"},
         {"ActivateMethod", "SMSD", "1000000101010", "ActivateGroupBox=110"},
         {"IO activation methods", "0", nullptr, ""},
         {"ActivateMethod", "DIO", "0001100000000", "ActivateGroupBox=110"},
         {"ActivateMethod", "CTRL", "1000001000000", "ActivateGroupBox=85"},
         {"ActivateMethod", "DATA", "0110000000000", "ActivateGroupBox=110"},
         {"ActivateMethod", "MIXD", "1110001111010", "ActivateGroupBox=185"},
         {"IO activation methods", "1", nullptr, ""},
         {"ActivateMethod", "DIO", "0001000000000", "ActivateGroupBox=85"},
         {"ActivateMethod", "ALARM", "0000000000001", "ActivateGroupBox=85"},
         {"ActivateMethod", "NONE", "0000000000001", "ActivateGroupBox=60"}});
}

TEST_F(AdaptTest, MixedActivationAndIoActivationMethodsPostTheirCasesInOrder) {
    LoadReport(t, "base");
    const auto groups =
        Names("IO", {"1GroupBox", "2GroupBox", "3GroupBox", "4GroupBox", "5GroupBox"});
    for (const std::string& group : groups) t.Find(group)->SetVisible(false);
    List("ActivateMethod")->AddItem("MIXD");  // a skin may offer the mixed method
    t.frame->adaptTrace.clear();
    List("ActivateMethod")->SelectItem(List("ActivateMethod")->GetCount() - 1);
    t.frame->DispatchOne();  // case 1 alone
    EXPECT_EQ(Pattern(groups), "00100");
    t.loop->RunUntilIdle();
    // Showing the third channel's group posts its panel case before the rule posts 17 and 18.
    t.frame->adaptTrace.resize(4);
    EXPECT_EQ(t.frame->adaptTrace, (std::vector<int>{1, 9, 17, 18}));
    // "IO activation methods" posts the activation case, then the rule of the chosen way; all
    // four before any of them runs.
    t.frame->adaptTrace.clear();
    List("IO activation methods")->SelectItem(-1);  // clears without an event
    List("IO activation methods")->SelectItem(0);
    List("IO activation methods")->SelectItem(1);
    for (int i = 0; i < 6; ++i) t.frame->DispatchOne();
    EXPECT_EQ(t.frame->adaptTrace, (std::vector<int>{1, 10, 1, 11, 12, 13}));
}

TEST_F(AdaptTest, OneListRulesShowTheirRowAndSizeTheirGroup) {
    LoadReport(t, "base");
    // The rows of the I/O controls and modes, as a skin may show them.
    for (const char* row : {"6", "6.1", "6.1.1", "9"}) {
        t.Find(std::string("ActivateHorizontalLayout") + row)->SetVisible(true);
    }
    Run({}, {{"Debug Level", "0", nullptr, "-DebugHorizontalLayout1"},
             {"Debug Level", "2", nullptr, "+DebugHorizontalLayout1"},
             {"LCP ECHO", "1", nullptr, "+GlobalHorizontalLayout1|PPPGroupBox=85"},
             {"LCP ECHO", "0", nullptr, "-GlobalHorizontalLayout1|PPPGroupBox=60"},
             {"EXFUN", "1", nullptr, "+GlobalHorizontalLayout2|ICMPGroupBox=110"},
             {"dtu is connect to dtu manage platform", "1", nullptr, "DtumanageGroupBox=135"},
             {"DTU SMS configure fun", "1", nullptr, "+EquimentLayout2|DtumanageGroupBox1=135"},
             {"DTU SMS configure fun", "0", nullptr, "-EquimentLayout2|DtumanageGroupBox1=60"},
             {"I/O1 control", "5", nullptr, "-IO1GroupBox"},
             {"I/O1 control", "6", nullptr, "+IO1GroupBox"},
             {"I/O2 Mode", "1", nullptr, "-IO2GroupBox"},
             {"I/O1 Mode", "0", nullptr, "+IO1GroupBox"},
             {"I/O1 control", "5", nullptr, "-IO1GroupBox"},
             {"ActivateMethod", "DATA", nullptr, "+IO1GroupBox|+IO5GroupBox"}});
}

struct IoSelectionCase {
    int item;
    const char* workModes;            // the five channels' work mode items afterwards
    std::vector<std::string> writes;  // what "Save" writes then, sorted
};

class IoSelectionTest : public AdaptTest, public ::testing::WithParamInterface<IoSelectionCase> {};

// Whichever channel the user picks, the first included, takes work mode item 4 (I/O activation)
// from the channels that had it, and "Save" writes just those work modes.
TEST_P(IoSelectionTest, ThePickedChannelAloneTakesWorkModeItemFour) {
    LoadReport(t, "base", [](sim::UnitState& v) {
        v.SetValue("AT+ACTI", "DIO");
        v.SetValue("AT+IOACTMTH", "0");
        for (int n = 1; n <= 5; ++n) {
            v.SetValue("AT+DIOWORKMODE" + std::to_string(n), std::string(1, "04142"[n - 1]));
        }
    });
    // A selection the report made leaves the unit's work modes as they are.
    ASSERT_TRUE(t.Find("I/O selection")->IsShown());
    EXPECT_EQ(WorkModes(), "04142");
    EXPECT_TRUE(testing::SaveLines(t).empty());
    Choose("I/O selection", std::to_string(GetParam().item));
    EXPECT_EQ(WorkModes(), GetParam().workModes);
    std::vector<std::string> writes = testing::SaveLines(t);
    std::sort(writes.begin(), writes.end());
    EXPECT_EQ(writes, GetParam().writes);
}

// The unit's channels had the work modes 0 4 1 4 2.
const IoSelectionCase kIoSelectionCases[] = {
    {0, "40102", {"AT+DIOWORKMODE1=4\r\n", "AT+DIOWORKMODE2=0\r\n", "AT+DIOWORKMODE4=0\r\n"}},
    {1, "04102", {"AT+DIOWORKMODE4=0\r\n"}},
    {2, "00402", {"AT+DIOWORKMODE2=0\r\n", "AT+DIOWORKMODE3=4\r\n", "AT+DIOWORKMODE4=0\r\n"}},
    {3, "00142", {"AT+DIOWORKMODE2=0\r\n"}},
    {4, "00104", {"AT+DIOWORKMODE2=0\r\n", "AT+DIOWORKMODE4=0\r\n", "AT+DIOWORKMODE5=4\r\n"}},
};

INSTANTIATE_TEST_SUITE_P(Items, IoSelectionTest, ::testing::ValuesIn(kIoSelectionCases),
                         [](const auto& info) { return "Item" + std::to_string(info.param.item); });

// A change of the list empties the texts that depend on it; back at the unit's value, they show
// the unit's texts again, so a "Load" and "Save" never erases them.
TEST_F(AdaptTest, TextsEmptiedByAListComeBackWithTheUnitsValue) {
    LoadReport(t, "base", [](sim::UnitState& v) {
        v.SetValue("AT+CONNRGST", "REG");
        v.SetValue("AT+CONNRGSTREP", "REGOK");
        v.SetValue("AT+LINKRGST", "PING");
        v.SetValue("AT+LINKRGSTREP", "PONG");
        v.SetValue("AT+HEXLOGIN", "0");
    });
    const char* dio2 =
        "DIO2 query command:|DIO2 output control result:|DIO2 high level "
        "information:|DIO2 low level information:|DIO1 high level information:HIGH1";
    Run({}, {{"1RegisterIsHex", "1", nullptr,
              "RegisterInfo:|RegistrationReplyInfo:|HeartbeatPacket:|HeartbeatPacketReplyInfo:"},
             {"1RegisterIsHex", "0", nullptr,
              "RegisterInfo:REG|RegistrationReplyInfo:REGOK|HeartbeatPacket:PING|"
              "HeartbeatPacketReplyInfo:PONG"},
             {"The DIO2 data format", "1", nullptr, dio2},
             {"The DIO2 data format", "0", nullptr,
              "DIO2 query command:QUERY2|DIO2 output control result:DONE2|DIO2 high level "
              "information:HIGH2|DIO2 low level information:LOW2"}});
}

TEST_F(AdaptTest, EachWorkModeShowsItsRowsAndHeight) {
    LoadReport(t, "base");
    Run(Names("IOLayout1",
              {".1", ".2", ".2.1", ".3", ".3.1", ".3.2", ".4", ".4.1", ".4.2", ".5", ".6", ".7"}),
        {{"DIO1 interface", "0", nullptr, ""},
         {"DIO1 reported methods", "0", nullptr, ""},
         {"DIO1 protocol", "1", nullptr, ""},
         {"DIO1 workmode", WorkMode(1), "000000000000", "IO1GroupBox=35"},
         {"DIO1 workmode", WorkMode(2), "110101110100", "IO1GroupBox=135"},
         {"DIO1 workmode", WorkMode(3), "110000111100", "IO1GroupBox=110"},
         {"DIO1 workmode", WorkMode(4), "000000000010", "IO1GroupBox=60"},
         {"DIO1 workmode", WorkMode(5), "000000000000", "IO1GroupBox=35"},
         {"DIO1 workmode", WorkMode(7), "110101110000", "IO1GroupBox=110"},
         {"DIO1 protocol", "0", nullptr, ""},
         {"DIO1 workmode", WorkMode(2), "110000000000", "IO1GroupBox=60"},
         {"DIO1 workmode", WorkMode(3), "110000100000", "IO1GroupBox=60"},
         {"DIO1 workmode", WorkMode(6), "000000000000", "IO1GroupBox=35"},
         {"DIO1 workmode", WorkMode(7), "110000110000", "IO1GroupBox=85"}});
}

// The list of report methods is refilled when the work mode changes, and keeps its index.
TEST_F(AdaptTest, ReportMethodsAreRefilledOnlyAfterAWorkModeChange) {
    LoadReport(t, "base");
    Run({}, {{"DIO1 workmode", WorkMode(2), nullptr, ""},
             {"DIO1 reported methods", "0", nullptr, "DIO1 reported methods:Query"},
             {"DIO1 reported methods", "2", nullptr, "DIO1 reported methods:Report on change"}});
    List("DIO1 reported methods")->AddItem("mine");
    Run({}, {{"DIO1 protocol", "1", nullptr, "DIO1 reported methods:Report on change"}});
    EXPECT_EQ(List("DIO1 reported methods")->GetCount(), 4);  // not refilled
    Run({}, {{"DIO1 workmode", WorkMode(7), nullptr, "DIO1 reported methods:Threshold report"}});
    EXPECT_EQ(List("DIO1 reported methods")->GetCount(), 3);
}

}  // namespace
}  // namespace app
