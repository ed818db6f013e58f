// The commands of dtucfg as a table: name, argument count, whether a unit is needed, and the
// handler that does the work over a Session.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/record.h"

namespace cli {

class Session;

/// What a handler works with. `session` is null for commands that need no unit.
struct CommandContext {
    const Options& options;
    Session* session;
    std::ostream& out;          ///< the command's result
    std::ostream& err;          ///< failures, named one per line
    RunRecord& record;          ///< filled for --record
    std::string fileText = {};  ///< apply: the configuration file, read by its preparation
};

using CommandHandler = int (*)(CommandContext& ctx);

/// Whether a command talks to a unit.
enum class UnitUse {
    kNone,         ///< never opens a port
    kNeeded,       ///< opens the port and logs in before the handler runs
    kOptional,     ///< with --port or --simulate only
    kWithOneFile,  ///< when given one file (the unit stands for the other)
};

struct Command {
    std::string_view name;
    int minArgs;
    int maxArgs;
    UnitUse unit;               ///< whether it opens the port and logs in first
    std::string_view synopsis;  ///< "read [-o FILE.cfg]"
    std::string_view summary;   ///< what it does, for the help text
    CommandHandler prepare;     ///< checks before the port is opened (may be null)
    CommandHandler run;         ///< returns an exit code (see exit_codes.h)
};

/// Every command, in the order the help text lists them.
std::span<const Command> Commands();
/// The command called `name`, or null.
const Command* FindCommand(std::string_view name);
/// Whether `command` talks to a unit with the arguments and options of `options`.
bool UnitWanted(const Command& command, const Options& options);

// Handlers of the commands that read or write parameters (command_params.cpp).
int PrepareSet(CommandContext& ctx);
int PrepareApply(CommandContext& ctx);
int RunRead(CommandContext& ctx);
int RunSet(CommandContext& ctx);
int RunApply(CommandContext& ctx);
int RunSave(CommandContext& ctx);
/// "diff": the rows two configurations hold differently (diff.cpp).
int PrepareDiff(CommandContext& ctx);
int RunDiff(CommandContext& ctx);
/// "params": every parameter with its names, page and list items (params_list.cpp).
int RunParams(CommandContext& ctx);

}  // namespace cli
