#include "sim/report.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "sim/default_values.h"
#include "sim/tool_port_for_test.h"

namespace sim {
namespace {

using testing::CountOf;

constexpr std::string_view kApnLabel = "Access Point Name:";
constexpr std::string_view kCdmaLabel = "Whether module using CDMA mode:";
// The tool reads the listing from its start line on, at most this many bytes of it.
constexpr std::size_t kToolListingLimit = 8191;

struct Unit {
    const Profile* profile;
    model::ParamCatalogue values;
};

Unit FactoryUnit(std::string_view profileName) {
    Unit unit{FindProfile(profileName), {}};
    model::InitParamCatalogue(unit.values);
    if (unit.profile != nullptr) ApplyDefaults(*unit.profile, unit.values);
    return unit;
}

// What the tool takes from a report for the row labelled `label`: the text after the first
// occurrence of the label in the listing, without blanks around it, up to the line end.
std::optional<std::string> ValueAfterLabel(std::string_view listing, std::string_view label) {
    std::size_t start = listing.find(label);
    if (start == std::string_view::npos) return std::nullopt;
    start += label.size();
    const std::size_t end = listing.find("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;
    while (start < end && listing[start] == ' ') ++start;
    std::string_view value = listing.substr(start, end - start);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    return std::string(value);
}

std::string_view Listing(std::string_view report) {
    std::size_t start = report.find(kApnLabel);
    if (start == std::string_view::npos) start = report.find(kCdmaLabel);
    return start == std::string_view::npos ? std::string_view() : report.substr(start);
}

TEST(DefaultValues, EveryRowOfEveryProfileHasAPlainShortValue) {
    for (const std::string& name : ProfileNames()) {
        Unit unit = FactoryUnit(name);
        ASSERT_NE(unit.profile, nullptr) << name;
        model::ParamCatalogue catalogue;
        model::InitParamCatalogue(catalogue);
        EXPECT_EQ(ApplyDefaults(*unit.profile, catalogue), std::vector<std::string>{}) << name;
        for (const auto& [row, entry] : unit.values) {
            EXPECT_EQ(entry.value.find_first_of("\r\n"), std::string::npos) << row;
            EXPECT_LT(entry.value.size(), 100u) << row;
            // The tool takes these words in any answer as the end of the exchange.
            EXPECT_EQ(entry.value.find("OK"), std::string::npos) << row;
            EXPECT_EQ(entry.value.find("ERROR"), std::string::npos) << row;
        }
    }
}

TEST(DefaultValues, RowsThatShareACommandStartEqual) {
    const Unit unit = FactoryUnit("base");
    std::map<std::string, std::string> byCommand;
    for (const auto& [name, row] : unit.values) {
        if (row.command.empty()) continue;
        const auto [it, first] = byCommand.emplace(row.command, row.value);
        EXPECT_EQ(it->second, row.value) << name << " shares " << row.command;
    }
}

TEST(DefaultValues, ChannelRowsCarryTheirChannelNumber) {
    const Profile& profile = DefaultProfile();
    EXPECT_EQ(DefaultValue(profile, "DIO3 high level information"), "HIGH3");
    EXPECT_EQ(DefaultValue(profile, "The DIO5 data format"), "0");
    EXPECT_EQ(DefaultValue(profile, "Center call number"), "*99***1#");
    EXPECT_EQ(DefaultValue(profile, "DIO6 protocol"), std::nullopt);
    EXPECT_EQ(DefaultValue(profile, "No such row"), std::nullopt);
    EXPECT_EQ(DefaultValue(*FindProfile("lora"), "Device Type"), "7315-L");
}

TEST(Report, BaseReportHeaderListingStartAndEnd) {
    const Unit unit = FactoryUnit("base");
    const std::string report = BuildReport(*unit.profile, unit.values);
    EXPECT_GT(report.size(), 3000u);
    EXPECT_NE(report.find("\r\nRF MODEL: BG96\r\nAccess Point Name: cmnet\r\n"), std::string::npos);
    EXPECT_TRUE(report.ends_with("\r\n\r\nOK\r\n"));
    EXPECT_EQ(report.find("OK"), report.size() - 4);  // the final OK is the only one
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    EXPECT_EQ(report.find(kCdmaLabel), std::string::npos);
    EXPECT_LE(Listing(report).size(), kToolListingLimit);
    EXPECT_NE(report.find("\r\nDevice Type: 7315\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nDIO1 workmode: 0\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nCustom Register Info: \r\n"), std::string::npos);
}

TEST(Report, EveryLabelStandsOnceAtALineStart) {
    const Unit unit = FactoryUnit("base");
    const std::string report = BuildReport(*unit.profile, unit.values);
    for (const auto& [name, row] : unit.values) {
        if (row.label.empty()) continue;
        EXPECT_EQ(CountOf(report, row.label), 1u) << name;
        std::string_view bare(row.label);
        if (bare.starts_with("\r\n")) bare.remove_prefix(2);
        EXPECT_EQ(CountOf(report, "\r\n" + std::string(bare)), 1u) << name;
    }
}

TEST(Report, CdmaUnitHasNoApnLineAndStartsWithTheCdmaLine) {
    const Unit unit = FactoryUnit("cdma");
    const std::string report = BuildReport(*unit.profile, unit.values);
    EXPECT_EQ(report.find(kApnLabel), std::string::npos);
    EXPECT_NE(report.find("\r\nRF MODEL: MC8332\r\nWhether module using CDMA mode: 1\r\n"),
              std::string::npos);
    for (const auto& [name, row] : unit.values) {
        if (row.label.empty() || name == "Access Point Name") continue;
        EXPECT_EQ(CountOf(report, row.label), 1u) << name;
    }
}

TEST(Report, ToolReadsBackEveryValueOfEveryProfile) {
    for (const std::string& profileName : ProfileNames()) {
        Unit unit = FactoryUnit(profileName);
        // Distinct values, so a line read for the wrong row shows.
        int serial = 0;
        for (auto& [name, row] : unit.values) row.value = "v" + std::to_string(++serial);
        const std::string report = BuildReport(*unit.profile, unit.values);
        const std::string_view listing = Listing(report);
        ASSERT_FALSE(listing.empty()) << profileName;
        EXPECT_EQ(ValueAfterLabel(report, "RF MODEL:"), unit.profile->rfModel);
        // (command, label without its CR LF) → value of the first row that has them: rows
        // with the same command and label share one line.
        std::map<std::pair<std::string, std::string>, std::string> lines;
        for (const auto& [name, row] : unit.values) {
            if (row.label.empty() || (name == "Access Point Name" && !unit.profile->hasApn)) {
                continue;
            }
            const std::string bare =
                row.label.starts_with("\r\n") ? row.label.substr(2) : row.label;
            const auto line = lines.emplace(std::make_pair(row.command, bare), row.value).first;
            EXPECT_EQ(ValueAfterLabel(listing, row.label), line->second)
                << profileName << " " << name;
        }
    }
}

TEST(Report, DeviceTypeLineFollowsTheProfile) {
    for (const std::string& profileName : ProfileNames()) {
        const Unit unit = FactoryUnit(profileName);
        const std::string report = BuildReport(*unit.profile, unit.values);
        EXPECT_EQ(ValueAfterLabel(Listing(report), "\r\nDevice Type:"), unit.profile->deviceType)
            << profileName;
        EXPECT_NE(report.find("RF MODEL: " + unit.profile->rfModel + "\r\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace sim
