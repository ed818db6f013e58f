// The commands that read, change, save and load the unit's parameters.
#include <algorithm>
#include <iterator>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/outcome.h"
#include "cli/output.h"
#include "cli/session.h"
#include "model/command_builder.h"
#include "model/config_file.h"
#include "model/report_parser.h"
#include "ui/controls.h"

namespace cli {

namespace {

struct Assignment {
    std::string name;
    std::string value;
    int item = -1;         ///< the drop-down item chosen
    std::string formText;  ///< what the form showed before the change
};

std::vector<Assignment> Assignments(const Options& options) {
    std::vector<Assignment> list;
    for (const std::string& text : options.arguments) {
        const size_t equals = text.find('=');
        list.push_back({text.substr(0, equals), text.substr(equals + 1), -1, {}});
    }
    return list;
}

/// A row "Save" writes (the form's rule) whose field a person can reach on the screen (this
/// command's own rule: it changes only what a user of the window could change).
bool RowShown(const app::CK4X30FrameWnd& f, const std::string& name, const model::ParamEntry& row) {
    const ui::Control* control = f.paintManager.FindControl(name);
    return model::RowIsWritten(row, f.pages, control) && control->IsShown();
}

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

/// The item of `list` that `value` names: "#N" for item N, otherwise the exact text.
int FindItem(const ui::Combo& list, const std::string& value) {
    if (value.size() > 1 && value[0] == '#' &&
        value.find_first_not_of("0123456789", 1) == std::string::npos && value.size() < 9) {
        const int index = std::stoi(value.substr(1));
        return index < list.GetCount() ? index : -1;
    }
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetItemText(i) == value) return i;
    }
    return -1;
}

std::string ItemList(const ui::Combo& list) {
    std::string items;
    for (int i = 0; i < list.GetCount(); ++i) items += (i ? "\", \"" : "\"") + list.GetItemText(i);
    return items.empty() ? "none" : items + "\"";
}

/// Puts one value into the form as a user would and lets the form adapt. An error text when
/// the form cannot take it.
std::string EnterValue(Session& s, Assignment& a) {
    ui::Control* control = s.Frame().paintManager.FindControl(a.name);
    if (!control) return a.name + " has no field in the form";
    a.formText = control->GetText();
    if (auto* list = dynamic_cast<ui::Combo*>(control)) {
        a.item = FindItem(*list, a.value);
        if (a.item < 0) {
            return a.name + " has no item \"" + a.value + "\"; its items: " + ItemList(*list);
        }
        list->SelectItem(a.item);
    } else {
        s.TypeText(*control, a.value);
    }
    s.Settle();
    return {};
}

/// What is wrong with an assignment once the form has settled: hidden, or changed.
std::string CheckSettled(const Session& s, const Assignment& a) {
    const app::CK4X30FrameWnd& f = s.Frame();
    const model::ParamEntry* row = f.catalogue.Find(a.name);
    if (!RowShown(f, a.name, *row)) return a.name + " is hidden by the form for this unit";
    const ui::Control* control = f.paintManager.FindControl(a.name);
    const auto* list = dynamic_cast<const ui::Combo*>(control);
    const bool kept = list ? list->GetCurSel() == a.item : control->GetText() == a.value;
    if (!kept) return a.name + " was changed by the form to \"" + control->GetText() + "\"";
    return {};
}

void PrintWrites(CommandContext& ctx, const std::vector<WriteResult>& writes,
                 const std::vector<std::string>& differences) {
    if (!ctx.options.json) {
        for (const WriteResult& w : writes)
            ctx.out << Printable(w.name + "\t" + w.value + "\t" + w.result) << "\n";
        return;
    }
    std::string json = "{\"writes\":[";
    for (size_t i = 0; i < writes.size(); ++i) {
        json += std::string(i ? "," : "") + "{\"name\":" + JsonString(writes[i].name) +
                ",\"value\":" + JsonString(writes[i].value) +
                ",\"result\":" + JsonString(writes[i].result) + "}";
    }
    json += "],\"differences\":[";
    for (size_t i = 0; i < differences.size(); ++i) {
        json += (i ? "," : "") + JsonString(differences[i]);
    }
    ctx.out << json << "]}\n";
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
    if (preview.jobs.empty()) {
        ctx.err << "dtucfg: the unit holds these values already; nothing written\n";
        return kExitOk;
    }
    const Mark mark = s.MarkNow();
    const int waited = s.ClickAndWait("Save");
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    PrintWrites(ctx, outcome.writes, {});
    return WorseExit(waited, outcome.exitCode);
}

/// The rows written whose value the unit now reports differently from the file.
std::vector<std::string> Differences(const Session& s, const model::ParamCatalogue& file,
                                     const std::vector<WriteResult>& writes) {
    std::vector<std::string> differences;
    for (const WriteResult& w : writes) {
        const model::ParamEntry* inFile = file.Find(w.name);
        const model::ParamEntry* inUnit = s.Frame().catalogue.Find(w.name);
        if (!inFile || !inUnit || inFile->value == inUnit->value) continue;
        const std::string text = w.name + ": the unit holds \"" + inUnit->value +
                                 "\", the file \"" + inFile->value + "\"";
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

}  // namespace

int PrepareSet(CommandContext& ctx) {
    int code = kExitOk;
    for (const Assignment& a : Assignments(ctx.options)) {
        const model::ParamEntry* row = ctx.session->Frame().catalogue.Find(a.name);
        if (!row) {
            ctx.err << "dtucfg: unknown parameter \"" << Printable(a.name) << "\"\n";
            code = kExitUsage;
        } else if (row->command.empty()) {
            ctx.err << "dtucfg: " << Printable(a.name) << " is read from the unit, never written\n";
            code = kExitUsage;
        }
    }
    return code;
}

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
    return kExitOk;
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
    std::vector<Assignment> assignments = Assignments(ctx.options);
    int code = kExitOk;
    for (Assignment& a : assignments) {
        if (std::string error = EnterValue(s, a); !error.empty()) {
            ctx.err << "dtucfg: " << Printable(error) << "\n";
            code = kExitUsage;
        }
    }
    if (code != kExitOk) return code;
    s.Settle();
    for (const Assignment& a : assignments) {
        if (std::string error = CheckSettled(s, a); !error.empty()) {
            ctx.err << "dtucfg: " << Printable(error) << "; nothing written\n";
            code = kExitUsage;
        }
    }
    return code != kExitOk ? code : SaveForm(ctx, assignments);
}

int RunApply(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.FileActionAndWait("LoadFromFile", ctx.options.arguments.front());
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    int code = WorseExit(waited, outcome.exitCode);
    model::ParamCatalogue file;
    model::InitParamCatalogue(file);
    std::string rfModel;
    model::ExtractReportValues(ctx.fileText, file, rfModel);
    WarnAboutRowsMissingFromFile(ctx);
    if (code == kExitOk && outcome.writes.empty()) {
        ctx.err << "dtucfg: the unit holds the file's values already; nothing written\n";
    }
    std::vector<std::string> differences;
    if (ctx.options.verify && code != kExitLogin && code != kExitPort) {
        if (const int loaded = s.Load(); loaded != kExitOk) return WorseExit(code, loaded);
        differences = Differences(s, file, outcome.writes);
        for (const std::string& d : differences) {
            ctx.err << "dtucfg: differs: " << Printable(d) << "\n";
        }
        if (!differences.empty()) code = WorseExit(code, kExitVerify);
    }
    PrintWrites(ctx, outcome.writes, differences);
    return code;
}

int RunSave(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.FileActionAndWait("SaveToFile", ctx.options.arguments.front());
    return WorseExit(waited, JudgeSince(s, mark, ctx.err).exitCode);
}

}  // namespace cli
