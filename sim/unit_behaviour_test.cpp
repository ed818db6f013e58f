#include "sim/unit_behaviour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

using M = UnitMode;

const std::string kPrompt = "\r\nPress 's' key to enter setting mode\r\n";
const std::string kIn = "\r\nenter setting!\r\n";
const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kCsq = "\r\n+CSQ: 23,99\r\n\r\nOK\r\n";
const TimePoint kT0 = TimePoint{} + std::chrono::hours(1);

struct Step {
    int ms;          // since power-on
    std::string in;  // the bytes received then; none: the timers run
    std::string out;
    UnitMode mode;
};

// The start window (3 s, a prompt every 500 ms) and the two ways in; the idle time (60 s from
// the last line, an empty one included).
TEST(UnitBehaviour, HandshakeAndIdleTimeOnTheUnitsClock) {
    const std::vector<Step> scripts[] = {
        {{499, "", "", M::kStarting},
         {500, "", kPrompt, M::kStarting},
         {2200, "", kPrompt, M::kStarting},  // late: one prompt, not a backlog
         {2499, "", "", M::kStarting},
         {2500, "", kPrompt, M::kStarting},
         {3000, "", "", M::kRunning},
         {3100, "sss\r\nAT+SHOW\r\n", "", M::kRunning},
         {3200, "++s+", "", M::kRunning},
         {3300, "+", "", M::kRunning},  // "+s+" then "+": no three in a row yet
         {3400, "+", kIn, M::kConfiguring}},
        {{2999, "xs", kIn, M::kConfiguring},
         {32000, "\r\n", "", M::kConfiguring},
         {62999, "", "", M::kConfiguring},
         {92000, "", "\r\nSeting Timeout and quit\r\n", M::kRunning},
         {92001, "At+CSQ\r\n", "", M::kRunning}},
    };
    for (const std::vector<Step>& steps : scripts) {
        UnitBehaviour unit(DefaultProfile(), UnitTiming{});
        unit.PowerOn(kT0);
        EXPECT_TRUE(unit.TakeOutput().ends_with("\r\nSystem starting" + kPrompt));
        for (const Step& step : steps) {
            const TimePoint at = kT0 + std::chrono::milliseconds(step.ms);
            if (step.in.empty()) unit.Advance(at);
            unit.Receive(step.in, at);  // none: nothing
            EXPECT_EQ(unit.TakeOutput(), step.out) << "at " << step.ms;
            EXPECT_EQ(unit.Mode(), step.mode) << "at " << step.ms;
        }
    }
}

// In configuration mode, one line after the other, each answer byte for byte.
TEST(UnitBehaviour, AnswersEachLineByteExactly) {
    const std::string longest(99, 'v');
    const std::pair<std::string, std::string> rows[] = {
        {"At+CSQ\r\n", kCsq},
        {"\r\nAT+CPIN?\r\n", "\r\n+CPIN: READY\r\n\r\nOK\r\n"},
        {"\r\nAT+CIMI\r\n", kError},  // refused, with its "?"
        {"AT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n"},
        {"At+VER\r\n", "\r\n+VER: 7315_V3.2.1_BG96\r\n\r\nOK\r\n"},
        {"AT+EXCCLK=\"2026/12/05,20:42:08\",5\r\n", kOk},
        {"AT+EXCCLK=2026\r\n", kError},
        {"at+port=6000\r\n", kOk},
        {"AT+IPAD=1.2.3.4\r\n", kError},  // refused
        {"AT+NOSUCHROW=1\r\n", kError},
        {"AT+TESTCMD\r\n", kOk},  // a command button's command
        {"hello\r\n", ""},
        {"ssAT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n"},  // late handshake "s"
        {"+++", kIn},                                                 // a login is confirmed again
        {"AT+APN=" + longest + "\r\n", kOk},
        {"AT+APN=" + longest + "w\r\n", kError},
        {"AT+APN=" + std::string(5000, 'x') + "\r\n", kError},  // longer than a line
        {"AT+APN=", ""},                                        // a write waits for its line end
        {"x\r", ""},
        {"\n", kOk},
        {"\r\nat+quit\r\n", kOk},
        {"At+CSQ\r\n", ""},
    };
    UnitBehaviour unit(DefaultProfile(), UnitTiming{});
    unit.Refuse("at+cimi?");
    unit.Refuse("AT+IPAD");
    unit.PowerOn(kT0);
    unit.Receive("s", kT0);
    unit.TakeOutput();
    for (const auto& [sent, answer] : rows) {
        unit.Receive(sent, kT0);
        EXPECT_EQ(unit.TakeOutput(), answer) << "sent: " << sent.substr(0, 40);
    }
    EXPECT_EQ(unit.Mode(), M::kRunning);
    EXPECT_EQ(unit.Value("AT+APN"), "x");
    EXPECT_EQ(unit.Value("AT+PORT"), "6000");
    EXPECT_EQ(unit.Value("AT+IPAD"), "192.168.1.10");
    EXPECT_EQ(unit.ClockText(), "2026/12/05,20:42:08");
}

TEST(UnitBehaviour, FactoryRestoresTheReportAndTheLogEndsWithOneOk) {
    UnitBehaviour unit(DefaultProfile(), UnitTiming{});
    unit.PowerOn(kT0);
    for (char byte : std::string("s\r\nAT+PORT=1\r\n")) unit.Receive(std::string(1, byte), kT0);
    unit.Receive("\r\nAT+FACTORY\r\n\r\nAT+SHOW\r\n", kT0);
    EXPECT_TRUE(
        unit.TakeOutput().ends_with(kIn + kOk + kOk + UnitState(DefaultProfile()).Report()));
    unit.Receive("at+READFILELOG\r\n", kT0);
    const std::string log = unit.TakeOutput();
    EXPECT_TRUE(log.starts_with("\r\n[") && log.ends_with("\r\n\r\nOK\r\n")) << log;
    EXPECT_EQ(log.find("OK"), log.size() - 4) << log;  // no line of the log ends the answer
}

TEST(UnitBehaviour, ASilentUnitRecordsButNeverAnswers) {
    UnitBehaviour unit(DefaultProfile(), UnitTiming{});
    unit.SetSilent(true);
    unit.PowerOn(kT0);
    unit.Receive("s\r\nAT+SHOW\r\n", kT0);
    unit.Advance(kT0 + std::chrono::milliseconds(500));
    EXPECT_EQ(unit.TakeOutput(), "");
    EXPECT_EQ(unit.Mode(), UnitMode::kStarting);
    EXPECT_EQ(unit.Received(), "s\r\nAT+SHOW\r\n");
    unit.SetSilent(false);
    unit.Receive("s", kT0);
    EXPECT_EQ(unit.TakeOutput(), kIn);
}

}  // namespace
}  // namespace sim
