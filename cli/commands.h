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

struct Command {
    std::string_view name;
    int minArgs;
    int maxArgs;
    bool needsUnit;             ///< opens the port and logs in before the handler runs
    std::string_view synopsis;  ///< "read [-o FILE.cfg]"
    std::string_view summary;   ///< what it does, for the help text
    CommandHandler prepare;     ///< checks before the port is opened (may be null)
    CommandHandler run;         ///< returns an exit code (see exit_codes.h)
};

/// Every command, in the order the help text lists them.
std::span<const Command> Commands();
/// The command called `name`, or null.
const Command* FindCommand(std::string_view name);

// Handlers of the commands that read or write parameters (command_params.cpp).
int PrepareSet(CommandContext& ctx);
int PrepareApply(CommandContext& ctx);
int RunRead(CommandContext& ctx);
int RunSet(CommandContext& ctx);
int RunApply(CommandContext& ctx);
int RunSave(CommandContext& ctx);

}  // namespace cli
