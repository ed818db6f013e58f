#include "model/unit_identity.h"

#include "model/report_parser.h"
#include "platform/text.h"

namespace model {

namespace {

/// The write that changes the device ID.
constexpr std::string_view kDeviceIdWrite = "AT+IDNT=";

}  // namespace

UnitIdentity IdentityOfReport(std::string_view text) {
    return {ExtractBetween(text, "\r\nModem's ID number:", "\r\n"),
            ExtractBetween(text, "\r\nRF MODEL:", "\r\n")};
}

bool SameUnit(const UnitIdentity& expected, const UnitIdentity& found,
              const std::vector<WorkerJob>& writes) {
    if (!expected.Known() || !found.Known() || expected.rfModel != found.rfModel) return false;
    if (expected.deviceId == found.deviceId) return true;
    for (const WorkerJob& job : writes) {
        if (!job.line.starts_with(kDeviceIdWrite)) continue;
        const std::string_view value = std::string_view(job.line).substr(kDeviceIdWrite.size());
        if (platform::Trim(value, "\r\n") == found.deviceId) return true;
    }
    return false;
}

}  // namespace model
