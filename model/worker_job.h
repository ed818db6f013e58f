// One job for the write job worker: a line to send to the unit and what to do with the answer.
#pragma once

#include <string>

namespace model {

struct WorkerJob {
    int jobKind = 0;         // decides the time limit, the awaited reply and the finishing step
    std::string line;        // the exact bytes written to the unit
    std::string paramName;   // parameter writes: the control name of the catalogue row
    std::string paramValue;  // parameter writes: the value being written
};

/// The kinds of job.
enum JobKind {
    kReadReport = 1,
    kWriteParam = 2,
    kLoginKind = 3,
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
};

}  // namespace model
