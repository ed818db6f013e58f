// One job for the write job worker: a line to send to the unit and what to do with the answer.
#pragma once

#include <string>
#include <vector>

namespace model {

/// The kinds of job. The numbers are the design's: tables and tests name a kind by them.
enum class JobKind {
    kReadReport = 1,
    kWriteParam = 2,
    kLogin = 3,
    kFactory = 4,
    kSaveToFile = 5,
    kLoadFromFile = 6,
    kQuit = 7,
    kNetMode = 8,
    kVersion = 9,
    kSim = 10,
    kSignal = 11,
    kSignalAgain = 12,
    kReadLog = 13,
    kCommandButton = 15,
    /// The report read after a reconnection or a restart to learn which unit answers; the
    /// form is not filled from it.
    kIdentify = 16,
};

struct WorkerJob {
    JobKind jobKind{};       // decides the time limit, the awaited reply and the finishing step
    std::string line;        // the exact bytes written to the unit
    std::string paramName;   // parameter writes: the control name of the catalogue row
    std::string paramValue;  // parameter writes: the value being written
    /// Parameter writes: the other rows that asked for the very same line in the same walk;
    /// they hold the value too once the unit has taken it.
    std::vector<std::string> sameLineRows = {};
};

/// The jobs that ask for the unit's parameter report ("\r\nAT+SHOW\r\n").
constexpr bool IsReportRequest(JobKind kind) {
    return kind == JobKind::kReadReport || kind == JobKind::kSaveToFile ||
           kind == JobKind::kLoadFromFile || kind == JobKind::kIdentify;
}

}  // namespace model
