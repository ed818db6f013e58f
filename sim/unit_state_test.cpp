// The unit's data (its command table and the factory report of each profile) and the state
// built from it: writes, keys, and the random states the property tests draw.
#include "sim/unit_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sim/command_table.h"
#include "sim/random_state_for_test.h"
#include "sim/tool_port_for_test.h"

namespace sim {
namespace {

using testing::CountOf;

// Labels of report lines that show no parameter of a command.
const std::set<std::string> kLabelsWithoutCommand = {
    "Firmware version:", "RF MODEL:", "Device Type:", "Whether module using CDMA mode:"};

// The labels of the report's lines, in order ("" for a line without a colon).
std::vector<std::string> LabelsOf(std::string_view report) {
    std::vector<std::string> labels;
    for (std::size_t at = 0, end; (end = report.find("\r\n", at)) != std::string_view::npos;
         at = end + 2) {
        const std::string_view line = report.substr(at, end - at);
        const std::size_t colon = line.find(':');
        labels.emplace_back(colon == std::string_view::npos ? "" : line.substr(0, colon + 1));
    }
    return labels;
}

TEST(UnitData, EveryProfileReportsEveryLabelOnceInTheUnitsLayout) {
    std::map<std::string, const UnitCommand*> commandOfLabel;
    for (const UnitCommand& command : UnitCommands()) {
        for (const std::string& label : command.labels) commandOfLabel[label] = &command;
    }
    for (const std::string& name : ProfileNames()) {
        const Profile& profile = *FindProfile(name);
        const std::string report = UnitState(profile).Report();
        std::string file;  // the file is the report as the unit prints it, LF for CR LF
        for (char c : profile.reportFile)
            file += c == '\n' ? std::string("\r\n") : std::string(1, c);
        EXPECT_EQ(report, file) << name;
        ASSERT_FALSE(profile.deviceType.empty() || profile.rfModel.empty()) << name;
        // The listing starts right after the module's line, and nothing before it is read.
        const std::string first =
            profile.hasApn ? "Access Point Name: " : "Whether module using CDMA mode: 1\r\n";
        EXPECT_TRUE(report.starts_with(
            "\r\n----- DTU parameter list -----\r\nFirmware version: V3.2.1\r\nRF MODEL: " +
            profile.rfModel + "\r\n" + first))
            << name;
        EXPECT_TRUE(report.ends_with("\r\n\r\nOK\r\n")) << name;
        EXPECT_EQ(report.find("OK"), report.size() - 4) << name;  // the final OK is the only one
        EXPECT_EQ(report.find("ERROR"), std::string::npos) << name;
        // The tool reads at most 8191 bytes of the listing, which starts after RF MODEL.
        EXPECT_LE(report.size() - report.find("\r\nRF MODEL:") - 2, 8191u) << name;
        std::set<std::string> seen;
        for (const std::string& label : LabelsOf(report)) {
            if (label.empty()) continue;
            EXPECT_TRUE(seen.insert(label).second) << name << ": twice " << label;
            EXPECT_TRUE(commandOfLabel.contains(label) || kLabelsWithoutCommand.contains(label))
                << name << ": no command prints " << label;
        }
        for (const auto& [label, command] : commandOfLabel) {
            const bool printed = profile.hasApn || command->command != "AT+APN";
            EXPECT_EQ(seen.contains(label), printed) << name << ": " << label;
        }
        EXPECT_EQ(seen.contains("Whether module using CDMA mode:"), !profile.hasApn) << name;
    }
}

TEST(UnitState, AWriteChangesEveryLineOfItsCommandAndNoOther) {
    UnitState unit(DefaultProfile());
    const std::string factory = unit.Report();
    EXPECT_TRUE(unit.Write("at+netmode", "5"));
    EXPECT_TRUE(unit.Write("AT+IPAD1", "10.0.0.1 b"));
    EXPECT_TRUE(unit.Write("AT+PORT", ""));
    EXPECT_FALSE(unit.Write("AT+NOSUCH", "1"));
    EXPECT_FALSE(unit.Write("AT+APN", std::string(kMaxValueBytes, 'a')));
    std::string expected = factory;
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"\r\nnet mode: 0\r\n", "\r\nnet mode: 5\r\n"},
             {"\r\nModel Net Mode: 0\r\n", "\r\nModel Net Mode: 5\r\n"},
             {"\r\nServer1's Ip: 192.168.1.21\r\n", "\r\nServer1's Ip: 10.0.0.1 b\r\n"},
             {"\r\nServer's Port: 5001\r\n", "\r\nServer's Port: \r\n"}}) {
        ASSERT_EQ(CountOf(expected, before), 1u) << before;
        expected.replace(expected.find(before), before.size(), after);
    }
    EXPECT_EQ(unit.Report(), expected);
    EXPECT_EQ(unit.Value("At+NetMode"), "5");
    EXPECT_EQ(unit.Value("Model Net Mode"), "5");
    EXPECT_EQ(unit.Value("Server1's Ip"), "10.0.0.1 b");
    EXPECT_EQ(unit.Value("AT+PORT1"), "5021");
    EXPECT_EQ(unit.Value("Device Type"), "7315");
    EXPECT_EQ(unit.Value("Device Type:"), std::nullopt);
    EXPECT_FALSE(unit.SetValue("No such line", "1"));
    EXPECT_TRUE(unit.SetValue("RF MODEL", "BG36"));
    EXPECT_NE(unit.Report().find("\r\nRF MODEL: BG36\r\n"), std::string::npos);
}

TEST(UnitState, AUnitWithoutALineForACommandAcceptsItsWriteAndShowsNothing) {
    UnitState unit(*FindProfile("cdma"));
    const std::string before = unit.Report();
    EXPECT_TRUE(unit.Write("AT+APN", "internet"));
    EXPECT_EQ(unit.Value("AT+APN"), std::nullopt);
    EXPECT_EQ(unit.Report(), before);
}

TEST(CommandTable, AMalformedLineIsNamed) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"AT+A | text 99 | A:\nAT+B | text 99", "line 2: expected"},
        {"# c\nAT+A | text 100 | A:", "line 2: bad domain"},
        {"AT+A | number 5 1 | A:", "bad domain"},
        {"AT+A | text 9 | A: b:", "bad label"},
        {"IPAD | text 9 | A:", "not a command"},
        {"AT+A | text 9 | A:\nat+a | text 9 | B:", "line 2: command listed twice"},
        {"AT+A | text 9 | A:\nAT+B | text 9 | A:", "line 2: label listed twice"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_EQ(ParseCommandTable(text, error), std::nullopt) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << " gave " << error;
    }
}

bool Holds(const std::vector<std::string>& values, const std::string& value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// The values that a list item stands for, or a number in range.
bool Listed(const UnitCommand& c, const std::string& v) {
    if (c.kind == DomainKind::kList) return Holds(c.listed, v);
    return !v.empty() && v.find_first_not_of("0123456789") == std::string::npos && v.size() < 10 &&
           std::stol(v) >= c.low && std::stol(v) <= c.high;
}

// The values no list item stands for that a random state may draw.
std::vector<std::string> Others(const UnitCommand& c) {
    std::vector<std::string> others = c.unlisted;
    if (c.kind == DomainKind::kNumber) {
        others.insert(others.end(), {std::to_string(c.low - 1), std::to_string(c.high + 1)});
    }
    others.insert(others.end(), {"77", "x"});
    return others;
}

// Over many seeds: every value lies in its command's domain, and every listed value, every
// unlisted one and every kind of text turns up.
TEST(RandomUnitState, DrawsEveryValueOfEachDomainAndNothingElse) {
    using testing::ValueMix;
    const Profile& profile = DefaultProfile();
    std::set<std::pair<std::string, std::string>> drawn;  // (command, value)
    std::set<std::string> textKinds;
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        const ValueMix mix = seed % 2 ? ValueMix::kListed : ValueMix::kAny;
        const UnitState unit = testing::RandomUnitState(profile, seed, mix);
        for (const UnitCommand& c : UnitCommands()) {
            const std::string v = unit.Value(c.command).value_or("(none)");
            drawn.emplace(c.command, v);
            if (c.kind == DomainKind::kText) {
                ASSERT_LE(v.size(), c.maxBytes);
                ASSERT_EQ(v.find_first_of("\r\n"), std::string::npos);
                ASSERT_FALSE(v.starts_with(' ') || v.ends_with(' ')) << v;
                ASSERT_EQ(v.find("OK"), std::string::npos) << v;
                ASSERT_EQ(v.find("ERROR"), std::string::npos) << v;
                if (v.empty()) textKinds.insert("empty");
                if (v.size() == c.maxBytes) textKinds.insert("longest");
                if (v.find(' ') != std::string::npos) textKinds.insert("blank inside");
                continue;
            }
            ASSERT_TRUE(Listed(c, v) || (mix == ValueMix::kAny && Holds(Others(c), v)))
                << c.command << " " << v;
        }
    }
    EXPECT_EQ(textKinds.size(), 3u);
    for (const UnitCommand& c : UnitCommands()) {
        if (c.kind == DomainKind::kText) continue;
        std::vector<std::string> wanted = Others(c);  // a number's range is too wide to see whole
        wanted.insert(wanted.end(), c.listed.begin(), c.listed.end());
        for (const std::string& v : wanted) {
            EXPECT_TRUE(drawn.contains({c.command, v})) << c.command << " " << v;
        }
    }
    EXPECT_EQ(testing::RandomUnitState(profile, 5).Report(),
              testing::RandomUnitState(profile, 5).Report());
    EXPECT_NE(testing::RandomUnitState(profile, 5).Report(),
              testing::RandomUnitState(profile, 6).Report());
}

}  // namespace
}  // namespace sim
