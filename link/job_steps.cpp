// The finishing steps of the job kinds, run on the user-interface thread once the unit's
// reply has been recognised. They act on the job's outcome: the result line the reply rule
// ended on, so the rule and the step never disagree.
#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"
#include "link/reply_lines.h"

namespace devlink {

namespace {

/// A report read needs more than this many bytes to be taken: a shorter answer is no report.
constexpr int kMinReportBytes = 3000;
/// A net mode answer longer than this is no answer to "AT+FINDNETMODE".
constexpr int kMaxNetModeAnswer = 100;
/// The net mode field takes at most this many bytes of the answer.
constexpr size_t kNetModeFieldSize = 39;

}  // namespace

// The steps reach into the link; a friend of it.
struct JobSteps {
    static void ReportSaveResult(Link& l, const model::WorkerJob& job, JobOutcome outcome,
                                 std::string_view success, std::string_view error,
                                 bool recordValue) {
        if (outcome == JobOutcome::kAcknowledged) {
            if (recordValue && !job.paramName.empty()) {
                l.host_.RecordWrittenValue(job.paramName, job.paramValue);
                for (const std::string& row : job.sameLineRows) {
                    l.host_.RecordWrittenValue(row, job.paramValue);
                }
            }
            l.host_.PostLogText(l.Text("WorkerJobThreadProc", success, "\r\n"));
        } else if (outcome == JobOutcome::kRefused) {
            l.host_.PostLogText(l.Text("WorkerJobThreadProc", error, "\r\n"));
        }
    }

    static void ParseReport(Link& l, const model::WorkerJob&, JobOutcome outcome) {
        // A shorter answer is no report: it is not parsed (the log has said so).
        if (outcome == JobOutcome::kAcknowledged) l.window_.SendMessage(UM_PARSE_REPORT);
    }
    static void ReportWrite(Link& l, const model::WorkerJob& job, JobOutcome outcome) {
        ReportSaveResult(l, job, outcome, "SaveSuccess", "SaveError", true);
    }
    static void ReportFactory(Link& l, const model::WorkerJob& job, JobOutcome outcome) {
        ReportSaveResult(l, job, outcome, "FactorySuccess", "FactoryError", false);
    }
    static void SaveFile(Link& l, const model::WorkerJob&, JobOutcome) {
        l.host_.SaveReportFile(l.rxBuffer_.View());
    }
    static void WriteLoaded(Link& l, const model::WorkerJob&, JobOutcome) {
        l.host_.WriteLoadedConfiguration(l.rxBuffer_.View());
    }
    static void LogOut(Link& l, const model::WorkerJob&, JobOutcome) { l.SetLoggedIn(false); }
    static void CheckUnit(Link& l, const model::WorkerJob&, JobOutcome outcome) {
        l.CheckUnit(outcome);
    }

    static void FillNetMode(Link& l, const model::WorkerJob&, JobOutcome) {
        ui::Control* field = l.host_.Form().FindControl("FINDNETMODE");
        if (!field || l.rxBuffer_.Length() > kMaxNetModeAnswer) return;
        const std::string_view text = l.rxBuffer_.View();
        constexpr std::string_view kMarker = "+FINDNETMODE:";
        const size_t start = text.find(kMarker);
        if (start == std::string_view::npos) return;
        const size_t from = start + kMarker.size();
        const size_t end = text.find("\r\n", from);
        if (end == std::string_view::npos) return;
        field->SetText(std::string(text.substr(from, std::min(end - from, kNetModeFieldSize))));
    }
};

namespace {

struct FinishingStep {
    model::JobKind kind;
    void (*finish)(Link&, const model::WorkerJob&, JobOutcome);
};

using K = model::JobKind;
const FinishingStep kFinishingSteps[] = {
    {K::kReadReport, JobSteps::ParseReport},   {K::kWriteParam, JobSteps::ReportWrite},
    {K::kFactory, JobSteps::ReportFactory},    {K::kSaveToFile, JobSteps::SaveFile},
    {K::kLoadFromFile, JobSteps::WriteLoaded}, {K::kQuit, JobSteps::LogOut},
    {K::kNetMode, JobSteps::FillNetMode},      {K::kIdentify, JobSteps::CheckUnit},
};

}  // namespace

JobOutcome Link::OutcomeOf(const model::WorkerJob& job, bool answered) const {
    if (!answered) return JobOutcome::kTimedOut;
    // A report job is answered only by the listing and the "OK" line after it.
    if (model::IsReportRequest(job.jobKind)) {
        const bool tooShort =
            job.jobKind == model::JobKind::kReadReport && rxBuffer_.Length() <= kMinReportBytes;
        return tooShort ? JobOutcome::kIncomplete : JobOutcome::kAcknowledged;
    }
    switch (FirstResultLine(rxBuffer_.View())) {
        case ResultLine::kOk:
            return JobOutcome::kAcknowledged;
        case ResultLine::kError:
            return JobOutcome::kRefused;
        case ResultLine::kNone:
            break;
    }
    return JobOutcome::kNoResult;
}

void Link::OnJobFinish(const model::WorkerJob& job, bool answered) {
    JobOutcome outcome = OutcomeOf(job, answered);
    // A write kept when the line went away was not answered, whatever its wait was cut by.
    if (inFlightAbandoned_ && outcome != JobOutcome::kAcknowledged) outcome = JobOutcome::kTimedOut;
    Tell([&](LinkObserver& o) { o.JobEnded(job, outcome, rxBuffer_.View()); });
    if (!SettleKeptJob(job, outcome)) return;  // abandoned: a write is sent again later
    if (model::IsReportRequest(job.jobKind) && outcome == JobOutcome::kAcknowledged) {
        unitIdentity_ = model::IdentityOfReport(rxBuffer_.View());
    }
    ProgressAtFinish(job, outcome);
    if (!answered) host_.AppendLog(Text("WorkerJobThreadProc", "OutTime", "\r\n"));
    // Nothing of a report that did not arrive whole is taken, and the user is told.
    const bool reportCut = model::IsReportRequest(job.jobKind) &&
                           outcome != JobOutcome::kAcknowledged && rxBuffer_.Length() > 0;
    if (reportCut) host_.AppendLog(Text("WorkerJobThreadProc", "ReportIncomplete", "\r\n"));
    if (!answered) {
        // An identity check without an answer leaves the kept writes for the next login.
        if (job.jobKind == model::JobKind::kIdentify) CheckUnit(outcome);
        return;
    }
    for (const FinishingStep& step : kFinishingSteps) {
        if (step.kind == job.jobKind) return step.finish(*this, job, outcome);
    }
}

}  // namespace devlink
