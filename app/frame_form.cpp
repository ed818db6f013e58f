// The main window's side of the parameter form: the report, "Save", the configuration files.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/frame_wnd.h"
#include "form/adapt_form.h"
#include "form/layout_rules.h"
#include "form/page_tabs.h"
#include "link/messages.h"
#include "model/command_builder.h"
#include "model/config_file.h"
#include "model/unit_lines.h"

namespace app {

void CK4X30FrameWnd::SetLayoutVisible(std::string_view name, bool visible) {
    form::SetLayoutVisible(
        paintManager, catalogue,
        [this](model::AdaptCase adaptCase, int param) { PostAdaptForm(adaptCase, param); }, name,
        visible);
}

void CK4X30FrameWnd::UpdatePageTabs(int mode) {
    form::UpdatePageTabs(paintManager, pages, mode);
}

void CK4X30FrameWnd::PostAdaptForm(model::AdaptCase adaptCase, int param) {
    if (settling_) {
        settling_->emplace_back(adaptCase, param);
    } else {
        devlink::AdaptFormMsg::Post(*this, adaptCase, param);
    }
}

void CK4X30FrameWnd::AdaptForm(model::AdaptCase adaptCase, int param) {
    if (adaptTrace.size() >= kAdaptTraceLimit) {
        adaptTrace.erase(adaptTrace.begin(), adaptTrace.begin() + kAdaptTraceLimit / 2);
    }
    adaptTrace.push_back(static_cast<int>(adaptCase));
    form::AdaptContext ctx{paintManager,
                           catalogue,
                           pages,
                           baseModel,
                           texts,
                           lastItemSelectName,
                           [this](model::AdaptCase c, int p) { PostAdaptForm(c, p); },
                           [this](const std::string& text) { ShowNotice(text); }};
    form::AdaptForm(ctx, adaptCase, param);
}

int CK4X30FrameWnd::ParseReport(std::string_view text) {
    const int result = model::ExtractReportValues(text, catalogue, rfModel);
    ApplyReport();
    ScheduleMarks();
    for (FrameObserver* observer : observers_) observer->ReportParsed();
    return result;
}

void CK4X30FrameWnd::ApplyReport() {
    model::ReportContext ctx{paintManager, catalogue, pages, rfModel, baseModel, *this};
    model::ApplyReportToForm(ctx);
}

void CK4X30FrameWnd::ApplyReportSettled() {
    std::deque<std::pair<model::AdaptCase, int>> pending;
    settling_ = &pending;
    ApplyReport();
    for (size_t n = 0; !pending.empty() && n < kSettleLimit; ++n) {
        const auto [adaptCase, param] = pending.front();
        pending.pop_front();
        AdaptForm(adaptCase, param);
    }
    settling_ = nullptr;
    // A chain of adaptations longer than any form has goes on as posted messages.
    for (const auto& [adaptCase, param] : pending) PostAdaptForm(adaptCase, param);
}

void CK4X30FrameWnd::BuildWriteJobs(const std::set<std::string>* onlyRows) {
    model::BuildContext ctx{paintManager,
                            catalogue,
                            pages,
                            texts,
                            [this](std::string_view text) { PostLogText(text); },
                            [this](const model::WorkerJob& job) { link.QueueJob(job); }};
    ctx.onlyRows = onlyRows;
    model::BuildWriteJobs(ctx);
    for (const model::WriteRefusal& refusal : ctx.refusals) {
        for (FrameObserver* observer : observers_) observer->WriteRefused(refusal);
    }
}

void CK4X30FrameWnd::RecordWrittenValue(const std::string& name, const std::string& value) {
    catalogue.SetValue(name, value);
    ScheduleMarks();  // the field now holds the unit's value: its mark goes
}

platform::FileDialogOptions CK4X30FrameWnd::FileDialogSettings(bool save) const {
    platform::FileDialogOptions options;
    if (languageCode != 0) {
        options.filters = {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}};
    } else {
        options.filters = {{"cfg(*.cfg)", "*.cfg"},
                           {save ? "All File(*.*)" : " All File(*.*)", "*.*"}};
    }
    const char* home = std::getenv("HOME");
    options.initialFolder = !lastFolder_.empty() ? lastFolder_ : home ? home : "";
    options.proposedName = save ? ProposedConfigName() : ModelText() + ".cfg";
    options.mustExist = !save;  // the save dialog accepts a new file name
    return options;
}

void CK4X30FrameWnd::SaveConfigFile(bool thenFactory) {
    factoryAfterSave_ = false;
    const auto path = dialogs_.SaveFile(FileDialogSettings(true));
    if (!path) return;
    factoryAfterSave_ = thenFactory;
    KeepFileFolder(*path);
    saveFilePath = *path;
    link.QueueJob(model::JobKind::kSaveToFile, model::kReportLine);
}

void CK4X30FrameWnd::SaveReportFile(std::string_view report) {
    const bool thenFactory = std::exchange(factoryAfterSave_, false);
    if (!model::WriteConfigFile(saveFilePath, report)) {
        ShowNotice(LoadText("SaveToFile", "OpenError"));
        for (FrameObserver* observer : observers_) observer->FileFailed(true);
        return;
    }
    // Asked after this job's end, not inside it: the worker waits for this step.
    if (thenFactory) PostMessage(devlink::UM_ASK_FACTORY);
}

void CK4X30FrameWnd::LoadConfigFile() {
    const auto path = dialogs_.OpenFile(FileDialogSettings(false));
    if (!path) return;
    KeepFileFolder(*path);
    saveFilePath = *path;
    const auto text = model::ReadConfigFile(*path);
    if (!text) {
        AppendLog(LoadText("onLoadFrommFile", "ReadError"));
        for (FrameObserver* observer : observers_) observer->FileFailed(false);
        return;
    }
    TakeConfigFile(*text);
    link.QueueJob(model::JobKind::kLoadFromFile, model::kReportLine);
}

void CK4X30FrameWnd::TakeConfigFile(std::string_view text) {
    // The file's text is taken as if the unit had sent it, row by row: a row the file does not
    // hold (another model's file, or one whose line ends another program changed) shows what
    // the unit was last known to hold instead of an empty field.
    std::map<std::string, std::string> known;
    for (const auto& [name, row] : catalogue) known[name] = row.value;
    const std::string unitModule = rfModel;
    fileRows.clear();
    model::ExtractReportValues(text, catalogue, rfModel, &fileRows);
    if (rfModel.empty()) rfModel = unitModule;
    valuesAtFileLoad.clear();
    for (auto& [name, row] : catalogue) {
        if (!fileRows.count(name)) row.value = known[name];
        valuesAtFileLoad[name] = row.value;
    }
    ApplyReportSettled();
    ScheduleMarks();
}

void CK4X30FrameWnd::WriteLoadedConfiguration(std::string_view unitReport) {
    TakeUnitReportForFile(unitReport);
    BuildWriteJobs(&fileRows);
}

void CK4X30FrameWnd::TakeUnitReportForFile(std::string_view unitReport) {
    // The rows take the unit's current values. The form shows the file's values for the rows
    // the file holds and the unit's for the others, so only the file's rows differ and a later
    // "Save" writes nothing the file did not change.
    model::ExtractReportValues(unitReport, catalogue, rfModel);
    const bool unitChanged = std::any_of(catalogue.begin(), catalogue.end(), [&](const auto& r) {
        return !fileRows.count(r.first) && valuesAtFileLoad[r.first] != r.second.value;
    });
    // The form is filled again only when it would otherwise show a stale value of the unit's:
    // the file's rows go in for the filling and its adaptations, which settle at once (a list
    // of the file's next to the unit's value would otherwise empty or reset the texts that
    // follow it), and the unit's values come back for the comparison.
    if (unitChanged) {
        const auto swapFileRows = [this] {
            for (const std::string& name : fileRows) {
                std::swap(catalogue.Find(name)->value, valuesAtFileLoad[name]);
            }
        };
        swapFileRows();
        ApplyReportSettled();
        swapFileRows();
    }
}

void CK4X30FrameWnd::ShowProgress(const devlink::JobProgress& progress) {
    auto* bar = paintManager.Find<ui::ProgressBar>("progress");
    if (!bar) return;
    bar->SetProgress(progress.value, progress.maximum);
    bar->SetVisible(progress.active);
}

void CK4X30FrameWnd::CheckIpField(ui::Control& field) {
    if (field.GetText().find(' ') != std::string::npos) ShowNotice(LoadText("Notify", "IpNotice"));
}

}  // namespace app
