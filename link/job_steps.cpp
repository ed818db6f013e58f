// The finishing steps of the job kinds, run on the user-interface thread once the unit's
// reply has been recognised. All tests are on the whole receive text and look for "OK\r\n"
// with its line end.
#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"

namespace devlink {

// The steps reach into the link; a friend of it.
struct JobSteps {
    static void ReportSaveResult(Link& l, const model::WorkerJob& job, std::string_view success,
                                 std::string_view error, bool recordValue) {
        std::string notice;
        if (l.rxBuffer_.Contains("OK\r\n")) {
            notice = l.Text("WorkerJobThreadProc", success, "\r\n");
            if (recordValue && !job.paramName.empty()) {
                l.host_.RecordWrittenValue(job.paramName, job.paramValue);
            }
        }
        if (l.rxBuffer_.Contains("ERROR\r\n")) {
            notice = l.Text("WorkerJobThreadProc", error, "\r\n");
        }
        if (!notice.empty()) l.host_.PostLogText(notice);
    }

    static void ParseReport(Link& l, const model::WorkerJob&) {
        // A shorter answer is no report: it is not parsed and nothing is said.
        if (l.rxBuffer_.Length() > 3000) l.window_.SendMessage(UM_PARSE_REPORT, 0, 0);
    }
    static void ReportWrite(Link& l, const model::WorkerJob& job) {
        ReportSaveResult(l, job, "SaveSuccess", "SaveError", true);
    }
    static void ReportFactory(Link& l, const model::WorkerJob& job) {
        ReportSaveResult(l, job, "FactorySuccess", "FactoryError", false);
    }
    static void SaveFile(Link& l, const model::WorkerJob&) {
        l.host_.SaveReportFile(l.rxBuffer_.View());
    }
    static void WriteLoaded(Link& l, const model::WorkerJob&) {
        l.host_.WriteLoadedConfiguration(l.rxBuffer_.View());
    }
    static void LogOut(Link& l, const model::WorkerJob&) { l.SetButtonState(false, kLoginGroup); }

    static void FillNetMode(Link& l, const model::WorkerJob&) {
        ui::Control* field = l.host_.Form().FindControl("FINDNETMODE");
        if (!field || l.rxBuffer_.Length() > 100) return;
        const std::string_view text = l.rxBuffer_.View();
        constexpr std::string_view kMarker = "+FINDNETMODE:";
        const size_t start = text.find(kMarker);
        if (start == std::string_view::npos) return;
        const size_t from = start + kMarker.size();
        const size_t end = text.find("\r\n", from);
        if (end == std::string_view::npos) return;
        field->SetText(std::string(text.substr(from, std::min<size_t>(end - from, 39))));
    }
};

namespace {

struct FinishingStep {
    int kind;
    void (*finish)(Link&, const model::WorkerJob&);
};

const FinishingStep kFinishingSteps[] = {
    {model::kReadReport, JobSteps::ParseReport},   {model::kWriteParam, JobSteps::ReportWrite},
    {model::kFactory, JobSteps::ReportFactory},    {model::kSaveToFile, JobSteps::SaveFile},
    {model::kLoadFromFile, JobSteps::WriteLoaded}, {model::kQuit, JobSteps::LogOut},
    {model::kNetMode, JobSteps::FillNetMode},
};

}  // namespace

void Link::OnJobFinish(const model::WorkerJob& job, bool answered) {
    Tell([&](LinkObserver& o) { o.JobEnded(job, answered, rxBuffer_.View()); });
    ProgressAtFinish(job, answered);
    if (!answered) {
        host_.AppendLog(Text("WorkerJobThreadProc", "OutTime", "\r\n"));
        return;
    }
    for (const FinishingStep& step : kFinishingSteps) {
        if (step.kind == job.jobKind) return step.finish(*this, job);
    }
}

}  // namespace devlink
