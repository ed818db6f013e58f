// The commands that read, change and save the unit's parameters.
#include <algorithm>
#include <iterator>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/form_entry.h"
#include "cli/outcome.h"
#include "cli/output.h"
#include "cli/plan.h"
#include "cli/session.h"
#include "model/command_builder.h"
#include "ui/controls.h"

namespace cli {

namespace {

std::vector<ParamLine> CollectParams(const app::CK4X30FrameWnd& f) {
    std::vector<ParamLine> params;
    for (const auto& [name, row] : f.catalogue) {
        const ui::Control* control = f.paintManager.FindControl(name);
        params.push_back(ParamLine{name, row.command, row.page, row.value,
                                   control ? control->GetText() : std::string(),
                                   RowShown(f, name, row)});
    }
    return params;
}

/// Warns about each changed field for which the form writes nothing (some choices of a few
/// lists are not written, or are written to another row).
void WarnAboutUnwrittenChanges(CommandContext& ctx, const std::vector<Assignment>& assignments,
                               const WritePreview& preview) {
    for (const Assignment& a : assignments) {
        const ui::Control* control = ctx.session->Frame().paintManager.FindControl(a.name);
        if (control->GetText() == a.formText) continue;
        const bool written =
            std::any_of(preview.jobs.begin(), preview.jobs.end(),
                        [&](const model::WorkerJob& job) { return job.paramName == a.name; });
        if (!written) {
            ctx.err << "dtucfg: warning: the form writes nothing for " << Printable(a.name) << "\n";
        }
    }
}

/// The writes of the plan for rows that were not named: the form's rules changed them when
/// a named field took its value (a new data format empties the channel's texts).
std::vector<model::WorkerJob> LinkedWrites(const WritePreview& preview,
                                           const std::vector<Assignment>& assignments) {
    std::vector<model::WorkerJob> linked;
    std::ranges::copy_if(preview.jobs, std::back_inserter(linked), [&](const auto& job) {
        return std::ranges::none_of(assignments,
                                    [&](const Assignment& a) { return a.name == job.paramName; });
    });
    return linked;
}

/// Names each linked write and refuses the whole plan: nothing the user did not ask for is
/// written without being shown first.
int RefuseLinkedWrites(CommandContext& ctx, const std::vector<model::WorkerJob>& linked) {
    ctx.err << "dtucfg: the form would also write rows that were not named:\n";
    for (const model::WorkerJob& job : linked) {
        ctx.err << "dtucfg:   " << Printable(job.paramName) << ": "
                << Printable(WithoutLineEnds(job.line)) << "\n";
    }
    ctx.err << "dtucfg: nothing written; name these rows too, or give --with-linked to write "
               "them\n";
    return kExitUsage;
}

/// Names each value the form's checks find wrong, with the reason, and refuses the plan: the
/// unit may take it, so --force sends it.
int RefuseInvalidValues(CommandContext& ctx, const std::vector<std::string>& rows) {
    const app::CK4X30FrameWnd& f = ctx.session->Frame();
    for (const std::string& name : rows) {
        const std::string value = f.paintManager.FindControl(name)->GetText();
        ctx.err << "dtucfg: " << Printable(name) << "=" << Printable(value) << ": "
                << Printable(f.InvalidReason(name, value)) << "\n";
    }
    ctx.err << "dtucfg: nothing written; give --force to send these values anyway\n";
    return kExitUsage;
}

/// Saves through "Save" what the form shows now; kExitOk with nothing to write.
int SaveForm(CommandContext& ctx, const std::vector<Assignment>& assignments) {
    Session& s = *ctx.session;
    const WritePreview preview = s.PreviewSave();
    WarnAboutUnwrittenChanges(ctx, assignments, preview);
    if (!preview.notices.empty()) {
        for (const std::string& line : ReplyLines(preview.notices))
            ctx.err << "dtucfg: " << Printable(line) << "\n";
        return kExitUsage;
    }
    const std::vector<model::WorkerJob> linked = LinkedWrites(preview, assignments);
    if (!linked.empty() && !ctx.options.withLinked) return RefuseLinkedWrites(ctx, linked);
    if (const auto invalid = s.Frame().InvalidRowsToSend(); !invalid.empty()) {
        if (!ctx.options.force) return RefuseInvalidValues(ctx, invalid);
        s.Dialogs().SetAnswer(app::CK4X30FrameWnd::kSendAnyway);  // "Save" asks; the user said yes
    }
    if (ctx.options.dryRun) return PrintPlan(ctx, preview.jobs);
    if (preview.jobs.empty()) {
        ctx.err << "dtucfg: the unit holds these values already; nothing written\n";
        if (ctx.options.json) PrintWrites(ctx, {}, {});
        return kExitOk;
    }
    const Mark mark = s.MarkNow();
    const int waited = s.ClickAndWait("Save");
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    PrintWrites(ctx, outcome.writes, {});
    return WorseExit(waited, outcome.exitCode);
}

}  // namespace

int PrepareSet(CommandContext& ctx) {
    std::vector<Assignment> assignments = ParseAssignments(ctx.options.arguments);
    return ResolveNames(ctx.session->Frame().catalogue, assignments, ctx.err) ? kExitOk
                                                                              : kExitUsage;
}

int RunRead(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    if (!ctx.options.outputPath.empty()) {
        // The report goes to the file as received: one report read, not two.
        const int waited = s.FileActionAndWait("SaveToFile", ctx.options.outputPath);
        return WorseExit(waited, JudgeSince(s, mark, ctx.err).exitCode);
    }
    const int code = WorseExit(s.Load(), JudgeSince(s, mark, ctx.err).exitCode);
    if (code != kExitOk) return code;
    const std::vector<ParamLine> params = CollectParams(s.Frame());
    const model::ParamEntry* type = s.Frame().catalogue.Find("Device Type");
    if (ctx.options.json) {
        ctx.out << FormatParamsJson(type ? type->value : "", s.Frame().rfModel, params);
    } else {
        ctx.out << Printable(FormatParamsText(params));
    }
    return kExitOk;
}

int RunSet(CommandContext& ctx) {
    Session& s = *ctx.session;
    if (const int loaded = s.Load(); loaded != kExitOk) return loaded;
    std::vector<Assignment> assignments = ParseAssignments(ctx.options.arguments);
    if (!ResolveNames(s.Frame().catalogue, assignments, ctx.err)) return kExitUsage;
    if (const int entered = EnterAll(s, assignments, ctx.err); entered != kExitOk) return entered;
    return SaveForm(ctx, assignments);
}

int RunSave(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.FileActionAndWait("SaveToFile", ctx.options.arguments.front());
    return WorseExit(waited, JudgeSince(s, mark, ctx.err).exitCode);
}

}  // namespace cli
