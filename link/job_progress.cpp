// How far the work in progress has come, and the summary of the writes it made: the progress
// bar follows a report read by its bytes and "Save" by its writes; once the worker is idle
// the log says how many writes the unit acknowledged and names those it did not.
#include <algorithm>

#include "link/link.h"
#include "platform/text.h"

namespace devlink {

namespace {

/// A parameter write: not the clock, which names no parameter.
bool IsParameterWrite(const model::WorkerJob& job) {
    return job.jobKind == model::JobKind::kWriteParam && !job.paramName.empty();
}

/// A parameter write or the factory restore.
bool IsTallied(const model::WorkerJob& job) {
    return IsParameterWrite(job) || job.jobKind == model::JobKind::kFactory;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

void Link::SetProgress(const JobProgress& progress) {
    if (progress == progress_) return;
    progress_ = progress;
    host_.ShowProgress(progress_);
    Tell([&](LinkObserver& o) { o.ProgressChanged(progress_); });
}

void Link::ProgressAtStart(const model::WorkerJob& job) {
    if (model::IsReportRequest(job.jobKind)) return SetProgress({true, 0, kReportSizeEstimate});
    if (!IsParameterWrite(job)) return SetProgress({});
    const std::vector<model::WorkerJob> waiting = jobQueue_.Pending();
    const auto queued = std::count_if(waiting.begin(), waiting.end(), IsParameterWrite);
    SetProgress({true, writesDone_, writesDone_ + 1 + static_cast<int>(queued)});
}

void Link::ProgressOnReceived() {
    const bool report =
        expectedReply_.exchange == Exchange::kReply && model::IsReportRequest(expectedReply_.job);
    if (!progress_.active || !report) return;
    const int received = rxBuffer_.Length();
    SetProgress({true, received, std::max(kReportSizeEstimate, received)});
}

/// The name a write goes by in the summary: its row, or its line.
std::string TallyName(const model::WorkerJob& job) {
    return job.paramName.empty()
               ? std::string(job.line.substr(0, job.line.find_last_not_of("\r\n") + 1))
               : job.paramName;
}

void Link::ProgressAtFinish(const model::WorkerJob& job, JobOutcome outcome) {
    if (model::IsReportRequest(job.jobKind) && outcome == JobOutcome::kAcknowledged &&
        progress_.active) {
        SetProgress({true, progress_.maximum, progress_.maximum});
    }
    if (IsParameterWrite(job)) {
        ++writesDone_;
        SetProgress({true, writesDone_, std::max(progress_.maximum, writesDone_)});
    }
    if (!IsTallied(job)) return;
    if (outcome == JobOutcome::kAcknowledged) {
        ++tally_.acknowledged;
    } else if (outcome == JobOutcome::kRefused) {
        tally_.refused.push_back(TallyName(job));
    } else {
        tally_.notAnswered.push_back(TallyName(job));
    }
}

void Link::TallyNotSent(const std::vector<model::WorkerJob>& dropped) {
    for (const model::WorkerJob& job : dropped) {
        if (IsTallied(job)) tally_.notSent.push_back(TallyName(job));
    }
}

void Link::ProgressAtIdle() {
    SetProgress({});
    writesDone_ = 0;
    // The work goes on once the unit is back: one summary for all of it.
    if (tally_.Total() == 0 || Resuming()) return;
    // Posted like the received text, so the summary follows the last reply in the log; on a
    // line of its own, as a reply's line end that comes after the job ended is not shown.
    host_.PostLogText("\r\n" + SummaryLine());
    const WriteTally done = std::move(tally_);
    tally_ = {};
    Tell([&](LinkObserver& o) { o.WritesDone(done); });
}

std::string Link::SummaryLine() const {
    std::string line = platform::ReplaceToken(Text("Summary", "Acknowledged"), "{ok}",
                                              std::to_string(tally_.acknowledged));
    line = platform::ReplaceToken(std::move(line), "{total}", std::to_string(tally_.Total()));
    if (!tally_.refused.empty())
        line += " " + Text("Summary", "Refused") + " " + Joined(tally_.refused);
    if (!tally_.notAnswered.empty()) {
        line += " " + Text("Summary", "NotAnswered") + " " + Joined(tally_.notAnswered);
    }
    if (!tally_.notSent.empty()) {
        line += " " + Text("Summary", "NotSent") + " " + Joined(tally_.notSent);
    }
    return line + "\r\n";
}

}  // namespace devlink
