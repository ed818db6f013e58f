// What the window keeps for the user: the connection and the .cfg folder chosen again at the
// next start, the name proposed for a saved file, and the values it questions before "Save".
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/test_frame.h"
#include "serial/fake_device_source_for_test.h"

namespace app {
namespace {

using testing::TestFrame;

/// One start of the desktop program on `devices` with its settings in `folder`.
struct Start {
    Start(const std::string& folder, serial::DeviceSource& devices) {
        FrameSettings settings{0, folder, std::string(DTU_SKIN_DIR) + "/../", "", {}, {}};
        frame = MakeFrame(clock, dialogs, settings, error,
                          [&](CK4X30FrameWnd& f) { f.link.Ports().UseDeviceSource(&devices); });
        if (frame) frame->RememberSettings();
    }
    ui::Combo& List(const char* name) { return *frame->paintManager.Find<ui::Combo>(name); }
    void Choose(const char* list, const char* text) {
        for (int i = 0; i < List(list).GetCount(); ++i) {
            if (List(list).GetItemText(i) == text) List(list).SelectItem(i);
        }
    }
    ui::ManualClock clock;
    platform::ScriptedDialogs dialogs;
    std::string error;
    std::unique_ptr<CK4X30FrameWnd> frame;
};

// The adapter chosen comes back at the next start under another node (found by its by-id
// link), with the baud rate, the format and the folder of the last .cfg file.
TEST(Remembered, TheConnectionAndTheFolderAreChosenAgainAtTheNextStart) {
    const std::string folder = testing::MakeProgramFolder("remember");
    std::filesystem::create_directories(folder + "site files");
    serial::testing::FakeDeviceSource devices;
    devices.Add({"/dev/ttyUSB0", "/dev/serial/by-id/usb-A-if00"});
    devices.Add({"/dev/ttyUSB1", "/dev/serial/by-id/usb-B-if00"});
    {
        Start first(folder, devices);
        ASSERT_TRUE(first.frame) << first.error;
        EXPECT_EQ(first.List("SerialPort").GetText(), "/dev/ttyUSB0");
        first.Choose("SerialPort", "/dev/ttyUSB1");
        first.Choose("BaudRate1", "9600");
        first.Choose("Checkcode", "8E1");
        first.dialogs.SetNextFileName(folder + "site files/a.cfg");
        first.frame->LoadConfigFile();
    }
    devices.Remove("/dev/ttyUSB1");
    devices.Add({"/dev/ttyUSB2", "/dev/serial/by-id/usb-B-if00"});
    Start next(folder, devices);
    ASSERT_TRUE(next.frame) << next.error;
    EXPECT_EQ(next.List("SerialPort").GetText(), "/dev/ttyUSB2");
    EXPECT_EQ(next.List("BaudRate1").GetText(), "9600");
    EXPECT_EQ(next.List("Checkcode").GetText(), "8E1");
    next.frame->SaveConfigFile();
    ASSERT_EQ(next.dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(next.dialogs.FileDialogs()[0].initialFolder, folder + "site files");
    std::filesystem::remove_all(folder);
}

// The unit's ID from its report, the date of the window's clock, bytes a file name trips over
// replaced; no report, no ID.
TEST(Remembered, TheSaveDialogProposesModelDeviceIdAndDate) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "7315_E_20261207.cfg"},
        {"13900001111", "7315_E_13900001111_20261207.cfg"},
        {"a/b c:*?", "7315_E_a_b_c____20261207.cfg"},
        {"../x", "7315_E__x_20261207.cfg"},
        {"站点7", "7315_E_站点7_20261207.cfg"},
    };
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.manualClock.SetWallTime(1796644800000);  // 2026-12-07 12:00 UTC
    for (const auto& [id, name] : cases) {
        t.frame->catalogue.SetValue("Modem'sID number", id);
        EXPECT_EQ(t.frame->ProposedConfigName(), name) << id;
    }
}

// A bad address and a port out of range are marked as typed, a good value is not; "Save"
// names them and sends nothing unless the answer is "Send anyway", which sends the very lines
// "Save" plans.
TEST(Checked, BadValuesAreMarkedAndSaveAsksBeforeSendingThem) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    LoadReport(t, "base");
    t.Find("Server's Ip")->SetText("256.1.1.1");
    t.Find("Server's Port")->SetText("65536");
    t.Find("Secondary Server's Ip")->SetText("backup.example.com");
    t.loop->RunFor(5);  // the marks follow 1 ms later
    EXPECT_NE(t.Find("Server's Ip")->InvalidReason(), "");
    EXPECT_NE(t.Find("Server's Port")->InvalidReason().find("65535"), std::string::npos);
    EXPECT_EQ(t.Find("Secondary Server's Ip")->InvalidReason(), "");
    const std::vector<std::string> planned = testing::SaveLines(t);
    t.dialogs.SetNextAnswers({std::nullopt, 1, CK4X30FrameWnd::kSendAnyway});
    for (size_t answer = 0; answer < 3; ++answer) {
        t.frame->SaveChecked();
        std::vector<std::string> queued;
        for (const model::WorkerJob& job : t.frame->link.PendingJobs()) queued.push_back(job.line);
        EXPECT_EQ(queued, answer == 2 ? planned : std::vector<std::string>{}) << answer;
    }
    ASSERT_EQ(t.dialogs.Questions().size(), 3u);
    const std::string& asked = t.dialogs.Questions()[0].text;
    EXPECT_NE(asked.find("\"256.1.1.1\""), std::string::npos) << asked;
    EXPECT_NE(asked.find("\"65536\""), std::string::npos) << asked;
    EXPECT_EQ(asked.find("backup.example.com"), std::string::npos) << asked;
}

}  // namespace
}  // namespace app
