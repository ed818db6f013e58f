#include "cli/run_recorder.h"

namespace cli {

void RunRecorder::JobStarted(const model::WorkerJob& job) {
    ++activity_;
    jobs_.push_back(JobRecord{job, JobEnd::kRunning, {}});
}

void RunRecorder::JobEnded(const model::WorkerJob&, devlink::JobOutcome outcome,
                           std::string_view reply) {
    ++activity_;
    if (jobs_.empty() || jobs_.back().end != JobEnd::kRunning) return;
    JobRecord& record = jobs_.back();
    const bool answered = outcome != devlink::JobOutcome::kTimedOut;
    record.end = answered ? JobEnd::kAnswered : JobEnd::kUnanswered;
    record.outcome = outcome;
    if (!answered) return;
    record.reply = std::string(reply);
    // Only a whole report stands for the unit's parameters.
    if (model::IsReportRequest(record.job.jobKind) &&
        outcome == devlink::JobOutcome::kAcknowledged) {
        lastReport_ = record.reply;
    }
}

void RunRecorder::WorkerIdle() {
    ++activity_;
    ++idleReports_;
}

void RunRecorder::PortLost(const std::vector<model::WorkerJob>& dropped) {
    ++portLosses_;
    droppedAtLoss_ = dropped;
}

void RunRecorder::LogAppended(std::string_view text) {
    log_.append(text);
    if (echo_) echo_(text);
}

const JobRecord* RunRecorder::RunningJob() const {
    if (jobs_.empty() || jobs_.back().end != JobEnd::kRunning) return nullptr;
    return &jobs_.back();
}

}  // namespace cli
