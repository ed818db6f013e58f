// Writing the form back: one AT command line for every shown row whose form value differs from
// what the unit is known to hold.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"
#include "model/page_table.h"
#include "model/worker_job.h"
#include "platform/language_texts.h"
#include "ui/paint_manager.h"

namespace model {

/// Why the walk did not write a row the form changed.
enum class RefusalKind {
    kLineBreak,  ///< its value holds CR or LF
    kNbBand,     ///< the NB band is outside 1 to 65535: the walk stopped there
};

struct WriteRefusal {
    RefusalKind kind;
    std::string name;  ///< the row refused
};

struct BuildContext {
    ui::PaintManager& pm;
    ParamCatalogue& catalogue;
    const PageTable& pages;
    const platform::LanguageTexts& texts;
    std::function<void(std::string_view)> log;    // a notice to the log view
    std::function<void(const WorkerJob&)> queue;  // a write job to the worker; may be empty
    /// When set, only the rows it names are written (a configuration file's own rows).
    const std::set<std::string>* onlyRows = nullptr;
    // What the walk found, in sending order: the jobs handed to `queue` at its end, the rows
    // refused, and the rows left unqueued because the walk stopped.
    std::vector<WorkerJob> planned = {};
    std::vector<WriteRefusal> refusals = {};
    std::vector<std::string> notQueued = {};
    /// The jobs of `notQueued`, as they would have been sent.
    std::vector<WorkerJob> unqueued = {};
    /// Flagged drop-downs that show no item: never written, whatever the unit holds.
    std::vector<std::string> showingNoItem = {};
};

/// The line of a parameter write: command, "=", the value unchanged, CR LF.
std::string ParamWriteLine(std::string_view command, std::string_view value);

/// Plans the write of `value` for `row` (named `name`) unless the row holds it already. The
/// same line is planned once per walk, however many rows ask for it; the job names every such
/// row, so each records the value the unit takes. A value holding CR or LF is not sent (it
/// would end the line early and run the rest as a command of its own): the log names the field
/// instead. Returns whether the walk sends the value.
bool QueueParamWrite(BuildContext& ctx, const std::string& name, const ParamEntry& row,
                     const std::string& value);

/// Whether "Save" writes `row` when its value differs: the row's flag and its page's flag are
/// set, its `control` exists, and a drop-down shows an item (one that shows none says nothing
/// about the unit's value). The flags decide, not the screen: a row keeps its flag while a
/// group above it is hidden (the main server in server mode), so a configuration carries it.
bool RowIsWritten(const ParamEntry& row, const PageTable& pages, const ui::Control* control);
/// Whether the row's flag and its page's flag are set.
bool RowIsFlagged(const ParamEntry& row, const PageTable& pages);

/// Walks the catalogue in key order and plans a write per changed row whose flag is set, on a
/// page whose flag is set, then queues the plan. A drop-down that shows no item is never
/// written. A changed "NBBand" outside 1 to 65535 logs its notice and stops the writes there:
/// the rows after it are not queued, and the log names them; returns false then. A band the
/// user did not change is not checked.
bool BuildWriteJobs(BuildContext& ctx);

}  // namespace model
