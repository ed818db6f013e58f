// The unit's data (its command table and the factory report of each profile) and the state
// built from it: reports, writes and values.
#include "sim/unit_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "sim/command_table.h"

namespace sim {
namespace {

// `text` with each LF replaced by CR LF, as the unit prints its report file.
std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) c == '\n' ? out.append("\r\n") : out.append(1, c);
    return out;
}

// Each profile prints its report file with one OK at the end; every label once: the labels of
// every command (a CDMA unit has no access point name) and the lines that name the unit. Every
// row can be dropped on its own: the report is then the report file without that one line, the
// row cannot be dropped twice, and a write to a command shown only there is taken and keeps
// nothing.
TEST(UnitData, EveryProfileReportsEachCommandOnceAndAnyRowCanBeDropped) {
    std::set<std::string> commandLabels;
    for (const UnitCommand& command : UnitCommands()) {
        commandLabels.insert(command.labels.begin(), command.labels.end());
    }
    for (const std::string& name : ProfileNames()) {
        const Profile& profile = *FindProfile(name);
        const std::string report = UnitState(profile).Report();
        EXPECT_EQ(report, Crlf(profile.reportFile)) << name;
        EXPECT_EQ(report.find("OK"), report.size() - 4) << name;
        std::set<std::string> expected = commandLabels;
        expected.insert({"Firmware version:", "RF MODEL:", "Device Type:"});
        if (!profile.hasApn) {
            expected.erase("Access Point Name:");
            expected.insert("Whether module using CDMA mode:");
        }
        const std::string_view file = profile.reportFile;
        std::set<std::string> labels;
        for (std::size_t at = 0, end; (end = file.find('\n', at)) != std::string::npos;
             at = end + 1) {
            const std::string_view row = file.substr(at, end - at);
            if (row.find(':') == std::string_view::npos) continue;
            const std::string label(row.substr(0, row.find(':')));
            EXPECT_TRUE(labels.insert(label + ":").second) << name << ": " << label;
            const std::string without =
                Crlf(std::string(file.substr(0, at)) + std::string(file.substr(end + 1)));
            UnitState unit(profile);
            ASSERT_TRUE(unit.DropLine(label)) << name << ": " << label;
            EXPECT_EQ(unit.Report(), without) << name << ": " << label;
            EXPECT_FALSE(unit.DropLine(label)) << name << ": " << label;
            EXPECT_EQ(unit.Value(label), std::nullopt) << name << ": " << label;
            for (const UnitCommand& command : UnitCommands()) {
                if (command.labels != std::vector<std::string>{label + ":"}) continue;
                EXPECT_TRUE(unit.Write(command.command, "1")) << command.command;
                EXPECT_EQ(unit.Report(), without) << name << ": " << command.command;
            }
        }
        EXPECT_EQ(labels, expected) << name;
    }
    UnitState unit(DefaultProfile());
    EXPECT_FALSE(unit.DropLine("Server's Ip:"));  // the label without its colon
    EXPECT_FALSE(unit.DropLine("AT+IPAD"));       // a label, not a command
    EXPECT_FALSE(unit.DropLine(""));
}

TEST(UnitState, AWriteChangesEveryLineOfItsCommandAndNoOther) {
    UnitState unit(DefaultProfile());
    std::string expected = unit.Report();
    EXPECT_TRUE(unit.Write("at+netmode", "5"));
    EXPECT_TRUE(unit.Write("AT+IPAD1", "10.0.0.1 b"));
    EXPECT_TRUE(unit.Write("AT+PORT", ""));
    for (const auto& [before, after] :
         {std::pair{"\r\nnet mode: 0\r\n", "\r\nnet mode: 5\r\n"},
          {"\r\nModel Net Mode: 0\r\n", "\r\nModel Net Mode: 5\r\n"},
          {"\r\nServer1's Ip: 192.168.1.21\r\n", "\r\nServer1's Ip: 10.0.0.1 b\r\n"},
          {"\r\nServer's Port: 5001\r\n", "\r\nServer's Port: \r\n"}}) {
        ASSERT_EQ(expected.find(before), expected.rfind(before)) << before;
        expected.replace(expected.find(before), std::string(before).size(), after);
    }
    EXPECT_EQ(unit.Report(), expected);
    EXPECT_EQ(unit.Value("Device Type:"), std::nullopt);
    EXPECT_FALSE(unit.SetValue("No such line", "1"));
}

// Values a unit may show that look like something else: a reply text "OK" or "ERROR" stays a
// value line and the report still ends with its own OK; an NB band of 0, which no write takes.
TEST(UnitState, AnyValueIsShownAsAValueLine) {
    const struct {
        const char* profile;
        const char* key;
        const char* value;
        const char* line;
    } rows[] = {
        {"base", "AT+CONNRGSTREP", "OK", "\r\nCustom Register reply Info: OK\r\n"},
        {"base", "Custom Register reply Info", "ERROR",
         "\r\nCustom Register reply Info: ERROR\r\n"},
        {"bc35", "AT+CONNRGSTREP", "\r\nOK", "\r\nCustom Register reply Info: \r\nOK\r\n"},
        {"bc35", "AT+NBIOTNBAND", "0", "\r\nnb iot nband: 0\r\n"},
    };
    for (const auto& row : rows) {
        UnitState unit(*FindProfile(row.profile));
        ASSERT_TRUE(unit.SetValue(row.key, row.value)) << row.key;
        const std::string report = unit.Report();
        EXPECT_NE(report.find(row.line), std::string::npos) << row.key << ": " << row.value;
        EXPECT_TRUE(report.ends_with("\r\n\r\nOK\r\n")) << row.key;
        EXPECT_EQ(unit.Value(row.key), row.value);
    }
}

}  // namespace
}  // namespace sim
