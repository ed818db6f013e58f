// The simulated unit over a real pseudo-terminal, driven the way the tool drives a unit.
#include "sim/simulated_unit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/tool_port_for_test.h"
#include "sim/unit_state.h"

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
    ASSERT_TRUE(port_.Write("+++"));
    ASSERT_TRUE(port_.ReadUntil("\r\nenter setting!\r\n"));
    EXPECT_EQ(CountOf(port_.Text(), "'s' key"), 3u) << port_.Text();
    EXPECT_TRUE(unit_->InConfigMode());
}

// Writes, refusals, the clock and the report reach the tool over the line (the rules
// themselves are unit_behaviour_test's), and the values set from a test show in the report.
TEST_F(SimulatedUnitTest, WritesRefusalsAndTheReportOverTheLine) {
    StartInSetting();
    unit_->Refuse("AT+IPAD");
    EXPECT_EQ(port_.Exchange("AT+IPAD=1.2.3.4\r\n", "ERROR\r\n"), "\r\nERROR\r\n");
    EXPECT_EQ(port_.Exchange("AT+EXCCLK=\"2026/12/05,20:42:08\",5\r\n", "OK\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(port_.Exchange("at+netmode=6\r\n", "OK\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(unit_->ClockText(), "2026/12/05,20:42:08");
    EXPECT_EQ(unit_->Value("AT+NETMODE"), "6");
    ASSERT_TRUE(unit_->SetValue("AT+APN", "internet.test"));
    const std::string report = Report();
    EXPECT_NE(report.find("\r\nAccess Point Name: internet.test\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nnet mode: 6\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nModel Net Mode: 6\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nServer's Ip: 192.168.1.10\r\n"), std::string::npos);
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

TEST_F(SimulatedUnitTest, EveryProfileReportsItsFactoryReportAndItsNetMode) {
    for (const std::string& name : ProfileNames()) {
        const Profile& profile = *FindProfile(name);
        StartInSetting(profile);
        EXPECT_EQ(Report(), UnitState(profile).Report()) << name;
        const std::string netMode = port_.Exchange("AT+FINDNETMODE\r\n", "OK\r\n");
        EXPECT_EQ(netMode, "\r\n+FINDNETMODE: " + profile.netMode + "\r\nOK\r\n");
        port_.Close();
        unit_.reset();
    }
}

}  // namespace
}  // namespace sim
