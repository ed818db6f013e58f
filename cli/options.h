// The command line of dtucfg: global options, the command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

/// Everything the command line asks for, checked for shape (not yet against the form).
struct Options {
    std::string command;                 ///< "read", "set", ...; empty with --help
    std::vector<std::string> arguments;  ///< the command's own arguments, in order
    std::string port;                    ///< --port PATH
    int baud = 115200;                   ///< --baud N
    std::string format = "8N1";          ///< --format, an item of the form's format list
    int languageCode = -1;               ///< --lang: 0 English, 1 Chinese, -1 from config.ini
    double loginWaitSeconds = 3.0;       ///< --login-wait: handshake time before "+++"
    double reconnectSeconds = 0;         ///< --reconnect: wait for a lost port, then resume
    bool simulate = false;               ///< --simulate[=PROFILE]
    std::string simulateProfile;         ///< the profile's name when simulating
    bool json = false;                   ///< --json
    bool verbose = false;                ///< --verbose: the log view on standard error
    std::string recordPath;              ///< --record FILE
    std::string outputPath;              ///< read -o FILE
    bool verify = false;                 ///< apply --verify
    bool withLinked = false;             ///< set --with-linked: also write rows the form changed
    bool dryRun = false;                 ///< set, apply --dry-run: print the plan, write nothing
    bool force = false;                  ///< set --force: send values the form's checks fail
    std::vector<std::string> setValues;  ///< apply --set NAME=VALUE: named values over the file's
    bool help = false;                   ///< --help or -h
    bool version = false;                ///< --version
};

/// Either the options or the reason the command line was refused.
struct ParseResult {
    std::optional<Options> options;
    std::string error;  ///< set when `options` is empty
};

/// Parses the arguments after the program name. Options may stand before or after the
/// command; "--" ends them. Refuses unknown options, missing or malformed option values,
/// unknown commands, wrong argument counts, options that do not belong to the command, and a
/// command that needs a unit without exactly one of --port and --simulate.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

/// The help text: synopsis, commands, options and exit codes.
std::string UsageText();

}  // namespace cli
