// The whole link in the loop: the simulated unit on a pseudo-terminal, the port and its event
// thread, the receive handler, the worker and the window messages on the headless loop.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "app/form_fixture.h"
#include "link/messages.h"
#include "sim/simulated_unit.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using testing::TestFrame;

class LinkE2E : public testing::UnitFixture {
  protected:
    bool LoggedIn() const { return t->frame->link.loggedIn; }
    std::string Notice(const char* section, const char* key) const {
        return t->frame->LoadText(section, key, "\r\n");
    }
    void OpenAndLogIn() {
        Click("Open");
        ASSERT_TRUE(Until([&] { return LoggedIn(); })) << t->Log();
        ASSERT_TRUE(Idle());
    }
    /// How often the unit received `command` followed by CR LF.
    size_t Count(std::string_view command) const {
        const std::string got = unit->Received();
        const std::string line = std::string(command) + "\r\n";
        size_t n = 0;
        for (size_t at = got.find(line); at != std::string::npos; at = got.find(line, at + 1)) ++n;
        return n;
    }
};

TEST_F(LinkE2E, HandshakeBringsAStartingUnitIntoConfigurationMode) {
    Start();
    EXPECT_EQ(t->Find<ui::Combo>("SerialPort")->GetText(), unit->DevicePath());
    Click("Open");
    EXPECT_TRUE(LogHas(Notice("OnStartCom", "OpenNotice")));
    EXPECT_EQ(t->Find("Open")->GetText(), t->frame->LoadText("OnStartCom", "Close"));
    ASSERT_TRUE(Until([&] { return LoggedIn(); }));
    EXPECT_FALSE(t->frame->HasTimer(devlink::kHandshakeTimer));
    EXPECT_EQ(t->frame->link.rxBuffer.Length(), 0);
    EXPECT_EQ(t->Find("DeviceState")->GetText(), t->frame->LoadText("SetDeviceState", "szLoginOn"));
    EXPECT_FALSE(t->Find("helpGroupBox")->IsVisible());
    EXPECT_TRUE(t->Find("Load")->IsEnabled());
    EXPECT_FALSE(t->Find("Login")->IsEnabled());
    EXPECT_FALSE(t->Find("SerialPort")->IsEnabled());
    // The handshake is the single byte "s", nothing else.
    const std::string got = unit->Received();
    EXPECT_FALSE(got.empty());
    EXPECT_EQ(got.find_first_not_of('s'), std::string::npos) << got;
}

TEST_F(LinkE2E, HandshakeReplySplitIntoSmallChunksIsStillRecognised) {
    sim::UnitOptions options;
    options.chunked = true;
    options.maxChunkBytes = 3;
    Start(options);
    Click("Open");
    ASSERT_TRUE(Until([&] { return LoggedIn(); }));
}

TEST_F(LinkE2E, LoginSendsPlusesToARunningUnit) {
    sim::UnitOptions options;
    options.startWindowMs = 0;  // already running: the "s" bytes go unheard
    Start(options);
    Click("Open");
    t->loop->RunFor(300);
    EXPECT_FALSE(LoggedIn());
    Click("Login");
    ASSERT_TRUE(Until([&] { return LoggedIn(); }));
    EXPECT_NE(unit->Received().find("+++"), std::string::npos);
    EXPECT_TRUE(LogHas(t->frame->LoadText("ComSend", "send") + ":+++\r\n"));
}

TEST_F(LinkE2E, LoadReadsTheReportAndEndsWithTheOkThatCompletesIt) {
    Start();
    OpenAndLogIn();
    Click("Load");
    ASSERT_TRUE(Until([&] { return Count("AT+SHOW") == 1; }));
    ASSERT_TRUE(Idle());
    EXPECT_FALSE(LogHas(Notice("WorkerJobThreadProc", "OutTime")));
    EXPECT_GT(t->frame->link.rxBuffer.Length(), 3000);
    EXPECT_TRUE(t->frame->link.rxBuffer.Contains("Access Point Name:"));
    EXPECT_TRUE(LogHas(t->frame->LoadText("ComSend", "send") + ":\r\nAT+SHOW\r\n"));
    EXPECT_TRUE(LogHas("Access Point Name:"));  // the report is echoed into the log
    EXPECT_NE(unit->Received().find("\r\nAT+SHOW\r\n"), std::string::npos);
}

TEST_F(LinkE2E, RefusedWriteKeepsTheOldValueAndAnAcceptedOneIsRecorded) {
    Start();
    OpenAndLogIn();
    unit->Refuse("AT+PORT");
    t->frame->catalogue.SetValue("Server's Port", "5001");
    t->frame->link.QueueJob(model::kWriteParam, "AT+PORT=6000\r\n", "Server's Port", "6000");
    ASSERT_TRUE(Until([&] { return LogHas(Notice("WorkerJobThreadProc", "SaveError")); }));
    EXPECT_EQ(t->frame->catalogue.Find("Server's Port")->value, "5001");
    t->frame->link.QueueJob(model::kWriteParam, "AT+IPAD=10.0.0.9\r\n", "Server's Ip", "10.0.0.9");
    ASSERT_TRUE(Until([&] { return LogHas(Notice("WorkerJobThreadProc", "SaveSuccess")); }));
    EXPECT_EQ(t->frame->catalogue.Find("Server's Ip")->value, "10.0.0.9");
    EXPECT_EQ(unit->Value("AT+IPAD").value_or(""), "10.0.0.9");
}

TEST_F(LinkE2E, SignalQueryIsAskedOnceMoreAfterAnError) {
    Start();
    OpenAndLogIn();
    unit->Refuse("AT+CSQ");
    Click("CSQ");
    ASSERT_TRUE(Until([&] { return Count("At+CSQ") == 2; }));
    ASSERT_TRUE(Idle());
    t->loop->RunFor(300);
    EXPECT_EQ(Count("At+CSQ"), 2u);  // an error to the second try only ends the exchange
    EXPECT_FALSE(LogHas(Notice("WorkerJobThreadProc", "OutTime")));
}

struct LineCase {
    const char* button;
    const char* line;  // as the unit must receive it
};

TEST_F(LinkE2E, OperationsSendTheirExactLines) {
    Start();
    OpenAndLogIn();
    t->frame->rfModel = "BG96";
    const LineCase cases[] = {
        {"GetVer", "At+VER\r\n"},
        {"CPIN", "\r\nAT+CPIN?\r\n"},
        {"READFILELOG", "at+READFILELOG\r\n"},
        {"RestoreFactory", "\r\nAT+FACTORY\r\n"},
    };
    for (const LineCase& c : cases) {
        ASSERT_TRUE(Idle());
        const size_t before = unit->Received().size();
        Click(c.button);
        ASSERT_TRUE(Until([&] {
            return unit->Received().find(c.line, before) != std::string::npos;
        })) << c.button;
    }
    // The factory restore's OK reads the report again.
    ASSERT_TRUE(Until([&] { return Count("AT+SHOW") == 1; }));
    ASSERT_TRUE(Idle());
    EXPECT_TRUE(LogHas(Notice("WorkerJobThreadProc", "FactorySuccess")));
    Click("SetTime");
    ASSERT_TRUE(Until([&] { return !unit->ClockText().empty(); }));
    const std::string clock = unit->ClockText();
    EXPECT_NE(unit->Received().find("AT+EXCCLK=\"" + clock + "\",5\r\n"), std::string::npos);
    EXPECT_EQ(clock.size(), 19u);
    ASSERT_TRUE(Idle());
    // A control named after a command sends its name.
    ui::Button command;
    command.SetName("AT+CSQ");
    ui::TNotifyUI click{"click", &command};
    t->frame->Notify(click);
    ASSERT_TRUE(Until([&] { return Count("AT+CSQ") == 1; }));
}

TEST_F(LinkE2E, NetworkModeFieldIsFilledOnFocusOnlyWhenLoggedIn) {
    Start();
    ui::Control* field = t->Find("FINDNETMODE");
    t->frame->paintManager.SetFocus(field);
    t->loop->RunFor(300);
    EXPECT_EQ(t->frame->link.jobQueue.Size(), 0u);
    t->frame->paintManager.SetFocus(nullptr);
    OpenAndLogIn();
    t->frame->paintManager.SetFocus(field);
    ASSERT_TRUE(Until([&] { return !field->GetText().empty(); }));
    EXPECT_EQ(field->GetText(), " LTE");
    EXPECT_EQ(Count("AT+FINDNETMODE"), 1u);
}

TEST_F(LinkE2E, QuitLogsOutAtOnceAndARestartingUnitIsLoggedInAgain) {
    Start();
    OpenAndLogIn();
    Click("quit");
    t->loop->RunUntilIdle();
    EXPECT_FALSE(t->Find("Load")->IsEnabled());  // at the click, before the unit answers
    EXPECT_TRUE(t->Find("Login")->IsEnabled());
    ASSERT_TRUE(Until([&] { return Count("at+quit") == 1 && !unit->InConfigMode(); }));
    t->loop->RunFor(300);
    EXPECT_FALSE(LoggedIn());
    unit->Restart();  // its prompt while logged out starts the handshake again
    ASSERT_TRUE(Until([&] { return LoggedIn(); }));
}

TEST_F(LinkE2E, UnitLeavingConfigurationModeByItselfLogsOut) {
    sim::UnitOptions options;
    options.idleTimeoutMs = 400;
    Start(options);
    // No wait for an idle worker here: its 400 ms of quiet would race the unit's time-out.
    Click("Open");
    ASSERT_TRUE(Until([&] { return LoggedIn(); })) << t->Log();
    ASSERT_TRUE(Until([&] { return !LoggedIn(); }));
    EXPECT_TRUE(t->frame->link.rxBuffer.Contains("Seting Timeout and quit"));
    EXPECT_FALSE(t->Find("Load")->IsEnabled());
    EXPECT_TRUE(t->Find("Login")->IsEnabled());
    EXPECT_EQ(t->Find("DeviceState")->GetText(),
              t->frame->LoadText("SetDeviceState", "szLoginOff"));
}

TEST_F(LinkE2E, UnplugDuringTheReportClosesTheLinkAndSaysSo) {
    sim::UnitOptions options;
    Start(options);
    OpenAndLogIn();
    Click("Load");
    ASSERT_TRUE(Until([&] { return Count("AT+SHOW") == 1; }));
    unit->Unplug();
    ASSERT_TRUE(Until([&] { return LogHas(Notice("OnStartCom", "PortLost")); }));
    EXPECT_FALSE(t->frame->link.serialPort.IsOpen());
    EXPECT_EQ(t->Find("Open")->GetText(), t->frame->LoadText("OnStartCom", "Open"));
    t->loop->RunUntilIdle();
    EXPECT_TRUE(t->Find("SerialPort")->IsEnabled());
    EXPECT_FALSE(t->Find("Load")->IsEnabled());
}

TEST_F(LinkE2E, PortHeldByAnotherProgramIsReportedAsBusy) {
    Start();
    const int holder = ::open(unit->DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    Click("Open");
    EXPECT_TRUE(LogHas(Notice("OnStartCom", "OpenError")));
    EXPECT_TRUE(LogHas(Notice("OnStartCom", "PortBusy")));
    EXPECT_EQ(t->Find("Open")->GetText(), t->frame->LoadText("OnStartCom", "Open"));
    EXPECT_FALSE(t->frame->HasTimer(devlink::kHandshakeTimer));
    ::close(holder);
}

TEST_F(LinkE2E, BadSettingsAreRefusedBeforeOpening) {
    Start();
    t->Find<ui::Combo>("BaudRate1")->AddItem("fast");
    t->Find<ui::Combo>("BaudRate1")->SelectItem(t->Find<ui::Combo>("BaudRate1")->GetCount() - 1);
    Click("Open");
    EXPECT_TRUE(LogHas(Notice("OnStartCom", "BadSettings")));
    EXPECT_FALSE(t->frame->link.serialPort.IsOpen());
}

// On the manual clock: time-outs without waiting for them.
TEST_F(LinkE2E, SilentUnitTimesOutWhileTheButtonsStayDisabled) {
    sim::UnitOptions options;
    options.silent = true;
    Start(options, "base", /*manual=*/true);
    Click("Open");
    t->frame->link.QueueJob(model::kSignal, "At+CSQ\r\n");
    ASSERT_TRUE(Until([&] { return Count("At+CSQ") == 1; }, 1000));
    EXPECT_FALSE(t->frame->HasTimer(devlink::kHandshakeTimer));  // the job stopped it
    t->loop->RunFor(4500);
    EXPECT_FALSE(LogHas(Notice("WorkerJobThreadProc", "OutTime")));
    EXPECT_FALSE(t->Find("Load")->IsEnabled());
    ASSERT_TRUE(Until([&] { return LogHas(Notice("WorkerJobThreadProc", "OutTime")); }, 2000));
    EXPECT_FALSE(t->Find("Load")->IsEnabled());  // never logged in
}

TEST_F(LinkE2E, ClosingDropsQueuedJobsAndTheRunningOneTimesOut) {
    sim::UnitOptions options;
    options.silent = true;
    Start(options, "base", /*manual=*/true);
    Click("Open");
    for (const char* line : {"At+VER\r\n", "At+CSQ\r\n", "at+READFILELOG\r\n", "\r\nAT+CIMI\r\n"}) {
        t->frame->link.QueueJob(model::kVersion, line);
    }
    ASSERT_TRUE(Until([&] { return Count("At+VER") == 1; }, 1000));
    Click("Open");  // closes
    EXPECT_EQ(t->frame->link.jobQueue.Size(), 0u);
    EXPECT_TRUE(LogHas(Notice("OnStartCom", "CloseNotice")));
    ASSERT_TRUE(Until([&] { return LogHas(Notice("WorkerJobThreadProc", "OutTime")); }, 6000));
    t->loop->RunFor(6000);
    EXPECT_EQ(Count("At+CSQ"), 0u);
    const std::string log = t->Log();
    const std::string outTime = Notice("WorkerJobThreadProc", "OutTime");
    EXPECT_EQ(log.find(outTime), log.rfind(outTime));  // only the running job timed out
}

}  // namespace
}  // namespace app
