// The finishing steps of the job kinds, run on the user-interface thread once the unit's
// reply has been recognised. All tests are on the whole receive text and look for "OK\r\n"
// with its line end.
#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"

namespace devlink {

struct JobSteps {
    static void ReportSaveResult(Link& l, const model::WorkerJob& job, std::string_view success,
                                 std::string_view error, bool recordValue) {
        std::string notice;
        if (l.rxBuffer.Contains("OK\r\n")) {
            notice = l.Text("WorkerJobThreadProc", success, "\r\n");
            if (recordValue && !job.paramName.empty()) {
                l.host.RecordWrittenValue(job.paramName, job.paramValue);
            }
        }
        if (l.rxBuffer.Contains("ERROR\r\n")) notice = l.Text("WorkerJobThreadProc", error, "\r\n");
        if (!notice.empty()) l.host.PostLogText(notice);
    }

    static void FillNetMode(Link& l) {
        ui::Control* field = l.host.Form().FindControl("FINDNETMODE");
        if (!field || l.rxBuffer.Length() > 100) return;
        const std::string_view text = l.rxBuffer.View();
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

using Finish = void (*)(Link&, const model::WorkerJob&);

struct FinishingStep {
    int kind;
    Finish finish;
};

const FinishingStep kFinishingSteps[] = {
    {model::kReadReport,
     [](Link& l, const model::WorkerJob&) {
         if (l.rxBuffer.Length() > 3000) l.window.SendMessage(UM_PARSE_REPORT, 0, 0);
     }},
    {model::kWriteParam,
     [](Link& l, const model::WorkerJob& job) {
         JobSteps::ReportSaveResult(l, job, "SaveSuccess", "SaveError", true);
     }},
    {model::kFactory,
     [](Link& l, const model::WorkerJob& job) {
         JobSteps::ReportSaveResult(l, job, "FactorySuccess", "FactoryError", false);
     }},
    {model::kSaveToFile, [](Link& l, const model::WorkerJob&) { l.host.SaveReportFile(); }},
    {model::kLoadFromFile,
     [](Link& l, const model::WorkerJob&) { l.host.WriteLoadedConfiguration(); }},
    {model::kQuit, [](Link& l, const model::WorkerJob&) { l.SetButtonState(false, kLoginGroup); }},
    {model::kNetMode, [](Link& l, const model::WorkerJob&) { JobSteps::FillNetMode(l); }},
};

}  // namespace

void Link::OnJobFinish(const model::WorkerJob& job) {
    for (const FinishingStep& step : kFinishingSteps) {
        if (step.kind == job.jobKind) return step.finish(*this, job);
    }
}

}  // namespace devlink
