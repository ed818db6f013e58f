// Telling results apart after an action: the notices the log view shows (Language.ini's
// texts), the message boxes, the writes the catalogue recorded and the replies of the jobs.
#pragma once

#include <iosfwd>
#include <vector>

#include "cli/record.h"
#include "cli/session.h"

namespace cli {

struct Outcome {
    int exitCode = 0;                 ///< see exit_codes.h
    std::vector<WriteResult> writes;  ///< every parameter write since the mark
};

/// Judges everything since `mark` by the outcomes the window told, never by the log's wording:
/// a job without an answer (or a report cut short) gives kExitTimeout, a refused write or
/// factory reset (or a command answered ERROR) kExitRefused, a refusal of the form (line
/// break, NB band) kExitUsage, a file that could not be read or written kExitFile; the worse
/// one wins. Each failed job is named on `err` with its line and the unit's reply.
Outcome JudgeSince(const Session& session, const Mark& mark, std::ostream& err);

/// The result of a write job as "ok", "error" or "timeout": "ok" when the unit's result line was
/// OK and the catalogue recorded the value.
std::string WriteResultText(const Session& session, const JobRecord& record);

}  // namespace cli
