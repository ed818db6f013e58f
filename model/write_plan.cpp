#include "model/write_plan.h"

#include "platform/text.h"

namespace model {

namespace {

std::string WithoutLineEnd(std::string_view line) {
    return std::string(platform::Trim(line, "\r\n"));
}

/// CR and LF written out, so a refused value shows on one line.
std::string Visible(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        shown += c == '\r'   ? std::string("\\r")
                 : c == '\n' ? std::string("\\n")
                             : std::string(1, c);
    }
    return shown;
}

/// The text of a page's tab: the first text inside the page's tab header control.
std::string PageTitle(const ui::PaintManager& pm, const PageTable& pages, int page) {
    if (page < 0 || page >= static_cast<int>(pages.size())) return {};
    const std::string& name = pages[static_cast<size_t>(page)].name;
    ui::Control* header = pm.FindControl(name);
    if (!header) return name;
    if (!header->GetText().empty()) return header->GetText();
    if (ui::Container* box = header->AsContainer()) {
        for (int i = 0; i < box->GetCount(); ++i) {
            if (!box->GetItemAt(i)->GetText().empty()) return box->GetItemAt(i)->GetText();
        }
    }
    return name;
}

struct RowMaker {
    const ui::PaintManager& pm;
    const ParamCatalogue& catalogue;
    const PageTable& pages;

    /// The row of `name` with its page, label and the unit's value.
    platform::ReviewRow Make(const std::string& name) const {
        platform::ReviewRow shown;
        shown.rows = {name};
        const ParamEntry* row = catalogue.Find(name);
        if (row) {
            shown.page = PageTitle(pm, pages, row->page);
            shown.unitValue = row->value;
        }
        const ui::Control* control = pm.FindControl(name);
        shown.label = control ? FieldLabel(*control) : std::string();
        if (shown.label.empty()) shown.label = name;
        return shown;
    }

    platform::ReviewRow FromJob(const WorkerJob& job) const {
        platform::ReviewRow shown = Make(job.paramName);
        shown.newValue = job.paramValue;
        shown.line = WithoutLineEnd(job.line);
        for (const std::string& other : job.sameLineRows) {
            shown.rows.push_back(other);
            shown.label += " / " + Make(other).label;
        }
        return shown;
    }

    /// A row the rules refuse: the field's value, the line it would be, and why not.
    platform::ReviewRow Refused(const std::string& name, std::string reason) const {
        platform::ReviewRow shown = Make(name);
        const ui::Control* control = pm.FindControl(name);
        const ParamEntry* row = catalogue.Find(name);
        const std::string value = control ? control->GetText() : std::string();
        shown.newValue = Visible(value);
        if (row && value.find_first_of("\r\n") == std::string::npos) {
            shown.line = WithoutLineEnd(ParamWriteLine(row->command, value));
        }
        shown.sent = false;
        shown.reason = std::move(reason);
        return shown;
    }
};

}  // namespace

WritePlan PlanWrites(ui::PaintManager& pm, ParamCatalogue& catalogue, const PageTable& pages,
                     const platform::LanguageTexts& texts) {
    BuildContext ctx{pm, catalogue, pages, texts, [](std::string_view) {}, {}};
    BuildWriteJobs(ctx);
    return {std::move(ctx.planned), std::move(ctx.refusals), std::move(ctx.unqueued),
            std::move(ctx.showingNoItem)};
}

std::set<std::string> RowsWritten(const WritePlan& plan) {
    std::set<std::string> rows;
    for (const WorkerJob& job : plan.planned) {
        rows.insert(job.paramName);
        rows.insert(job.sameLineRows.begin(), job.sameLineRows.end());
    }
    return rows;
}

std::vector<platform::ReviewRow> ReviewRows(const WritePlan& plan, const ui::PaintManager& pm,
                                            const ParamCatalogue& catalogue, const PageTable& pages,
                                            const platform::LanguageTexts& texts) {
    const RowMaker make{pm, catalogue, pages};
    std::vector<platform::ReviewRow> rows;
    for (const WorkerJob& job : plan.planned) rows.push_back(make.FromJob(job));
    for (const WriteRefusal& refusal : plan.refusals) {
        const char* key = refusal.kind == RefusalKind::kNbBand ? "NBBand" : "LineBreak";
        rows.push_back(make.Refused(refusal.name, texts.LoadText("Review", key)));
    }
    for (const WorkerJob& job : plan.unqueued) {
        platform::ReviewRow shown = make.FromJob(job);
        shown.sent = false;
        shown.reason = texts.LoadText("Review", "NotQueued");
        rows.push_back(std::move(shown));
    }
    for (const std::string& name : plan.showingNoItem) {
        const ParamEntry* row = catalogue.Find(name);
        if (!row || row->value.empty()) continue;  // nothing reported: nothing to keep
        platform::ReviewRow shown = make.Make(name);
        shown.sent = false;
        shown.reason = texts.LoadText("Review", "NoItem");
        rows.push_back(std::move(shown));
    }
    return rows;
}

std::string FieldLabel(const ui::Control& control) {
    const ui::Container* row = control.GetParent();
    if (!row) return {};
    std::string label;
    for (int i = 0; i < row->GetCount(); ++i) {
        const ui::Control* child = row->GetItemAt(i);
        if (child == &control) break;
        const std::string_view cls = child->GetClass();
        if ((cls == "LabelUI" || cls == "TextUI") && !child->GetText().empty()) {
            label = child->GetText();
        }
    }
    return label;
}

}  // namespace model
