// dtucfg from its arguments to its exit code: parsing, the simulated unit, the session, the
// command's handler, closing, and the run record.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ui/clock.h"

namespace cli {

/// What the program learns about where it runs.
struct Environment {
    std::string programFolder;   ///< ends with '/'; the executable's (see LocateFiles)
    bool errIsTerminal = false;  ///< show progress on the error stream
    ui::Clock* clock = nullptr;  ///< the clock of the run's waits; the real one when null
};

/// Runs the command line `args` (without the program's name). Results go to `out`, failures
/// and message boxes to `err`. Returns the exit code (see exit_codes.h).
int RunDtucfg(const std::vector<std::string>& args, const Environment& env, std::ostream& out,
              std::ostream& err);

}  // namespace cli
