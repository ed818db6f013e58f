// The exit codes of dtucfg: what a provisioning script needs to tell outcomes apart.
#pragma once

namespace cli {

enum ExitCode : int {
    kExitOk = 0,        ///< all done, every write acknowledged
    kExitInternal = 1,  ///< the program itself could not run (skin missing, no worker thread)
    kExitUsage = 2,     ///< bad command line, unknown name or item, or a value the form refuses
    kExitPort = 3,      ///< the serial port could not be opened
    kExitLogin = 4,     ///< the unit did not enter configuration mode
    kExitTimeout = 5,   ///< a job of the worker timed out
    kExitRefused = 6,   ///< the unit answered a write with ERROR
    kExitFile = 7,      ///< a file could not be read or written
    kExitVerify = 8,    ///< --verify found a value that differs from the file
};

/// The more telling of two outcomes: the lower code that is not 0 (a timeout before a refused
/// write, a refused write before a verify difference).
constexpr int WorseExit(int a, int b) {
    if (a == kExitOk) return b;
    if (b == kExitOk) return a;
    return a < b ? a : b;
}

}  // namespace cli
