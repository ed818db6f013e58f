#include "app/frame_wnd.h"

#include <gtest/gtest.h>

#include "app/test_frame.h"
#include "link/messages.h"
#include "platform/profile.h"
#include "platform/temp_folder_for_test.h"
#include "sim/simulated_unit.h"

namespace app {
namespace {

using testing::TestFrame;

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(t.created) << t.error; }
    /// Raises an event of the control as the tree does, and runs what it posts.
    void Raise(const char* name, const char* type = "click") {
        ASSERT_NE(t.Find(name), nullptr) << name;
        t.frame->paintManager.SendNotify(t.Find(name), type);
        t.loop->RunUntilIdle();
    }

    TestFrame t;
};

// The title timer fills the labels once, after 100 ms; each skin's help box shows the help text
// of its own language.
TEST(FrameTitle, TheTimerFillsTheLabelsOnceWithTheHelpOfTheSkinsLanguage) {
    const std::tuple<int, const char*, const char*> skins[] = {
        {0, "7315_E ConfigureTool V1.2.3", "How to use"},
        {1, "7315_E 配置工具 V1.2.3", "使用说明"}};
    for (const auto& [language, title, help] : skins) {
        TestFrame t(language);
        ASSERT_TRUE(t.created) << t.error;
        t.loop->RunFor(99);
        EXPECT_NE(t.Find("Ver")->GetText(), title);
        t.loop->RunFor(2);
        EXPECT_EQ(t.Find("Ver")->GetText(), title);
        EXPECT_FALSE(t.frame->HasTimer(devlink::kTitleTimer));
        EXPECT_NE(t.Find("HelpRichEdit")->GetText().find(help), std::string::npos) << help;
    }
}

TEST_F(FrameTest, LogIsClearedWhenTheNextTextWouldReachTheLimitAndByClear) {
    t.frame->AppendLog(std::string(299990, 'x'));
    t.frame->AppendLog("0123456789");  // 300000 >= 299999: cleared first
    EXPECT_EQ(t.Log(), "0123456789");
    t.frame->AppendLog(std::string(299988, 'y'));  // 299998: kept
    EXPECT_EQ(t.frame->logView->GetTextLength(), 299998);
    t.frame->AppendLog("z");  // 299999: cleared
    EXPECT_EQ(t.Log(), "z");
    Raise("Clear");
    EXPECT_EQ(t.Log(), "");
}

// The unit is in configuration mode and no worker runs: each event leaves its job queued, and
// leaving a server address that holds a blank warns (twice below), keeping the text. The save
// dialog may name a new file; the open dialog (cancelled) asks for one that exists.
TEST_F(FrameTest, EventsQueueTheirExactLinesQuitLogsOutAtOnceAndAddressesAreChecked) {
    devlink::ButtonStateMsg::Post(*t.frame, true, devlink::kLoginGroup);
    t.loop->RunUntilIdle();
    ASSERT_TRUE(t.frame->link.LoggedIn());
    t.dialogs.SetNextFileName("/nonexistent/unit.cfg");
    t.dialogs.SetNextAnswers({0});  // the reset: "Restore"
    // The control, the event, "rfModel" for the clicks or the field's text for "killfocus",
    // the kind of the job queued (0: none) and its line.
    const std::tuple<const char*, const char*, const char*, int, const char*> cases[] = {
        {"Load", "click", "", 1, "\r\nAT+SHOW\r\n"},
        {"RestoreFactory", "click", "", 4, "\r\nAT+FACTORY\r\n"},
        {"SaveToFile", "click", "", 5, "\r\nAT+SHOW\r\n"},
        {"LoadFromFile", "click", "", 0, ""},
        {"READFILELOG", "click", "", 13, "at+READFILELOG\r\n"},
        {"CPIN", "click", "", 10, "\r\nAT+CIMI\r\n"},
        {"CPIN", "click", "EC200-BG96", 10, "\r\nAT+CPIN?\r\n"},
        {"CSQ", "click", "", 11, "At+CSQ\r\n"},
        {"GetVer", "click", "", 9, "At+VER\r\n"},
        {"AT+CCID", "click", "", 15, "AT+CCID\r\n"},
        {"Ver", "click", "", 0, ""},
        {"FINDNETMODE", "setfocus", "", 8, "AT+FINDNETMODE\r\n"},
        {"Server's Ip", "killfocus", "10.0.0.1 ", 0, ""},
        {"Server5's Ip", "killfocus", " x", 0, ""},
        {"Server's Ip", "killfocus", "10.0.0.1", 0, ""},
        {"quit", "click", "", 7, "\r\nat+quit\r\n"},
        {"FINDNETMODE", "setfocus", "", 0, ""}};  // logged out now
    for (const auto& [name, type, text, kind, line] : cases) {
        const bool leaving = std::string(type) == "killfocus";
        if (leaving) t.Find(name)->SetText(text);
        t.frame->rfModel = leaving ? "" : text;
        const size_t before = t.frame->link.PendingJobs().size();
        Raise(name, type);
        const std::vector<model::WorkerJob> jobs = t.frame->link.PendingJobs();
        ASSERT_EQ(jobs.size(), before + (kind ? 1 : 0)) << name;
        if (!kind) continue;
        EXPECT_EQ(static_cast<int>(jobs.back().jobKind), kind) << name;
        EXPECT_EQ(jobs.back().line, line) << name;
    }
    ASSERT_EQ(t.dialogs.FileDialogs().size(), 2u);
    EXPECT_FALSE(t.dialogs.FileDialogs()[0].mustExist);
    EXPECT_TRUE(t.dialogs.FileDialogs()[1].mustExist);
    EXPECT_FALSE(t.Find("Load")->IsEnabled());  // "quit" did not wait for the unit
    EXPECT_EQ(t.Find("Server5's Ip")->GetText(), " x");
    ASSERT_EQ(t.dialogs.Boxes().size(), 2u);
    EXPECT_EQ(t.dialogs.Boxes()[1].text, t.frame->LoadText("Notify", "IpNotice"));
    EXPECT_EQ(t.dialogs.Boxes()[1].caption, "7315_E");  // no report read yet
}

// Against a unit: the state line and a disabled button say why nothing can be done yet. The
// reset reaches the unit only when confirmed: "Cancel" sends nothing (a later command goes
// out first); "Save a .cfg first" writes the unit's report to the file, then asks again, and
// "Restore" sends the reset after it.
TEST(FactoryReset, OnlyAConfirmedResetReachesTheUnitAndSaveFirstWritesTheFileBefore) {
    sim::SimulatedUnit unit(*sim::FindProfile("base"), {.paced = false});
    ASSERT_TRUE(unit.Start());
    TestFrame t(0, nullptr, {unit.DevicePath()});
    ASSERT_TRUE(t.created) << t.error;
    ASSERT_TRUE(t.frame->link.StartWorker());
    t.loop->RunUntilIdle();
    EXPECT_EQ(t.Find("DeviceState")->GetText(), "Port closed");
    EXPECT_TRUE(
        t.Find("Save")->GetAttribute("tooltip").ends_with("\nOpen the port and log in first."));
    t.Find<ui::Button>("Open")->Activate();
    ASSERT_TRUE(t.Until([&] { return t.frame->link.LoggedIn(); })) << t.Log();
    EXPECT_EQ(t.Find("Save")->GetAttribute("tooltip"), "Write the changed parameters to the unit");

    t.dialogs.SetNextAnswers({2});  // "Cancel"
    t.Find<ui::Button>("RestoreFactory")->Activate();
    t.Find<ui::Button>("GetVer")->Activate();
    // Jobs go out in order: a reset queued before would have reached the unit first.
    ASSERT_TRUE(t.Until([&] { return unit.Received().find("At+VER") != std::string::npos; }));
    EXPECT_EQ(unit.Received().find("AT+FACTORY"), std::string::npos) << unit.Received();

    const platform::testing_support::TempFolder folder;
    const std::string file = folder.File("unit.cfg");
    t.dialogs.SetNextFileName(file);
    t.dialogs.SetNextAnswers({1, 0});
    t.Find<ui::Button>("RestoreFactory")->Activate();
    ASSERT_TRUE(t.Until([&] { return t.Log().find("settings restored.") != std::string::npos; }));
    ASSERT_EQ(t.dialogs.Questions().size(), 3u);
    EXPECT_NE(t.dialogs.Questions()[2].text.find(file), std::string::npos);
    EXPECT_GT(std::filesystem::file_size(file), 3000u);
    const std::string received = unit.Received();
    EXPECT_LT(received.find("AT+SHOW"), received.find("AT+FACTORY")) << received;
    t.frame->ShutDown();
}

TEST_F(FrameTest, WindowButtonsCarryOutTheirCommandsAndSwapMaximizeAndRestore) {
    for (const char* button : {"maxbtn", "restorebtn", "minbtn"}) {
        Raise(button);
        const bool maximized = std::string(button) == "maxbtn";
        EXPECT_EQ(t.screen.maximized, maximized);
        EXPECT_EQ(t.Find("maxbtn")->IsVisible(), !maximized);
        EXPECT_EQ(t.Find("restorebtn")->IsVisible(), maximized);
    }
    EXPECT_EQ(t.screen.lastCommand, ui::SC_MINIMIZE);
    EXPECT_FALSE(t.frame->QuitRequested());
}

TEST(FrameClose, CloseButtonAndSystemCloseEndTheLoopAndLeaveTheWindow) {
    for (bool viaButton : {true, false}) {
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        if (viaButton) t.Find<ui::Button>("closebtn")->Activate();
        if (!viaButton) t.frame->PostMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
        EXPECT_EQ(t.loop->Run(), 0);
        EXPECT_NE(t.Find("richedit"), nullptr);
    }
}

TEST_F(FrameTest, PageOptionsOpenThePageWhoseNameHoldsTheirsAndTabButtonsScroll) {
    for (const auto& [option, page] : {std::pair{"Server", 1}, {"Operation", 9}, {"WorkMode", 0}}) {
        Raise(option, "selectchanged");
        EXPECT_EQ(t.Find<ui::TabLayout>("switch")->GetCurSel(), page) << option;
    }
    // Ten headers of 100 overflow the row: scrolling right hides some, left uncovers one.
    for (int i = 0; i < 10; ++i) t.frame->pages[i].shown = true;
    for (const char* page : model::kPageNames) t.Find(page)->SetVisible(true);
    const int hidden = (1000 - t.Find("HorizontalLayoutUI6")->GetFixedWidth() + 99) / 100;
    Raise("TabRight");
    EXPECT_FALSE(t.Find(model::kPageNames[hidden - 1])->IsVisible());
    EXPECT_TRUE(t.Find(model::kPageNames[hidden])->IsVisible());
    Raise("TabLeft");
    EXPECT_TRUE(t.Find(model::kPageNames[hidden - 1])->IsVisible());
}

TEST_F(FrameTest, ChoosingTheOtherLanguageStoresItAndQuits) {
    const std::string config = t.settings.programFolder + "config.ini";
    Raise("Language", "itemselect");  // the language in use: nothing happens
    EXPECT_FALSE(t.frame->QuitRequested());
    EXPECT_FALSE(std::filesystem::exists(config));
    // A changed field: the switch asks first, naming it; unanswered, the list goes back.
    testing::LoadReport(t, "base");
    t.Find("Server's Port")->SetText("6001");
    t.Find<ui::Combo>("Language")->SelectItem(1);
    t.loop->RunUntilIdle();
    ASSERT_EQ(t.dialogs.Questions().size(), 1u);
    EXPECT_NE(t.dialogs.Questions()[0].text.find("1 changed fields"), std::string::npos);
    EXPECT_EQ(t.Find<ui::Combo>("Language")->GetCurSel(), 0);
    t.dialogs.SetNextAnswers({0});
    t.Find<ui::Combo>("Language")->SelectItem(1);
    t.loop->RunUntilIdle();
    EXPECT_TRUE(t.frame->QuitRequested());
    EXPECT_TRUE(t.screen.hidden);
    EXPECT_EQ(platform::GetProfileString(config, "Set", "Language", "", 19), "1");
}

TEST_F(FrameTest, HitTestDragsOnTheCaptionExceptOverButtonsOptionsAndTexts) {
    const ui::Rect caption = t.frame->paintManager.GetCaptionRect();  // 0, 0, 0, 40
    ui::Control* label = t.Find("Ver");
    EXPECT_EQ(t.frame->OnNcHitTest(caption.left, caption.bottom - 1, 1400, label), HTCAPTION);
    EXPECT_EQ(t.frame->OnNcHitTest(10, caption.bottom, 1400, label), HTCLIENT);
    EXPECT_EQ(t.frame->OnNcHitTest(1400 - caption.right, 5, 1400, label), HTCLIENT);
    for (const char* name : {"closebtn", "WorkMode", "DeviceState"}) {
        EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, t.Find(name)), HTCLIENT) << name;
    }
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, nullptr), HTCLIENT);
}

}  // namespace
}  // namespace app
