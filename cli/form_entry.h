// Entering named values into the form as a user would, for "set" and "apply --set": finding
// the row a name stands for, choosing a list item, and checking what the form made of it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/record.h"
#include "model/catalogue.h"

namespace app {
class CK4X30FrameWnd;
}

namespace cli {

class Session;
struct CommandContext;

struct Assignment {
    std::string name;  ///< the row's name (an AT command given is resolved to it)
    std::string value;
    int item = -1;         ///< the drop-down item chosen
    std::string formText;  ///< what the form showed before the change
};

/// "NAME=VALUE" texts as assignments, names as given.
std::vector<Assignment> ParseAssignments(const std::vector<std::string>& texts);

/// Puts each name to its row: a row's name, or an AT command ("AT+APN") that exactly one
/// writable row sends. Names each unknown, ambiguous or read-only name on `err`; false then.
bool ResolveNames(const model::ParamCatalogue& catalogue, std::vector<Assignment>& assignments,
                  std::ostream& err);

/// A row "Save" writes (the form's rule) whose field a person can reach on the screen (this
/// command's own rule: it changes only what a user of the window could change).
bool RowShown(const app::CK4X30FrameWnd& f, const std::string& name, const model::ParamEntry& row);

/// Enters every assignment and lets the form settle; then checks each is still shown and
/// holds what was entered. Names each failure on `err`; kExitUsage then, else kExitOk.
int EnterAll(Session& s, std::vector<Assignment>& assignments, std::ostream& err);

/// The result of a run that wrote: each write with its result, the differences --verify
/// found, and whether the unit took any value ("changed"), as text or JSON.
void PrintWrites(CommandContext& ctx, const std::vector<WriteResult>& writes,
                 const std::vector<std::string>& differences);

}  // namespace cli
