// The write plan shown before anything is written (--dry-run): each line "Save" or a
// configuration file would send, in sending order, with the unit's value and the new one.
#pragma once

#include <string>
#include <vector>

#include "model/catalogue.h"
#include "model/worker_job.h"

namespace cli {

struct CommandContext;

struct PlannedWrite {
    std::string name;      ///< the row's name
    std::string label;     ///< its label in the report without the colon; may be empty
    std::string oldValue;  ///< what the unit holds
    std::string newValue;  ///< what is written
    std::string line;      ///< the line sent, without its CR LF
};

/// The planned `jobs` described by the rows of `catalogue`, which hold the unit's values.
std::vector<PlannedWrite> DescribePlan(const model::ParamCatalogue& catalogue,
                                       const std::vector<model::WorkerJob>& jobs);

/// A line per write: label (or name), the unit's value, the new value and the line, by TABs,
/// made safe for a terminal.
std::string FormatPlanText(const std::vector<PlannedWrite>& plan);
/// An array of {"name", "label" (when the row has one), "old", "new", "line"}, ending in LF.
std::string FormatPlanJson(const std::vector<PlannedWrite>& plan);

/// Prints the plan of `jobs` (text or --json) and says on the error stream that nothing was
/// written. kExitOk.
int PrintPlan(CommandContext& ctx, const std::vector<model::WorkerJob>& jobs);

}  // namespace cli
