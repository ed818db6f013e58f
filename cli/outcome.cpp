#include "cli/outcome.h"

#include <ostream>

#include "cli/exit_codes.h"
#include "cli/output.h"

namespace cli {

namespace {

bool Has(std::string_view text, std::string_view part) {
    return !part.empty() && text.find(part) != std::string_view::npos;
}

bool AnsweredError(const JobRecord& record) {
    return record.end == JobEnd::kAnswered && Has(record.reply, "ERROR\r\n");
}

/// The unit's reply for naming a failed job: its lines joined, or what happened instead.
std::string ReplyText(const JobRecord& record) {
    if (record.end != JobEnd::kAnswered) return "no answer";
    std::string text;
    for (const std::string& line : ReplyLines(record.reply))
        text += (text.empty() ? "" : " ") + line;
    return text.empty() ? "an empty answer" : text;
}

/// Jobs other than writes that count as refused when answered ERROR. The first signal query
/// is not one of them: its ERROR is answered by asking once more.
bool CommandRefusalCounts(int jobKind) {
    return jobKind == model::kVersion || jobKind == model::kSim || jobKind == model::kSignalAgain ||
           jobKind == model::kReadLog || jobKind == model::kCommandButton;
}

/// The exit code that the notices of the log and the message boxes since `mark` call for.
int JudgeNotices(const Session& s, const Mark& mark, std::ostream& err) {
    const std::string_view log = std::string_view(s.Record().LogText()).substr(mark.log);
    int code = kExitOk;
    if (const std::string lost = s.Notice("OnStartCom", "PortLost"); Has(log, lost)) {
        err << "dtucfg: " << WithoutLineEnds(lost) << "\n";
    }
    if (Has(log, s.Notice("WorkerJobThreadProc", "OutTime"))) code = WorseExit(code, kExitTimeout);
    if (Has(log, s.Notice("WorkerJobThreadProc", "SaveError")) ||
        Has(log, s.Notice("WorkerJobThreadProc", "FactoryError"))) {
        code = WorseExit(code, kExitRefused);
    }
    for (const char* key : {"LineBreakError", "NBBandError"}) {
        const std::string notice = s.Frame().LoadText("Notify", key);
        const size_t at = notice.empty() ? std::string_view::npos : log.find(notice);
        if (at == std::string_view::npos) continue;
        err << "dtucfg: " << WithoutLineEnds(log.substr(at, log.find('\n', at) - at)) << "\n";
        code = WorseExit(code, kExitUsage);
    }
    if (Has(log, s.Frame().LoadText("onLoadFrommFile", "ReadError"))) {
        code = WorseExit(code, kExitFile);
    }
    const std::string fileError = s.Frame().LoadText("SaveToFile", "OpenError");
    const auto& boxes = s.Dialogs().BoxTexts();
    for (size_t i = mark.boxes; i < boxes.size(); ++i) {
        if (!fileError.empty() && boxes[i] == fileError) code = WorseExit(code, kExitFile);
    }
    return code;
}

}  // namespace

std::string WriteResultText(const Session& session, const JobRecord& record) {
    if (record.end != JobEnd::kAnswered) return "timeout";
    if (AnsweredError(record) || !Has(record.reply, "OK\r\n")) return "error";
    const model::WorkerJob& job = record.job;
    if (job.paramName.empty()) return "ok";
    const model::ParamEntry* row = session.Frame().catalogue.Find(job.paramName);
    return row && row->value == job.paramValue ? "ok" : "error";
}

Outcome JudgeSince(const Session& session, const Mark& mark, std::ostream& err) {
    Outcome outcome;
    outcome.exitCode = JudgeNotices(session, mark, err);
    const auto& jobs = session.Record().Jobs();
    for (size_t i = mark.jobs; i < jobs.size(); ++i) {
        const JobRecord& record = jobs[i];
        const std::string line = WithoutLineEnds(record.job.line);
        if (record.job.jobKind == model::kWriteParam) {
            WriteResult write{record.job.paramName, line, record.job.paramValue,
                              WriteResultText(session, record)};
            if (write.result != "ok")
                err << "dtucfg: not written: " << line << " -> " << ReplyText(record) << "\n";
            outcome.writes.push_back(std::move(write));
        } else if (record.end != JobEnd::kAnswered) {
            err << "dtucfg: no answer to: " << line << "\n";
            outcome.exitCode = WorseExit(outcome.exitCode, kExitTimeout);
        } else if (AnsweredError(record) && CommandRefusalCounts(record.job.jobKind)) {
            err << "dtucfg: refused: " << line << " -> " << ReplyText(record) << "\n";
            outcome.exitCode = WorseExit(outcome.exitCode, kExitRefused);
        }
    }
    for (const WriteResult& write : outcome.writes) {
        if (write.result == "timeout") outcome.exitCode = WorseExit(outcome.exitCode, kExitTimeout);
        if (write.result == "error") outcome.exitCode = WorseExit(outcome.exitCode, kExitRefused);
    }
    return outcome;
}

}  // namespace cli
