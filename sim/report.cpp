#include "sim/report.h"

#include <set>
#include <string_view>
#include <utility>

namespace sim {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kApnRow = "Access Point Name";

std::string_view WithoutLeadingCrLf(std::string_view label) {
    if (label.starts_with(kCrLf)) label.remove_prefix(kCrLf.size());
    return label;
}

std::string HeaderLines(const Profile& profile) {
    std::string text;
    text += "\r\n----- DTU parameter list -----";
    text += "\r\nFirmware version: ";
    text += kFirmwareVersion;
    text += "\r\nRF MODEL: " + profile.rfModel;
    return text;
}

void AppendLine(std::string& report, std::string_view label, std::string_view value) {
    report += kCrLf;
    report += WithoutLeadingCrLf(label);
    report += ' ';
    report += value;
}

// The first line of the listing: the APN row, or the CDMA line of a unit without an APN.
void AppendListingStart(std::string& report, const Profile& profile,
                        const model::ParamCatalogue& values) {
    if (!profile.hasApn) {
        AppendLine(report, "Whether module using CDMA mode:", "1");
        return;
    }
    const model::ParamEntry* apn = values.Find(kApnRow);
    AppendLine(report, apn ? std::string_view(apn->label) : "Access Point Name:",
               apn ? std::string_view(apn->value) : "");
}

}  // namespace

std::string BuildReport(const Profile& profile, const model::ParamCatalogue& values) {
    std::string report = HeaderLines(profile);
    AppendListingStart(report, profile, values);
    // (command, label without CR LF) of the lines printed so far.
    std::set<std::pair<std::string_view, std::string_view>> printed;
    for (const auto& [name, row] : values) {
        if (name == kApnRow || row.label.empty()) continue;
        const std::string_view label = WithoutLeadingCrLf(row.label);
        if (!printed.emplace(row.command, label).second) continue;
        AppendLine(report, label, row.value);
    }
    report += "\r\n\r\nOK\r\n";
    return report;
}

}  // namespace sim
