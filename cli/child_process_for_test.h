// Test support: runs a program as a child process and collects what it prints and how it
// ended, so the real dtucfg binary is what the tests examine.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace cli::testing {

struct ChildResult {
    bool finished = false;  ///< false: killed when the time ran out, or could not start
    int exitCode = -1;      ///< the exit status; -1 when it did not exit normally
    std::string out;        ///< everything written to standard output
    std::string err;        ///< everything written to standard error
    double seconds = 0;     ///< wall time from start to exit
};

/// Runs `program` with `args` (argv[1]...), standard input /dev/null, and waits for it at
/// most `timeout`; then kills it. The environment is this process's own.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout);

}  // namespace cli::testing
