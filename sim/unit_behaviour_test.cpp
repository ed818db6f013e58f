#include "sim/unit_behaviour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

using M = UnitMode;
using std::chrono::milliseconds;

const std::string kPrompt = "\r\nPress 's' key to enter setting mode\r\n";
const std::string kIn = "\r\nenter setting!\r\n";
const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kCsq = "\r\n+CSQ: 23,99\r\n\r\nOK\r\n";
const TimePoint kT0 = TimePoint{} + std::chrono::hours(1);

struct Step {
    int ms;                        // since power-on
    std::string in;                // the bytes received then; none: the timers run
    std::vector<std::string> out;  // the pieces printed then; all but the first are late
    UnitMode mode;
};

// The start window (3 s, a prompt every 500 ms) and the two ways in; the idle time (60 s from
// the last line, an empty one included). Answers printed while a line end is held back wait
// behind it, each line end 100 ms after the one before; so does the idle notice.
TEST(UnitBehaviour, HandshakeIdleTimeAndHeldLineEndsOnTheUnitsClock) {
    const std::pair<UnitTiming, std::vector<Step>> scripts[] = {
        {UnitTiming{},
         {{499, "", {""}, M::kStarting},
          {500, "", {kPrompt}, M::kStarting},
          {2200, "", {kPrompt}, M::kStarting},  // late: one prompt, not a backlog
          {2499, "", {""}, M::kStarting},
          {2500, "", {kPrompt}, M::kStarting},
          {3000, "", {""}, M::kRunning},
          {3100, "sss\r\nAT+SHOW\r\n", {""}, M::kRunning},
          {3200, "++s+", {""}, M::kRunning},
          {3300, "+", {""}, M::kRunning},  // "+s+" then "+": no three in a row yet
          {3400, "+", {kIn}, M::kConfiguring}}},
        {UnitTiming{},
         {{2999, "xs", {kIn}, M::kConfiguring},
          {32000, "\r\n", {""}, M::kConfiguring},
          {62999, "", {""}, M::kConfiguring},
          {92000, "", {"\r\nSeting Timeout and quit\r\n"}, M::kRunning},
          {92001, "At+CSQ\r\n", {""}, M::kRunning}}},
        {UnitTiming{.idleTimeout = milliseconds(60), .lateLineEnd = milliseconds(100)},
         {{0, "sAT+CSQ\r\nAT+PORT=1\r\n", {kIn + "\r\n+CSQ: 23,99\r\n\r\nOK"}, M::kConfiguring},
          {50, "AT+SHOWX\r\n", {""}, M::kConfiguring},
          {99, "", {""}, M::kConfiguring},
          {100, "", {"", "\r\n\r\nOK"}, M::kConfiguring},
          {110, "", {""}, M::kRunning},  // idle: the notice waits behind the line ends
          {320, "", {"", "\r\n\r\nOK", "\r\n\r\nSeting Timeout and quit\r\n"}, M::kRunning},
          {400, "", {""}, M::kRunning}}},
    };
    for (const auto& [timing, steps] : scripts) {
        UnitBehaviour unit(DefaultProfile(), timing);
        unit.PowerOn(kT0);
        EXPECT_TRUE(unit.TakeOutput().ends_with("\r\nSystem starting" + kPrompt));
        for (const Step& step : steps) {
            const TimePoint at = kT0 + milliseconds(step.ms);
            if (step.in.empty()) unit.Advance(at);
            unit.Receive(step.in, at);  // none: nothing
            std::vector<OutputPiece> pieces = unit.TakeOutputPieces();
            if (pieces.empty() || pieces.front().late) pieces.insert(pieces.begin(), OutputPiece{});
            std::vector<std::string> texts;
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                EXPECT_EQ(pieces[i].late, i > 0) << "at " << step.ms;
                texts.push_back(pieces[i].text);
            }
            EXPECT_EQ(texts, step.out) << "at " << step.ms;
            EXPECT_EQ(unit.Mode(), step.mode) << "at " << step.ms;
        }
    }
}

// A factory restore brings back a new unit's report, less a dropped row, whose command's writes
// are answered OK and kept nowhere. The log's lines hold no OK of their own.
TEST(UnitBehaviour, FactoryRestoresTheReportButADroppedRowStaysMissing) {
    UnitBehaviour unit(DefaultProfile(), UnitTiming{});
    UnitState restored(DefaultProfile());
    EXPECT_FALSE(unit.DropLine("No such row"));
    ASSERT_TRUE(unit.DropLine("Server's Ip") && restored.DropLine("Server's Ip"));
    unit.PowerOn(kT0);
    for (char byte : std::string("s\r\nAT+PORT=1\r\nAT+IPAD=10.0.0.1\r\n")) {
        unit.Receive(std::string(1, byte), kT0);
    }
    unit.Receive("\r\nAT+FACTORY\r\n\r\nAT+IPAD=10.0.0.2\r\nAT+SHOW\r\n", kT0);
    EXPECT_TRUE(unit.TakeOutput().ends_with(kIn + kOk + kOk + kOk + kOk + restored.Report()));
    EXPECT_EQ(unit.Value("AT+IPAD"), std::nullopt);
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
    unit.Advance(kT0 + milliseconds(500));
    EXPECT_EQ(unit.TakeOutput(), "");
    EXPECT_EQ(unit.Mode(), UnitMode::kStarting);
    EXPECT_EQ(unit.Received(), "s\r\nAT+SHOW\r\n");
    unit.SetSilent(false);
    unit.Receive("s", kT0);
    EXPECT_EQ(unit.TakeOutput(), kIn);
}

// A unit just brought into configuration mode at kT0, its output taken.
UnitBehaviour ConfiguringUnit(UnitTiming timing) {
    UnitBehaviour unit(DefaultProfile(), timing);
    unit.PowerOn(kT0);
    unit.Receive("s", kT0);
    unit.TakeOutput();
    return unit;
}

// With a late line end every answer of configuration mode is the answer of a unit without
// it, cut before its last CR LF; the CR LF prints as a piece of its own when it is due.
TEST(UnitBehaviour, ALateLineEndHoldsBackTheLastCrLfOfEachAnswer) {
    // Each sent with a line end but "+++".
    std::vector<std::string> lines = {
        "AT+SHOW",     "AT+READFILELOG",  "AT+FINDNETMODE", "AT+VER",      "AT+CPIN?",
        "AT+CIMI",     "AT+CSQ",          "AT+PORT=7",      "AT+NOSUCH=1", "AT+EXCCLK=\"x\",5",
        "AT+EXCCLK=1", "AT+IPAD=1.2.3.4", "AT+TESTCMD",     "AT+FACTORY",  "+++",
        "AT+QUIT"};
    lines.insert(lines.end() - 2, "AT+APN=" + std::string(2000, 'a'));
    const milliseconds late(250);
    UnitBehaviour reference = ConfiguringUnit(UnitTiming{});
    UnitBehaviour unit = ConfiguringUnit(UnitTiming{.lateLineEnd = late});
    for (UnitBehaviour* each : {&reference, &unit}) {
        each->Refuse("AT+IPAD");
        each->Refuse("+++");
        ASSERT_TRUE(each->SetValue("AT+CONNRGSTREP", "OK"));  // a value line "...: OK"
    }
    TimePoint at = kT0;
    for (std::string line : lines) {
        line += line == "+++" ? "" : "\r\n";
        at += milliseconds(1000);
        reference.Receive(line, at);
        const std::string answer = reference.TakeOutput();
        ASSERT_TRUE(answer.ends_with("\r\nOK\r\n") || answer.ends_with("\r\nERROR\r\n")) << line;
        unit.Receive(line, at);
        EXPECT_EQ(unit.TakeOutput(), answer.substr(0, answer.size() - 2)) << line;
        EXPECT_EQ(unit.NextDeadline(), at + late) << line;
        unit.Advance(at + late - milliseconds(1));
        EXPECT_EQ(unit.TakeOutput(), "") << line;
        unit.Advance(at + late);
        const std::vector<OutputPiece> pieces = unit.TakeOutputPieces();
        ASSERT_EQ(pieces.size(), 1u) << line;
        EXPECT_EQ(pieces[0].text, "\r\n") << line;
        EXPECT_TRUE(pieces[0].late) << line;
    }
    EXPECT_EQ(unit.Mode(), M::kRunning);
    EXPECT_EQ(unit.NextDeadline(), std::nullopt);
    unit.Receive("+++", at);  // refused while running: not an answer of configuration mode
    EXPECT_EQ(unit.TakeOutput(), kError);
    EXPECT_EQ(unit.NextDeadline(), std::nullopt);
}

// In configuration mode, one line after the other, each answer byte for byte. The unit vanishes
// as its n-th write arrives: writes are "AT+X=..." lines of configuration mode other than the
// clock setting, whatever their answer; lines outside configuration mode and other commands do
// not count.
TEST(UnitBehaviour, AnswersEachLineByteExactlyAndVanishesAtTheNthWrite) {
    const std::string longest(99, 'v');
    const struct {
        std::string sent;
        std::string answer;
        bool write;
    } rows[] = {
        {"AT+PORT=9\r\n+++", kIn, false},  // running: not a write
        {"At+CSQ\r\n", kCsq, false},
        {"\r\nAT+CIMI\r\n", kError, false},  // refused, with its "?"
        {"AT+EXCCLK=\"2026/12/05,20:42:08\",5\r\n", kOk, false},
        {"AT+EXCCLK=2026\r\n", kError, false},
        {"at+port=6000\r\n", kOk, true},
        {"AT+NOSUCH=1\r\n", kError, true},
        {"AT+IPAD=1.2.3.4\r\n", kError, true},  // refused
        {"AT+TESTCMD\r\n", kOk, false},         // a command button's command
        {"hello\r\n", "", false},
        {"ssAT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\nOK\r\n", false},  // late "s"
        {"+++", kIn, false},  // a login is confirmed again
        {"AT+APN=" + longest + "\r\n", kOk, true},
        {"AT+APN=" + longest + "w\r\n", kError, true},
        {"AT+APN=" + std::string(5000, 'x') + "\r\n", kError, true},  // longer than a line
        {"AT+APN=", "", false},  // a write waits for its line end
        {"x\r", "", false},
        {"\n", kOk, true},
        {"\r\nat+quit\r\n", kOk, false},
        {"At+CSQ\r\n", "", false},
    };
    for (std::size_t vanishAt = 0; vanishAt <= 8; ++vanishAt) {
        UnitBehaviour unit(DefaultProfile(), UnitTiming{.startWindow = milliseconds(0)});
        unit.Refuse("at+cimi?");
        unit.Refuse("AT+IPAD");
        unit.UnplugAfterWrites(vanishAt);
        unit.PowerOn(kT0);
        unit.Advance(kT0);
        unit.TakeOutput();
        std::size_t writes = 0;
        for (const auto& row : rows) {
            writes += row.write ? 1 : 0;
            const bool gone = vanishAt > 0 && writes >= vanishAt;
            unit.Receive(row.sent, kT0);
            EXPECT_EQ(unit.TakeOutput(), gone ? "" : row.answer) << vanishAt << ": " << row.sent;
            EXPECT_EQ(unit.Unplugged(), gone) << vanishAt << ": " << row.sent.substr(0, 20);
        }
        unit.Advance(kT0 + std::chrono::hours(1));  // no idle notice from a vanished unit
        EXPECT_EQ(unit.TakeOutput(), "");
        EXPECT_EQ(unit.Mode(), vanishAt > 0 && vanishAt < 8 ? M::kConfiguring : M::kRunning);
        EXPECT_EQ(unit.Value("AT+PORT"), vanishAt == 1 ? "5001" : "6000") << vanishAt;
        EXPECT_EQ(unit.Value("AT+IPAD"), "192.168.1.10");
        EXPECT_EQ(unit.ClockText(), "2026/12/05,20:42:08");
        EXPECT_TRUE(unit.Received().ends_with("\r\nat+quit\r\nAt+CSQ\r\n"));
        const std::string apn = vanishAt <= 4 ? "cmnet" : longest;  // the fourth write stores it
        EXPECT_EQ(unit.Value("AT+APN"), vanishAt % 8 == 0 ? "x" : apn) << vanishAt;
    }
}

}  // namespace
}  // namespace sim
