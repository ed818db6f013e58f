// The plan of a "Save" as the window shows it before anything is sent: the rows it writes
// (the fields marked changed) and the lines of the write review. Both come from the walk of
// "Save" itself, run without queueing.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "model/command_builder.h"
#include "platform/dialogs.h"

namespace model {

struct WritePlan {
    std::vector<WorkerJob> planned;  ///< in sending order
    std::vector<WriteRefusal> refusals;
    std::vector<WorkerJob> unqueued;  ///< planned, then left out as the writes stopped
    std::vector<std::string> showingNoItem;
};

/// The walk of "Save" (BuildWriteJobs) with nothing queued and nothing logged.
WritePlan PlanWrites(ui::PaintManager& pm, ParamCatalogue& catalogue, const PageTable& pages,
                     const platform::LanguageTexts& texts);

/// The rows the plan writes: each job's own row and the rows that asked for the same line.
std::set<std::string> RowsWritten(const WritePlan& plan);

/// The review's lines: the planned ones in sending order, then those the rules refuse, each
/// with its reason (the texts of the "Review" section).
std::vector<platform::ReviewRow> ReviewRows(const WritePlan& plan, const ui::PaintManager& pm,
                                            const ParamCatalogue& catalogue, const PageTable& pages,
                                            const platform::LanguageTexts& texts);

/// The text of the nearest label before `control` in its row; empty when there is none.
std::string FieldLabel(const ui::Control& control);

}  // namespace model
