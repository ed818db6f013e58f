// The unit's data (its command table and the factory report of each profile) and the state
// built from it: reports, writes and values.
#include "sim/unit_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sim/command_table.h"

namespace sim {
namespace {

// Each profile prints its report file with CR LF line ends and one OK at the end; every
// label once: the labels of every command (a CDMA unit has no access point name) and the
// lines that name the unit.
TEST(UnitData, EveryProfileReportsEachCommandOnceUnderItsLabels) {
    std::set<std::string> commandLabels;
    for (const UnitCommand& command : UnitCommands()) {
        commandLabels.insert(command.labels.begin(), command.labels.end());
    }
    for (const std::string& name : ProfileNames()) {
        const Profile& profile = *FindProfile(name);
        const std::string report = UnitState(profile).Report();
        std::string file;
        for (char c : profile.reportFile)
            file += c == '\n' ? std::string("\r\n") : std::string(1, c);
        EXPECT_EQ(report, file) << name;
        EXPECT_EQ(report.find("OK"), report.size() - 4) << name;
        std::set<std::string> expected = commandLabels;
        expected.insert({"Firmware version:", "RF MODEL:", "Device Type:"});
        if (!profile.hasApn) {
            expected.erase("Access Point Name:");
            expected.insert("Whether module using CDMA mode:");
        }
        std::set<std::string> labels;
        for (std::size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos;
             at = end + 2) {
            const std::string line = report.substr(at, end - at);
            if (line.find(':') == std::string::npos) continue;
            EXPECT_TRUE(labels.insert(line.substr(0, line.find(':') + 1)).second) << name << line;
        }
        EXPECT_EQ(labels, expected) << name;
    }
}

TEST(UnitState, AWriteChangesEveryLineOfItsCommandAndNoOther) {
    UnitState unit(DefaultProfile());
    std::string expected = unit.Report();
    EXPECT_TRUE(unit.Write("at+netmode", "5"));
    EXPECT_TRUE(unit.Write("AT+IPAD1", "10.0.0.1 b"));
    EXPECT_TRUE(unit.Write("AT+PORT", ""));
    EXPECT_FALSE(unit.Write("AT+NOSUCH", "1"));
    EXPECT_FALSE(unit.Write("AT+APN", std::string(kMaxValueBytes, 'a')));
    for (const auto& [before, after] :
         {std::pair{"\r\nnet mode: 0\r\n", "\r\nnet mode: 5\r\n"},
          {"\r\nModel Net Mode: 0\r\n", "\r\nModel Net Mode: 5\r\n"},
          {"\r\nServer1's Ip: 192.168.1.21\r\n", "\r\nServer1's Ip: 10.0.0.1 b\r\n"},
          {"\r\nServer's Port: 5001\r\n", "\r\nServer's Port: \r\n"}}) {
        ASSERT_EQ(expected.find(before), expected.rfind(before)) << before;
        expected.replace(expected.find(before), std::string(before).size(), after);
    }
    EXPECT_EQ(unit.Report(), expected);
    EXPECT_EQ(unit.Value("At+NetMode"), "5");
    EXPECT_EQ(unit.Value("Model Net Mode"), "5");
    EXPECT_EQ(unit.Value("AT+PORT1"), "5021");
    EXPECT_EQ(unit.Value("Device Type"), "7315");
    EXPECT_EQ(unit.Value("Device Type:"), std::nullopt);
    EXPECT_FALSE(unit.SetValue("No such line", "1"));
    EXPECT_TRUE(unit.SetValue("RF MODEL", "BG36"));
    EXPECT_NE(unit.Report().find("\r\nRF MODEL: BG36\r\n"), std::string::npos);
    // A unit without a line for a command takes its write and shows nothing.
    UnitState cdma(*FindProfile("cdma"));
    const std::string before = cdma.Report();
    EXPECT_TRUE(cdma.Write("AT+APN", "internet"));
    EXPECT_EQ(cdma.Value("AT+APN"), std::nullopt);
    EXPECT_EQ(cdma.Report(), before);
}

}  // namespace
}  // namespace sim
