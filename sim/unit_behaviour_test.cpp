#include "sim/unit_behaviour.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sim/unit_state.h"

namespace sim {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kEnterSetting = "\r\nenter setting!\r\n";
constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";

std::size_t CountOfPrompts(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("'s' key"); at != std::string_view::npos;
         at = text.find("'s' key", at + 1)) {
        ++count;
    }
    return count;
}

class UnitBehaviourTest : public ::testing::Test {
  protected:
    UnitBehaviourTest() : unit_(DefaultProfile(), UnitTiming{}) {}

    // Powers on at t0, enters setting with "s" and forgets the output so far.
    void EnterSetting() {
        unit_.PowerOn(t0_);
        unit_.Receive("s", t0_);
        ASSERT_EQ(unit_.Mode(), UnitMode::kConfiguring);
        unit_.TakeOutput();
    }
    // Sends `bytes` at t0 + `after` and returns what the unit printed in answer.
    std::string Send(std::string_view bytes, milliseconds after = milliseconds(0)) {
        unit_.Receive(bytes, t0_ + after);
        return unit_.TakeOutput();
    }

    const TimePoint t0_ = TimePoint{} + std::chrono::hours(1);
    UnitBehaviour unit_;
};

TEST_F(UnitBehaviourTest, PromptRepeatsEvery500MsInsideTheStartWindowOnly) {
    unit_.PowerOn(t0_);
    EXPECT_EQ(CountOfPrompts(unit_.TakeOutput()), 1u);
    unit_.Advance(t0_ + milliseconds(499));
    EXPECT_EQ(unit_.TakeOutput(), "");
    unit_.Advance(t0_ + milliseconds(500));
    EXPECT_EQ(unit_.TakeOutput(), "\r\nPress 's' key to enter setting mode\r\n");
    for (int ms = 501; ms <= 3500; ++ms) unit_.Advance(t0_ + milliseconds(ms));
    // Prompts at 1000, 1500, 2000 and 2500; the window closes at 3000.
    EXPECT_EQ(CountOfPrompts(unit_.TakeOutput()), 4u);
    EXPECT_EQ(unit_.Mode(), UnitMode::kRunning);
    EXPECT_EQ(unit_.NextDeadline(), std::nullopt);
}

TEST_F(UnitBehaviourTest, LateTimerPrintsOnePromptNotABacklog) {
    unit_.PowerOn(t0_);
    unit_.TakeOutput();
    unit_.Advance(t0_ + milliseconds(2200));
    EXPECT_EQ(CountOfPrompts(unit_.TakeOutput()), 1u);
    EXPECT_EQ(unit_.NextDeadline(), t0_ + milliseconds(2500));
}

TEST_F(UnitBehaviourTest, SInsideTheWindowEntersSetting) {
    unit_.PowerOn(t0_);
    unit_.TakeOutput();
    EXPECT_EQ(Send("xs", milliseconds(2999)), kEnterSetting);
    EXPECT_EQ(unit_.Mode(), UnitMode::kConfiguring);
    EXPECT_EQ(unit_.NextDeadline(), t0_ + milliseconds(2999 + 60000));
}

TEST_F(UnitBehaviourTest, AfterTheWindowSIsIgnoredAndPlusPlusPlusEntersSetting) {
    unit_.PowerOn(t0_);
    unit_.Advance(t0_ + milliseconds(3000));
    unit_.TakeOutput();
    EXPECT_EQ(Send("sss", milliseconds(3100)), "");
    EXPECT_EQ(unit_.Mode(), UnitMode::kRunning);
    EXPECT_EQ(Send("++s+", milliseconds(3200)), "");
    EXPECT_EQ(Send("+", milliseconds(3300)), "");  // "+s+" then "+": no three in a row yet
    EXPECT_EQ(Send("+", milliseconds(3400)), kEnterSetting);
    EXPECT_EQ(unit_.Mode(), UnitMode::kConfiguring);
}

TEST_F(UnitBehaviourTest, LinesOutsideConfigurationModeGetNoAnswer) {
    unit_.PowerOn(t0_);
    unit_.TakeOutput();
    EXPECT_EQ(Send("\r\nAT+SHOW\r\nAT+CSQ\r\nAT+IPAD=1.1.1.1\r\n"), "");
    unit_.Advance(t0_ + milliseconds(3000));
    unit_.TakeOutput();
    EXPECT_EQ(Send("\r\nAT+SHOW\r\n", milliseconds(3001)), "");
    EXPECT_EQ(unit_.Value("AT+IPAD"), "192.168.1.10");
}

struct ReplyRow {
    std::string_view sent;
    std::string_view answer;
};

TEST_F(UnitBehaviourTest, AnswersEachCommandByteExactly) {
    const ReplyRow rows[] = {
        {"At+CSQ\r\n", "\r\n+CSQ: 23,99\r\n\r\nOK\r\n"},
        {"\r\nAT+CPIN?\r\n", "\r\n+CPIN: READY\r\n\r\nOK\r\n"},
        {"\r\nAT+CIMI\r\n", "\r\n460001234567890\r\n\r\nOK\r\n"},
        {"AT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n"},
        {"At+VER\r\n", "\r\n+VER: 7315_V3.2.1_BG96\r\n\r\nOK\r\n"},
        {"AT+EXCCLK=\"2026/12/05,20:42:08\",5\r\n", kOk},
        {"AT+EXCCLK=2026\r\n", kError},
        {"AT+IPAD=10.0.0.1\r\n", kOk},
        {"at+ipad=10.0.0.2\r\n", kOk},
        {"AT+NOSUCHROW=1\r\n", kError},
        {"AT+REBOOT\r\n", kOk},
        {"hello\r\n", ""},
        {"\r\n", ""},
        {"ssAT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n"},  // late handshake "s"
        {"AT+IPAD=", ""},  // a write without its line end waits for it
        {"\r\n", kOk},
    };
    EnterSetting();
    for (const ReplyRow& row : rows) {
        EXPECT_EQ(Send(row.sent), row.answer) << "sent: " << row.sent;
    }
    EXPECT_EQ(unit_.ClockText(), "2026/12/05,20:42:08");
    EXPECT_EQ(unit_.Value("AT+IPAD"), "");  // the last write carried an empty value
    const std::string log = Send("at+READFILELOG\r\n");
    EXPECT_TRUE(log.starts_with("\r\n[") && log.ends_with("\r\n\r\nOK\r\n")) << log;
    EXPECT_EQ(log.find("OK"), log.size() - 4) << log;  // no line of the log ends the answer
}

TEST_F(UnitBehaviourTest, LineArrivingOneByteAtATimeIsAnswered) {
    EnterSetting();
    std::string answer;
    for (char byte : std::string_view("\r\nAT+CPIN?\r\n")) answer += Send(std::string(1, byte));
    EXPECT_EQ(answer, "\r\n+CPIN: READY\r\n\r\nOK\r\n");
}

TEST_F(UnitBehaviourTest, ValuesOf99BytesAreKeptAndOf100BytesRefused) {
    EnterSetting();
    const std::string longest(99, 'v');
    EXPECT_EQ(Send("AT+APN=" + longest + "\r\n"), kOk);
    EXPECT_EQ(unit_.Value("AT+APN"), longest);
    EXPECT_EQ(Send("AT+APN=" + longest + "w\r\n"), kError);
    EXPECT_EQ(unit_.Value("AT+APN"), longest);
}

TEST_F(UnitBehaviourTest, OverlongLineIsRefusedAndTheNextLineStillWorks) {
    EnterSetting();
    EXPECT_EQ(Send("AT+APN=" + std::string(5000, 'x') + "\r\n"), kError);
    EXPECT_EQ(Send("At+CSQ\r\n"), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
    EXPECT_EQ(unit_.Value("AT+APN"), "cmnet");
}

TEST_F(UnitBehaviourTest, FactoryRestoresTheProfilesReport) {
    EnterSetting();
    ASSERT_EQ(Send("AT+PORT=6000\r\nAT+APN=internet\r\n"), std::string(kOk) + std::string(kOk));
    ASSERT_TRUE(unit_.SetValue("Device Type", "changed"));
    EXPECT_EQ(Send("\r\nAT+FACTORY\r\n"), kOk);
    EXPECT_EQ(Send("\r\nAT+SHOW\r\n"), UnitState(DefaultProfile()).Report());
}

TEST_F(UnitBehaviourTest, QuitLeavesConfigurationMode) {
    EnterSetting();
    EXPECT_EQ(Send("\r\nat+quit\r\n"), kOk);
    EXPECT_EQ(unit_.Mode(), UnitMode::kRunning);
    EXPECT_EQ(Send("At+CSQ\r\n"), "");
}

TEST_F(UnitBehaviourTest, RefusedCommandsAnswerErrorAndChangeNothing) {
    unit_.Refuse("at+csq");
    unit_.Refuse("AT+CPIN");
    unit_.Refuse("AT+IPAD");
    unit_.Refuse("AT+QUIT");
    EnterSetting();
    EXPECT_EQ(Send("At+CSQ\r\n"), kError);
    EXPECT_EQ(Send("\r\nAT+CPIN?\r\n"), kError);
    EXPECT_EQ(Send("AT+IPAD=1.2.3.4\r\n"), kError);
    EXPECT_EQ(unit_.Value("AT+IPAD"), "192.168.1.10");
    EXPECT_EQ(Send("\r\nat+quit\r\n"), kError);
    EXPECT_EQ(unit_.Mode(), UnitMode::kConfiguring);
    EXPECT_EQ(Send("\r\nAT+CIMI\r\n"), "\r\n460001234567890\r\n\r\nOK\r\n");
}

TEST_F(UnitBehaviourTest, RefusedLoginAnswersError) {
    unit_.Refuse("+++");
    unit_.PowerOn(t0_);
    unit_.Advance(t0_ + milliseconds(3000));
    unit_.TakeOutput();
    EXPECT_EQ(Send("+++", milliseconds(3001)), kError);
    EXPECT_EQ(unit_.Mode(), UnitMode::kRunning);
}

TEST_F(UnitBehaviourTest, IdleTimeCountsFromTheLastLine) {
    EnterSetting();
    unit_.Advance(t0_ + milliseconds(59999));
    EXPECT_EQ(unit_.TakeOutput(), "");
    Send("\r\n", milliseconds(30000));  // an empty line counts as a line
    unit_.Advance(t0_ + milliseconds(60000));
    EXPECT_EQ(unit_.TakeOutput(), "");
    EXPECT_EQ(unit_.NextDeadline(), t0_ + milliseconds(90000));
    unit_.Advance(t0_ + milliseconds(90000));
    EXPECT_EQ(unit_.TakeOutput(), "\r\nSeting Timeout and quit\r\n");
    EXPECT_EQ(unit_.Mode(), UnitMode::kRunning);
}

TEST_F(UnitBehaviourTest, SilentUnitRecordsButNeverAnswers) {
    unit_.SetSilent(true);
    unit_.PowerOn(t0_);
    EXPECT_EQ(Send("s"), "");
    EXPECT_EQ(unit_.Mode(), UnitMode::kStarting);
    EXPECT_EQ(Send("\r\nAT+SHOW\r\n"), "");
    EXPECT_EQ(unit_.Received(), "s\r\nAT+SHOW\r\n");
    unit_.SetSilent(false);
    EXPECT_EQ(Send("s"), kEnterSetting);
}

TEST_F(UnitBehaviourTest, PowerOnLeavesSettingAndDropsAHalfLine) {
    EnterSetting();
    Send("AT+CS");
    unit_.PowerOn(t0_ + milliseconds(10));
    EXPECT_EQ(unit_.Mode(), UnitMode::kStarting);
    EXPECT_NE(unit_.TakeOutput().find("'s' key"), std::string::npos);
    EXPECT_EQ(Send("s", milliseconds(20)), kEnterSetting);
    EXPECT_EQ(Send("Q\r\n", milliseconds(30)), "");  // not "AT+CSQ"
    EXPECT_EQ(unit_.Received(), "sAT+CSsQ\r\n");
}

TEST_F(UnitBehaviourTest, PlusesWhileConfiguringAreConfirmedAgain) {
    EnterSetting();
    EXPECT_EQ(Send("+++"), kEnterSetting);
    EXPECT_EQ(unit_.Mode(), UnitMode::kConfiguring);
    EXPECT_EQ(Send("At+CSQ\r\n"), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");  // the next line is understood
}

}  // namespace
}  // namespace sim
