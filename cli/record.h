// The run record (--record FILE): one JSON line per run, appended, for the provisioning log
// of a batch of units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// One parameter write of the run and how the unit answered it.
struct WriteResult {
    std::string name;    ///< the catalogue row; empty for the clock
    std::string line;    ///< the line sent, without its CR LF
    std::string value;   ///< the value written
    std::string result;  ///< "ok", "error" or "timeout"
};

struct RunRecord {
    std::string command;
    std::string port;
    std::string deviceType;  ///< from the unit's last report; empty without one
    std::string rfModel;
    std::string report;  ///< the unit's last report as received (hashed in the line)
    std::vector<WriteResult> writes;
    int exitCode = 0;
    int reconnects = 0;  ///< how often the port was opened again after it was lost
};

/// FNV-1a, 64 bits.
std::uint64_t Fnv1a64(std::string_view bytes);
/// Sixteen lower-case hex digits.
std::string Hex64(std::uint64_t value);
/// "2024-05-01T12:00:00Z" of `secondsSinceEpoch`, in UTC.
std::string UtcTimeText(long long secondsSinceEpoch);

/// The record as one line of JSON, ending in LF: time, command, port, device type, RF model,
/// the report's hash (empty without a report), every write with its result, the exit code.
std::string FormatRecordLine(const RunRecord& record, long long secondsSinceEpoch);

/// Appends `line` to `path` with one write on a file opened for appending, so runs that
/// share the file never interleave their lines. False, with the reason in `error`, when
/// the file cannot be opened or written.
bool AppendRecordLine(const std::string& path, std::string_view line, std::string& error);

}  // namespace cli
