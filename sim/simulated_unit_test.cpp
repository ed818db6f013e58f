// The simulated unit over a real pseudo-terminal, driven the way the tool drives a unit.
#include "sim/simulated_unit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/tool_port_for_test.h"

namespace sim {
namespace {

using std::chrono::milliseconds;
using testing::CountOf;
using testing::FastOptions;
using testing::kPatience;
using testing::OpenAndEnterSetting;
using testing::ToolPort;

using testing::kReportEnd;
using testing::kShow;

class SimulatedUnitTest : public ::testing::Test {
  protected:
    // Starts a unit of `profile` with `options` and brings it into configuration mode.
    void StartInSetting(const Profile& profile = DefaultProfile(),
                        UnitOptions options = FastOptions()) {
        unit_ = std::make_unique<SimulatedUnit>(profile, options);
        ASSERT_TRUE(unit_->Start());
        ASSERT_TRUE(OpenAndEnterSetting(*unit_, port_));
    }
    std::string Report() { return port_.Exchange(kShow, kReportEnd); }

    std::unique_ptr<SimulatedUnit> unit_;
    ToolPort port_;
};

TEST_F(SimulatedUnitTest, PromptThenSEntersSetting) {
    unit_ = std::make_unique<SimulatedUnit>(DefaultProfile(), FastOptions());
    EXPECT_EQ(unit_->DevicePath(), "");
    ASSERT_TRUE(unit_->Start());
    EXPECT_FALSE(unit_->Start());
    EXPECT_TRUE(unit_->DevicePath().starts_with("/dev/pts/")) << unit_->DevicePath();
    ASSERT_TRUE(port_.Open(unit_->DevicePath()));
    ASSERT_TRUE(port_.ReadUntil("\r\nPress 's' key to enter setting mode\r\n"));
    EXPECT_FALSE(unit_->InConfigMode());
    const std::string banner = port_.Take();
    EXPECT_EQ(banner.find("OK"), std::string::npos);
    // A repeated prompt may come first; the answer ends the text.
    const std::string answer = port_.Exchange("s", "enter setting!\r\n");
    EXPECT_TRUE(answer.ends_with("'s' key to enter setting mode\r\n\r\nenter setting!\r\n") ||
                answer == "\r\nenter setting!\r\n")
        << answer;
    EXPECT_TRUE(unit_->InConfigMode());
}

TEST_F(SimulatedUnitTest, PromptRepeatsUntilTheWindowClosesThenPlusPlusPlusEntersSetting) {
    UnitOptions options = FastOptions();
    options.startWindowMs = 1200;
    unit_ = std::make_unique<SimulatedUnit>(DefaultProfile(), options);
    ASSERT_TRUE(unit_->Start());
    ASSERT_TRUE(port_.Open(unit_->DevicePath()));
    ASSERT_TRUE(port_.ReadUntilCount("'s' key", 3));  // at 0, 500 and 1000 ms
    ASSERT_TRUE(unit_->WaitForMode(UnitMode::kRunning, kPatience));
    // An "s" and a command while running: acted on before Received() shows them, so the
    // unit is known to have ignored them.
    ASSERT_TRUE(port_.Write("s\r\nAT+CSQ\r\n"));
    ASSERT_TRUE(unit_->WaitForReceived("s\r\nAT+CSQ\r\n", kPatience));
    EXPECT_FALSE(unit_->InConfigMode());
    ASSERT_TRUE(port_.Write("+++"));
    ASSERT_TRUE(port_.ReadUntil("\r\nenter setting!\r\n"));
    const std::string text = port_.Take();
    EXPECT_EQ(CountOf(text, "'s' key"), 3u) << text;
    EXPECT_EQ(text.find("CSQ"), std::string::npos) << text;
    EXPECT_TRUE(unit_->InConfigMode());
}

TEST_F(SimulatedUnitTest, CommandsBeforeSettingAreIgnored) {
    unit_ = std::make_unique<SimulatedUnit>(DefaultProfile(), FastOptions());
    ASSERT_TRUE(unit_->Start());
    ASSERT_TRUE(port_.Open(unit_->DevicePath()));
    ASSERT_TRUE(port_.ReadUntil("'s' key"));
    ASSERT_TRUE(port_.Write("\r\nAT+SHOW\r\nAT+IPAD=9.9.9.9\r\nAt+CSQ\r\n"));
    ASSERT_TRUE(port_.Write("s"));
    // Anything the commands had caused would come before the answer to the "s".
    ASSERT_TRUE(port_.ReadUntil("enter setting!\r\n"));
    const std::string text = port_.Take();
    EXPECT_EQ(text.find("OK"), std::string::npos) << text;
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_EQ(unit_->Value("Server's Ip"), "192.168.1.10");
}

struct ExchangeRow {
    std::string_view sent;
    std::string_view answer;  // the exact bytes that come back
};

TEST_F(SimulatedUnitTest, AnswersByteExactly) {
    const ExchangeRow rows[] = {
        {"At+CSQ\r\n", "\r\n+CSQ: 23,99\r\n\r\nOK\r\n"},
        {"\r\nAT+CPIN?\r\n", "\r\n+CPIN: READY\r\n\r\nOK\r\n"},
        {"\r\nAT+CIMI\r\n", "\r\n460001234567890\r\n\r\nOK\r\n"},
        {"AT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n"},
        {"At+VER\r\n", "\r\n+VER: 7315_V3.2.1_BG96\r\n\r\nOK\r\n"},
        {"AT+EXCCLK=\"2026/12/05,20:42:08\",5\r\n", "\r\nOK\r\n"},
        {"AT+TEST\r\n", "\r\nOK\r\n"},
        {"AT+NOSUCHROW=3\r\n", "\r\nERROR\r\n"},
        {"AT+PORT=6001\r\n", "\r\nOK\r\n"},
    };
    StartInSetting();
    for (const ExchangeRow& row : rows) {
        const std::string_view end = row.answer.substr(row.answer.size() - 4);
        EXPECT_EQ(port_.Exchange(row.sent, end), row.answer) << row.sent;
    }
    EXPECT_EQ(unit_->ClockText(), "2026/12/05,20:42:08");
    EXPECT_EQ(unit_->Value("Server's Port"), "6001");
    const std::string log = port_.Exchange("at+READFILELOG\r\n", "OK\r\n");
    EXPECT_EQ(CountOf(log, "\r\n["), 12u) << log;
    EXPECT_TRUE(log.ends_with("\r\n\r\nOK\r\n"));
}

TEST_F(SimulatedUnitTest, ReportOverTheLine) {
    StartInSetting();
    const std::string report = Report();
    EXPECT_GT(report.size(), 3000u);
    EXPECT_NE(report.find("RF MODEL: BG96\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nAccess Point Name: cmnet\r\n"), std::string::npos);
    EXPECT_TRUE(report.ends_with("OK\r\n"));
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    for (const auto& [name, row] : catalogue) {
        if (row.label.empty()) continue;
        EXPECT_EQ(CountOf(report, row.label), 1u) << name;
    }
}

TEST_F(SimulatedUnitTest, WriteShowsInTheNextReportForBothRowsOfItsCommand) {
    StartInSetting();
    EXPECT_EQ(port_.Exchange("AT+APN=internet.test\r\n", "\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(port_.Exchange("AT+NETMODE=6\r\n", "OK\r\n"), "\r\nOK\r\n");
    const std::string report = Report();
    EXPECT_NE(report.find("\r\nAccess Point Name: internet.test\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nnet mode: 6\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nModel Net Mode: 6\r\n"), std::string::npos);
    EXPECT_EQ(unit_->Value("NBNetModeCombo"), "6");
}

TEST_F(SimulatedUnitTest, RefusedAndUnknownCommandsAnswerError) {
    StartInSetting();
    unit_->Refuse("AT+IPAD");
    unit_->Refuse("AT+CSQ");
    EXPECT_EQ(port_.Exchange("AT+IPAD=1.2.3.4\r\n", "ERROR\r\n"), "\r\nERROR\r\n");
    EXPECT_EQ(port_.Exchange("At+CSQ\r\n", "ERROR\r\n"), "\r\nERROR\r\n");
    EXPECT_EQ(port_.Exchange("AT+BOGUS=1\r\n", "ERROR\r\n"), "\r\nERROR\r\n");
    EXPECT_EQ(unit_->Value("Server's Ip"), "192.168.1.10");
}

TEST_F(SimulatedUnitTest, FactoryRestoresTheDefaults) {
    StartInSetting();
    ASSERT_EQ(port_.Exchange("AT+IPAD=10.1.1.1\r\n", "OK\r\n"), "\r\nOK\r\n");
    ASSERT_NE(Report().find("\r\nServer's Ip: 10.1.1.1\r\n"), std::string::npos);
    EXPECT_EQ(port_.Exchange("\r\nAT+FACTORY\r\n", "OK\r\n"), "\r\nOK\r\n");
    EXPECT_NE(Report().find("\r\nServer's Ip: 192.168.1.10\r\n"), std::string::npos);
}

TEST_F(SimulatedUnitTest, QuitLeavesSettingAndLinesGoUnanswered) {
    StartInSetting();
    EXPECT_EQ(port_.Exchange("\r\nat+quit\r\n", "OK\r\n"), "\r\nOK\r\n");
    EXPECT_FALSE(unit_->InConfigMode());
    ASSERT_TRUE(port_.Write(kShow));
    ASSERT_TRUE(port_.Write("+++"));
    ASSERT_TRUE(port_.ReadUntil("enter setting!\r\n"));
    EXPECT_EQ(port_.Take(), "\r\nenter setting!\r\n");  // no report before it
}

TEST_F(SimulatedUnitTest, IdleTimeoutPrintsItsNoticeAndLeavesSetting) {
    StartInSetting();
    unit_->SetIdleTimeout(milliseconds(200));
    const auto lineSent = std::chrono::steady_clock::now();
    ASSERT_TRUE(port_.Write("At+CSQ\r\n"));
    ASSERT_TRUE(port_.ReadUntil("\r\nSeting Timeout and quit\r\n"));
    // The idle time runs from the line, which the unit received after it was sent.
    EXPECT_GE(std::chrono::steady_clock::now() - lineSent, milliseconds(200));
    EXPECT_EQ(port_.Take(), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n\r\nSeting Timeout and quit\r\n");
    EXPECT_FALSE(unit_->InConfigMode());
}

TEST_F(SimulatedUnitTest, ReceivedHoldsExactlyTheBytesSent) {
    StartInSetting();
    const std::string lines = "\r\nAT+CPIN?\r\nAT+IPAD=1.2.3.4\r\nhalf";
    ASSERT_TRUE(port_.Write(lines));
    ASSERT_TRUE(unit_->WaitForReceived("half", kPatience));
    EXPECT_EQ(unit_->Received(), "s" + lines);
    EXPECT_EQ(unit_->ReceivedLines(),
              (std::vector<std::string>{"s", "AT+CPIN?", "AT+IPAD=1.2.3.4"}));
    EXPECT_FALSE(unit_->WaitForReceived("never sent", milliseconds(50)));
}

TEST_F(SimulatedUnitTest, RestartPrintsThePromptAgainAndLeavesSetting) {
    StartInSetting();
    unit_->Restart();
    ASSERT_TRUE(port_.ReadUntil("'s' key"));
    EXPECT_FALSE(unit_->InConfigMode());
    EXPECT_TRUE(port_.Exchange("s", "enter setting!\r\n").ends_with("\r\nenter setting!\r\n"));
    EXPECT_TRUE(unit_->InConfigMode());
}

TEST_F(SimulatedUnitTest, PortClosedAndOpenedAgainKeepsWorking) {
    StartInSetting();
    port_.Close();
    ASSERT_TRUE(port_.Open(unit_->DevicePath()));
    EXPECT_EQ(port_.Exchange("At+CSQ\r\n", "OK\r\n"), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
}

TEST_F(SimulatedUnitTest, EveryProfileReportsItsDeviceTypeAndModule) {
    for (const std::string& name : ProfileNames()) {
        const Profile& profile = *FindProfile(name);
        StartInSetting(profile);
        const std::string report = Report();
        EXPECT_NE(report.find("\r\nDevice Type: " + profile.deviceType + "\r\n"), std::string::npos)
            << name;
        EXPECT_NE(report.find("\r\nRF MODEL: " + profile.rfModel + "\r\n"), std::string::npos);
        EXPECT_EQ(report.find("Access Point Name:") != std::string::npos, profile.hasApn) << name;
        const std::string netMode = port_.Exchange("AT+FINDNETMODE\r\n", "OK\r\n");
        EXPECT_EQ(netMode, "\r\n+FINDNETMODE: " + profile.netMode + "\r\nOK\r\n");
        port_.Close();
        unit_.reset();
    }
}

}  // namespace
}  // namespace sim
