#include "cli/outcome.h"

#include <algorithm>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/output.h"

namespace cli {

namespace {

bool AnsweredError(const JobRecord& record) {
    return record.end == JobEnd::kAnswered && record.outcome == devlink::JobOutcome::kRefused;
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
bool CommandRefusalCounts(model::JobKind kind) {
    using K = model::JobKind;
    for (K counted :
         {K::kFactory, K::kVersion, K::kSim, K::kSignalAgain, K::kReadLog, K::kCommandButton}) {
        if (kind == counted) return true;
    }
    return false;
}

/// The exit code that what the window told since `mark` calls for: a lost port, a row the
/// form refused, a configuration file that could not be read or written.
int JudgeEvents(const Session& s, const Mark& mark, std::ostream& err) {
    const RunRecorder& record = s.Record();
    int code = kExitOk;
    if (record.PortLosses() > mark.portLosses) {
        err << "dtucfg: " << Printable(WithoutLineEnds(s.Notice("OnStartCom", "PortLost"))) << "\n";
    }
    const auto& refusals = record.Refusals();
    for (size_t i = mark.refusals; i < refusals.size(); ++i) {
        const bool band = refusals[i].kind == model::RefusalKind::kNbBand;
        err << "dtucfg: " << (band ? "the NB band is out of range" : "a value holds a line break")
            << ", not written: " << Printable(refusals[i].name) << "\n";
        code = WorseExit(code, kExitUsage);
    }
    const auto& files = record.FileFailures();
    if (files.size() > mark.fileFailures) code = WorseExit(code, kExitFile);
    return code;
}

}  // namespace

std::string WriteResultText(const Session& session, const JobRecord& record) {
    if (record.end != JobEnd::kAnswered) return "timeout";
    if (record.outcome != devlink::JobOutcome::kAcknowledged) return "error";
    const model::WorkerJob& job = record.job;
    if (job.paramName.empty()) return "ok";
    const model::ParamEntry* row = session.Frame().catalogue.Find(job.paramName);
    return row && row->value == job.paramValue ? "ok" : "error";
}

/// The index of the last record of each write since `from`, in the order the writes were
/// first sent: a write sent again after a reconnection is listed once, with its last result.
std::vector<size_t> LastRecordOfEachWrite(const std::vector<JobRecord>& jobs, size_t from) {
    std::vector<size_t> last;
    for (size_t i = from; i < jobs.size(); ++i) {
        if (jobs[i].job.jobKind != model::JobKind::kWriteParam) continue;
        const auto same = std::find_if(last.begin(), last.end(), [&](size_t k) {
            return jobs[k].job.line == jobs[i].job.line;
        });
        if (same == last.end()) {
            last.push_back(i);
        } else {
            *same = i;
        }
    }
    return last;
}

Outcome JudgeSince(const Session& session, const Mark& mark, std::ostream& err) {
    Outcome outcome;
    outcome.exitCode = JudgeEvents(session, mark, err);
    const auto& jobs = session.Record().Jobs();
    for (const size_t i : LastRecordOfEachWrite(jobs, mark.jobs)) {
        const JobRecord& record = jobs[i];
        const std::string line = WithoutLineEnds(record.job.line);
        WriteResult write{record.job.paramName, line, record.job.paramValue,
                          WriteResultText(session, record)};
        if (write.result != "ok")
            err << "dtucfg: not written: " << Printable(line) << " -> "
                << Printable(ReplyText(record)) << "\n";
        outcome.writes.push_back(std::move(write));
    }
    for (size_t i = mark.jobs; i < jobs.size(); ++i) {
        const JobRecord& record = jobs[i];
        const std::string line = WithoutLineEnds(record.job.line);
        if (record.job.jobKind == model::JobKind::kWriteParam) {
            continue;
        } else if (record.end != JobEnd::kAnswered ||
                   record.outcome == devlink::JobOutcome::kIncomplete) {
            err << "dtucfg: "
                << (record.end == JobEnd::kAnswered ? "incomplete answer to: " : "no answer to: ")
                << Printable(line) << "\n";
            outcome.exitCode = WorseExit(outcome.exitCode, kExitTimeout);
        } else if (AnsweredError(record) && CommandRefusalCounts(record.job.jobKind)) {
            err << "dtucfg: refused: " << Printable(line) << " -> " << Printable(ReplyText(record))
                << "\n";
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
