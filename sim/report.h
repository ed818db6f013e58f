// The parameter report: the unit's answer to "AT+SHOW".
#pragma once

#include <string>

#include "model/catalogue.h"
#include "sim/profiles.h"

namespace sim {

/// The firmware version the unit reports in its header and to "At+VER".
inline constexpr const char* kFirmwareVersion = "V3.2.1";

/// The report of a unit of `profile` that holds the values of `values`: header lines, the
/// "RF MODEL:" line, then the listing, which starts with "Access Point Name: <value>" (or,
/// for a unit without an APN, "Whether module using CDMA mode: 1") and holds one line per
/// catalogue label in catalogue order: CR LF, the label without its own leading CR LF, a
/// blank and the value. Rows without a label are left out; rows that share a command and
/// whose labels differ only in the leading CR LF give one line, at the first such row. The
/// report ends with "\r\n\r\nOK\r\n".
std::string BuildReport(const Profile& profile, const model::ParamCatalogue& values);

}  // namespace sim
