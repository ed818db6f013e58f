// "apply": a configuration file (and named values) written into the unit, or only planned.
#include <algorithm>
#include <map>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/file_stage.h"
#include "cli/form_entry.h"
#include "cli/outcome.h"
#include "cli/output.h"
#include "cli/plan.h"
#include "cli/session.h"
#include "model/command_builder.h"
#include "model/config_file.h"
#include "model/report_parser.h"

namespace cli {

namespace {

/// The value each written row should report afterwards, by row name.
using Expected = std::map<std::string, std::string>;

/// The rows written whose value the unit now reports differently from what was expected.
std::vector<std::string> Differences(const Session& s, const Expected& expected,
                                     const std::vector<WriteResult>& writes) {
    std::vector<std::string> differences;
    for (const WriteResult& w : writes) {
        const auto wanted = expected.find(w.name);
        const model::ParamEntry* inUnit = s.Frame().catalogue.Find(w.name);
        if (wanted == expected.end() || !inUnit || wanted->second == inUnit->value) continue;
        const std::string text = w.name + ": the unit holds \"" + inUnit->value +
                                 "\", the file \"" + wanted->second + "\"";
        if (std::find(differences.begin(), differences.end(), text) == differences.end()) {
            differences.push_back(text);
        }
    }
    return differences;
}

/// Warns about each row the file does not hold while the unit holds a value for it: the file
/// says nothing about it, so the unit keeps its value.
void WarnAboutRowsMissingFromFile(CommandContext& ctx) {
    const app::CK4X30FrameWnd& f = ctx.session->Frame();
    for (const auto& [name, row] : f.catalogue) {
        if (row.command.empty() || row.label.empty() || row.value.empty()) continue;
        const ui::Control* control = f.paintManager.FindControl(name);
        if (f.fileRows.count(name) || !model::RowIsWritten(row, f.pages, control)) continue;
        ctx.err << "dtucfg: warning: the file has no " << Printable(name) << "; the unit keeps \""
                << Printable(row.value) << "\"\n";
    }
}

/// After the writes: the "nothing written" note, and with --verify the report read again and
/// compared. Prints the result and returns the exit code.
int Conclude(CommandContext& ctx, int code, const Outcome& outcome, const Expected& expected) {
    Session& s = *ctx.session;
    WarnAboutRowsMissingFromFile(ctx);
    if (code == kExitOk && outcome.writes.empty()) {
        ctx.err << "dtucfg: the unit holds the file's values already; nothing written\n";
    }
    std::vector<std::string> differences;
    if (ctx.options.verify && code != kExitLogin && code != kExitPort) {
        if (const int loaded = s.Load(); loaded != kExitOk) return WorseExit(code, loaded);
        differences = Differences(s, expected, outcome.writes);
        for (const std::string& d : differences) {
            ctx.err << "dtucfg: differs: " << Printable(d) << "\n";
        }
        if (!differences.empty()) code = WorseExit(code, kExitVerify);
    }
    PrintWrites(ctx, outcome.writes, differences);
    return code;
}

/// The file's values by row, as the window reads the file.
Expected FileValues(const std::string& fileText) {
    model::ParamCatalogue file;
    model::InitParamCatalogue(file);
    std::string rfModel;
    model::ExtractReportValues(fileText, file, rfModel);
    Expected values;
    for (const auto& [name, row] : file) values[name] = row.value;
    return values;
}

/// The file through the window's own "LoadFromFile": it reads the unit and writes what
/// differs in one piece of work.
int ApplyThroughWindow(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.FileActionAndWait("LoadFromFile", ctx.options.arguments.front());
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    return Conclude(ctx, WorseExit(waited, outcome.exitCode), outcome, FileValues(ctx.fileText));
}

/// Names each refusal of the plan as the run that writes would.
int ReportRefusals(CommandContext& ctx, const WritePreview& preview) {
    for (const model::WriteRefusal& refusal : preview.refusals) {
        const bool band = refusal.kind == model::RefusalKind::kNbBand;
        ctx.err << "dtucfg: "
                << (band ? "the NB band is out of range" : "a value holds a line break")
                << ", not written: " << Printable(refusal.name) << "\n";
    }
    return preview.refusals.empty() ? kExitOk : kExitUsage;
}

/// Writes the planned rows through the window's walk (the very rule the plan came from).
int WriteRows(CommandContext& ctx, const std::set<std::string>& rows) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.RunAndWait([&] { s.Frame().BuildWriteJobs(&rows); });
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    Expected written;
    for (const WriteResult& w : outcome.writes) written[w.name] = w.value;
    return Conclude(ctx, WorseExit(waited, outcome.exitCode), outcome, written);
}

/// The file and the named values in one plan: the file staged as the window loads it, the
/// named values entered over it; then the plan printed (--dry-run) or written.
int ApplyStaged(CommandContext& ctx) {
    Session& s = *ctx.session;
    if (const int staged = StageConfigFile(s, ctx.fileText, ctx.err); staged != kExitOk) {
        return staged;
    }
    std::vector<Assignment> named = ParseAssignments(ctx.options.setValues);
    if (!ResolveNames(s.Frame().catalogue, named, ctx.err)) return kExitUsage;
    if (const int entered = EnterAll(s, named, ctx.err); entered != kExitOk) return entered;
    std::set<std::string> rows = s.Frame().fileRows;
    for (const Assignment& a : named) rows.insert(a.name);
    const WritePreview preview = s.PreviewSave(&rows);
    if (ctx.options.dryRun) {
        WarnAboutRowsMissingFromFile(ctx);
        PrintPlan(ctx, preview.jobs);
        return ReportRefusals(ctx, preview);
    }
    if (preview.jobs.empty()) {
        if (const int refused = ReportRefusals(ctx, preview); refused != kExitOk) return refused;
        return Conclude(ctx, kExitOk, Outcome{}, {});
    }
    return WriteRows(ctx, rows);
}

}  // namespace

int PrepareApply(CommandContext& ctx) {
    const std::string& path = ctx.options.arguments.front();
    const std::optional<std::string> text = model::ReadConfigFile(path);
    if (!text) {
        ctx.err << "dtucfg: " << Printable(path) << ": cannot be read\n";
        return kExitFile;
    }
    model::ParamCatalogue scratch;
    model::InitParamCatalogue(scratch);
    std::string rfModel;
    if (model::ExtractReportValues(*text, scratch, rfModel) != 0) {
        ctx.err << "dtucfg: " << Printable(path) << ": holds no parameter listing of a unit\n";
        return kExitFile;
    }
    ctx.fileText = *text;
    std::vector<Assignment> named = ParseAssignments(ctx.options.setValues);
    return ResolveNames(ctx.session->Frame().catalogue, named, ctx.err) ? kExitOk : kExitUsage;
}

int RunApply(CommandContext& ctx) {
    if (ctx.options.dryRun || !ctx.options.setValues.empty()) return ApplyStaged(ctx);
    return ApplyThroughWindow(ctx);
}

}  // namespace cli
