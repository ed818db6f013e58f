#include "app/frame_wnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "app/test_frame.h"
#include "link/messages.h"
#include "platform/profile.h"

namespace app {
namespace {

using testing::TestFrame;

TEST(FrameWnd, StartsWithTheDisconnectedFormAndTheModelPages) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.loop->RunUntilIdle();
    EXPECT_FALSE(t.Find("IOTab")->IsVisible());
    EXPECT_FALSE(t.Find("GPSTab")->IsVisible());
    EXPECT_TRUE(t.Find("WorkModeTab")->IsVisible());
    EXPECT_EQ(t.Find<ui::TabLayout>("switch")->GetCurSel(), 0);
    EXPECT_FALSE(t.Find("Load")->IsEnabled());
    EXPECT_FALSE(t.Find("Login")->IsEnabled());
    EXPECT_TRUE(t.Find("Open")->IsEnabled());
    EXPECT_TRUE(t.Find("SerialPort")->IsEnabled());
    EXPECT_EQ(t.Find("DeviceState")->GetText(), t.frame->LoadText("SetDeviceState", "szLoginOff"));
    EXPECT_EQ(t.frame->logView->GetLimitText(), 300000);
}

TEST(FrameWnd, TitleTimerFillsTheLabelsOnceAfterAHundredMilliseconds) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.loop->RunFor(99);
    EXPECT_NE(t.Find("Ver")->GetText(), "7315_E ConfigureTool V1.2.3");
    t.loop->RunFor(2);
    EXPECT_EQ(t.Find("Ver")->GetText(), "7315_E ConfigureTool V1.2.3");
    EXPECT_EQ(t.Find("VerDown")->GetText(), "Halvorn 2018/12/11 V1.2.3");
    EXPECT_FALSE(t.frame->HasTimer(devlink::kTitleTimer));
}

TEST(FrameWnd, ChineseSkinWordsTheLabelsInChinese) {
    TestFrame t(1);
    ASSERT_TRUE(t.created) << t.error;
    t.loop->RunFor(150);
    EXPECT_EQ(t.Find("Ver")->GetText(), "7315_E 配置工具 V1.2.3");
    EXPECT_EQ(t.Find("VerDown")->GetText(), "Halvorn 2018年12月11日 V1.2.3");
}

TEST(FrameWnd, LogIsClearedWhenTheNextTextWouldReachTheLimit) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.frame->AppendLog(std::string(299990, 'x'));
    EXPECT_EQ(t.frame->logView->GetTextLength(), 299990);
    t.frame->AppendLog("0123456789");
    EXPECT_EQ(t.Log(), "0123456789");
    t.frame->AppendLog(std::string(299987, 'y'));  // 299997 < 299999: kept
    EXPECT_EQ(t.frame->logView->GetTextLength(), 299997);
}

TEST(FrameWnd, PostedLogTextsArriveInOrderFromAnotherThread) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i) t.frame->PostLogText(std::to_string(i) + ";");
    });
    poster.join();
    t.loop->RunUntilIdle();
    std::string expected;
    for (int i = 0; i < 50; ++i) expected += std::to_string(i) + ";";
    EXPECT_EQ(t.Log(), expected);
}

TEST(FrameWnd, WindowButtonsPostTheirCommands) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.loop->RunUntilIdle();
    t.Find<ui::Button>("maxbtn")->Activate();
    t.loop->RunUntilIdle();
    EXPECT_TRUE(t.screen.maximized);
    EXPECT_FALSE(t.Find("maxbtn")->IsVisible());
    EXPECT_TRUE(t.Find("restorebtn")->IsVisible());
    t.Find<ui::Button>("restorebtn")->Activate();
    t.loop->RunUntilIdle();
    EXPECT_FALSE(t.screen.maximized);
    EXPECT_TRUE(t.Find("maxbtn")->IsVisible());
    EXPECT_FALSE(t.Find("restorebtn")->IsVisible());
    t.Find<ui::Button>("minbtn")->Activate();
    t.loop->RunUntilIdle();
    EXPECT_EQ(t.screen.lastCommand, ui::SC_MINIMIZE);
    EXPECT_FALSE(t.frame->QuitRequested());
}

TEST(FrameWnd, CloseButtonAndSystemCloseEndTheLoop) {
    for (bool viaButton : {true, false}) {
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        if (viaButton) {
            t.Find<ui::Button>("closebtn")->Activate();
        } else {
            t.frame->PostMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
        }
        EXPECT_EQ(t.loop->Run(), 0);
        // The window is not torn down by the close: its tree is still there.
        EXPECT_NE(t.Find("richedit"), nullptr);
    }
}

TEST(FrameWnd, PageOptionsSwitchPagesByNameContainedInThePageName) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    auto* tabs = t.Find<ui::TabLayout>("switch");
    t.Find<ui::Option>("Server")->Activate();
    EXPECT_EQ(tabs->GetCurSel(), 1);
    t.Find<ui::Option>("Operation")->Activate();
    EXPECT_EQ(tabs->GetCurSel(), 9);
    t.Find<ui::Option>("WorkMode")->Activate();
    EXPECT_EQ(tabs->GetCurSel(), 0);
}

TEST(FrameWnd, TabScrollButtonsMoveTheHeaders) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    for (int i = 0; i < 10; ++i) t.frame->pages[i].shown = true;
    for (const char* page : model::kPageNames) t.Find(page)->SetVisible(true);
    // Ten headers of 100 do not fit the row: scrolling right hides those that overflow.
    const int room = t.Find("HorizontalLayoutUI6")->GetFixedWidth();
    ASSERT_LT(room, 1000);
    const int hidden = (1000 - room + 99) / 100;
    t.Find<ui::Button>("TabRight")->Activate();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.Find(model::kPageNames[i])->IsVisible(), i >= hidden);
    // Each click on the left button uncovers one header.
    for (int i = hidden - 1; i >= 0; --i) {
        t.Find<ui::Button>("TabLeft")->Activate();
        EXPECT_TRUE(t.Find(model::kPageNames[i])->IsVisible());
        if (i > 0) {
            EXPECT_FALSE(t.Find(model::kPageNames[i - 1])->IsVisible());
        }
    }
}

TEST(FrameWnd, ChoosingTheOtherLanguageStoresItAndQuits) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.loop->RunUntilIdle();
    auto* language = t.Find<ui::Combo>("Language");
    ASSERT_NE(language, nullptr);
    language->SelectItem(0);  // the language already in use: nothing happens
    t.loop->RunUntilIdle();
    EXPECT_FALSE(t.frame->QuitRequested());
    EXPECT_FALSE(std::filesystem::exists(t.settings.programFolder + "config.ini"));

    language->SelectItem(1);
    t.loop->RunUntilIdle();
    EXPECT_TRUE(t.frame->QuitRequested());
    EXPECT_TRUE(t.screen.hidden);
    EXPECT_EQ(platform::GetProfileString(t.settings.programFolder + "config.ini", "Set", "Language",
                                         "", 19),
              "1");
}

TEST(FrameWnd, HitTestDragsOnTheCaptionExceptOverButtonsOptionsAndTexts) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    const ui::Rect caption = t.frame->paintManager.GetCaptionRect();
    ASSERT_GT(caption.bottom, 0);
    ui::Control* label = t.Find("Ver");
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, label), HTCAPTION);
    EXPECT_EQ(t.frame->OnNcHitTest(10, caption.bottom, 1400, label), HTCLIENT);
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, t.Find("closebtn")), HTCLIENT);
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, t.Find("WorkMode")), HTCLIENT);
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, t.Find("DeviceState")), HTCLIENT);
    EXPECT_EQ(t.frame->OnNcHitTest(10, 5, 1400, nullptr), HTCLIENT);
}

TEST(FrameWnd, LayoutWithoutLogViewIsRefused) {
    const std::string folder = testing::MakeProgramFolder("nolog");
    std::ofstream(folder + "skin.xml") << "<Window><VerticalLayout><Label name=\"Ver\"/>"
                                          "</VerticalLayout></Window>";
    ui::PaintManager::SetResourcePath(folder);
    ui::ManualClock clock;
    platform::ScriptedDialogs dialogs;
    CK4X30FrameWnd frame(clock, dialogs, FrameSettings{});
    std::string error;
    EXPECT_FALSE(frame.Create(error));
    EXPECT_NE(error.find("richedit"), std::string::npos) << error;
    std::filesystem::remove_all(folder);
}

TEST(FrameWnd, MissingLayoutIsRefusedWithItsPath) {
    ui::PaintManager::SetResourcePath("/nonexistent/skin");
    ui::ManualClock clock;
    platform::ScriptedDialogs dialogs;
    CK4X30FrameWnd frame(clock, dialogs, FrameSettings{});
    std::string error;
    EXPECT_FALSE(frame.Create(error));
    EXPECT_NE(error.find("/nonexistent/skin/skin.xml"), std::string::npos) << error;
}

}  // namespace
}  // namespace app
