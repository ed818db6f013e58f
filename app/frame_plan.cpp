// The main window's side of the write plan: the changed marks and the count on "Save", the
// review before a "Save", the read-back after it, the log file and the options kept in
// config.ini.
#include <cstdlib>

#include "app/frame_wnd.h"
#include "app/log_text.h"
#include "app/plan_watch.h"
#include "link/messages.h"
#include "model/unit_lines.h"
#include "platform/atomic_file.h"
#include "platform/file_locations.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/text.h"

namespace app {

namespace {

/// The option check boxes; each keeps its state in config.ini under its own name.
constexpr std::string_view kOptions[] = {"VerifyAfterSave", "LogTimes"};

}  // namespace

void CK4X30FrameWnd::ScheduleMarks() {
    if (marksPending_) return;
    marksPending_ = true;
    // A timer, not a message: it runs once the messages in hand (a report's adaptation) are
    // done, and leaves the message queue as it was.
    SetTimer(devlink::kMarksTimer, devlink::kMarksDelayMs);
}

model::WritePlan CK4X30FrameWnd::PlanSave() {
    return model::PlanWrites(paintManager, catalogue, pages, texts);
}

void CK4X30FrameWnd::RefreshMarks() {
    marksPending_ = false;
    const model::WritePlan plan = PlanSave();
    const std::set<std::string> written = model::RowsWritten(plan);
    for (const auto& [name, row] : catalogue) {
        if (ui::Control* field = paintManager.FindControl(name)) {
            field->SetChanged(written.count(name) > 0);
        }
    }
    std::set<std::string> checked = written;  // and the rows the rules refuse, such as the band
    for (const model::WriteRefusal& refusal : plan.refusals) checked.insert(refusal.name);
    MarkInvalidFields(checked);
    if (!saveButton) return;
    const std::string count = std::to_string(plan.planned.size());
    saveButton->SetText(
        plan.planned.empty()
            ? saveText_
            : platform::ReplaceToken(
                  platform::ReplaceToken(LoadText("Review", "SaveCount"), "{text}", saveText_),
                  "{n}", count));
}

platform::ReviewTexts CK4X30FrameWnd::ReviewDialogTexts() const {
    const auto t = [this](std::string_view key) { return LoadText("Review", key); };
    return {t("Title"),  t("Page"), t("Label"),  t("UnitValue"), t("NewValue"), t("Line"),
            t("Status"), t("Sent"), t("Revert"), t("Save"),      t("Close"),    t("Empty")};
}

void CK4X30FrameWnd::ReviewWrites() {
    const std::vector<platform::ReviewRow> rows =
        model::ReviewRows(PlanSave(), paintManager, catalogue, pages, texts);
    const platform::ReviewChoice choice = dialogs_.ShowWriteReview(rows, ReviewDialogTexts());
    for (const std::size_t index : choice.revert) {
        if (index < rows.size()) RevertRows(rows[index].rows);
    }
    ScheduleMarks();
    if (!choice.save) return;
    // "Save" sends exactly the list the user saw: after reverts (a list put back may show or
    // hide other rows) the list is shown again, once the form has adapted to them.
    if (choice.revert.empty()) return BuildWriteJobs();
    PostMessage(devlink::UM_REVIEW_AGAIN);
}

void CK4X30FrameWnd::RevertRows(const std::vector<std::string>& rows) {
    model::ReportContext ctx{paintManager, catalogue, pages, rfModel, baseModel, *this};
    for (const std::string& name : rows) model::ApplyRowToForm(ctx, name);
}

void CK4X30FrameWnd::SaveLogFile() {
    platform::FileDialogOptions options;
    options.filters = {{LoadText("Review", "LogFilter"), "*.txt"},
                       {languageCode != 0 ? "所有文件(*.*)" : "All File(*.*)", "*.*"}};
    const char* home = std::getenv("HOME");
    options.initialFolder = home ? home : "";
    options.proposedName = "dtuconfig-log.txt";
    options.mustExist = false;
    const auto path = dialogs_.SaveFile(options);
    if (!path || !logView) return;
    if (!platform::ReplaceFileAtomically(*path, LogFileText(logView->GetText()))) {
        ShowNotice(LoadText("Review", "LogError"));
    }
}

void CK4X30FrameWnd::LoadWindowOptions() {
    for (const std::string_view name : kOptions) {
        auto* box = paintManager.Find<ui::CheckBox>(name);
        if (!box) continue;
        const std::string on =
            platform::GetProfileString(settings_.programFolder + "config.ini", "Set", name, "0", 8);
        box->SetChecked(on == "1");
    }
}

void CK4X30FrameWnd::KeepOption(ui::Control& control) {
    const auto* box = dynamic_cast<ui::CheckBox*>(&control);
    if (!box) return;
    platform::MakeFolders(settings_.programFolder);
    platform::WriteProfileString(settings_.programFolder + "config.ini", "Set", box->GetName(),
                                 box->IsChecked() ? "1" : "0");
}

bool CK4X30FrameWnd::OptionOn(std::string_view name) const {
    const auto* box = paintManager.Find<ui::CheckBox>(name);
    return box && box->IsChecked();
}

void PlanWatch::OnControlChanged(ui::Control& control, ui::Change what, std::string_view) {
    const bool field = frame_.catalogue.Find(control.GetName()) != nullptr;
    const bool mayChangePlan =
        what == ui::Change::Visible ||
        (field &&
         (what == ui::Change::Text || what == ui::Change::Selection || what == ui::Change::Items));
    if (mayChangePlan) frame_.ScheduleMarks();
}

void PlanWatch::JobEnded(const model::WorkerJob& job, devlink::JobOutcome outcome,
                         std::string_view) {
    // Posted, so the marks follow the job's finishing step, which runs after this.
    frame_.ScheduleMarks();
    const bool acknowledged = outcome == devlink::JobOutcome::kAcknowledged;
    if (job.jobKind == model::JobKind::kWriteParam && acknowledged && !job.paramName.empty()) {
        written_[job.paramName] = job.paramValue;
        for (const std::string& row : job.sameLineRows) written_[row] = job.paramValue;
    }
    if (job.jobKind == model::JobKind::kReadReport && verifying_ && !acknowledged) {
        verifying_.reset();
        frame_.PostLogText(frame_.LoadText("Review", "VerifyFailed", "\r\n"));
    }
}

void PlanWatch::WritesDone(const devlink::WriteTally&) {
    auto written = std::move(written_);
    written_.clear();
    if (written.empty() || !frame_.OptionOn("VerifyAfterSave")) return;
    verifying_ = std::move(written);
    frame_.link.QueueJob(model::JobKind::kReadReport, model::kReportLine);
}

void PlanWatch::ReportParsed() {
    if (!verifying_) return;
    std::string differences;
    for (const auto& [name, value] : *verifying_) {
        const model::ParamEntry* row = frame_.catalogue.Find(name);
        const std::string reported = row ? row->value : std::string();
        if (reported == value) continue;
        differences +=
            (differences.empty() ? " " : ", ") + name + " (" + value + " -> " + reported + ")";
    }
    const std::string line = differences.empty()
                                 ? platform::ReplaceToken(frame_.LoadText("Review", "Verified"),
                                                          "{n}", std::to_string(verifying_->size()))
                                 : frame_.LoadText("Review", "VerifyMismatch") + differences;
    verifying_.reset();
    frame_.PostLogText(line + "\r\n");
}

}  // namespace app
