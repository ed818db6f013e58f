// What the command line needs to know of a run, as the window and its link tell it: every job
// the worker ran with the unit's reply, when the worker went idle, the whole text of the log
// view, and the ports lost. Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/frame_wnd.h"
#include "model/worker_job.h"

namespace cli {

/// How a job of the worker ended, as far as the window has seen.
enum class JobEnd {
    kRunning,     ///< started, no answer yet
    kAnswered,    ///< the reply the job waits for came (OK or ERROR)
    kUnanswered,  ///< the worker went on without the reply: timed out
};

struct JobRecord {
    model::WorkerJob job;
    JobEnd end = JobEnd::kRunning;
    std::string reply;  ///< the text received for the job, when answered
    devlink::JobOutcome outcome = devlink::JobOutcome::kTimedOut;  ///< once it ended
};

class RunRecorder final : public app::FrameObserver {
  public:
    void JobStarted(const model::WorkerJob& job) override;
    void JobEnded(const model::WorkerJob& job, devlink::JobOutcome outcome,
                  std::string_view reply) override;
    void WorkerIdle() override;
    void PortLost(const std::vector<model::WorkerJob>& dropped) override;
    void LogAppended(std::string_view text) override;
    void ReportParsed() override { ++reportsParsed_; }
    void ProgressChanged(const devlink::JobProgress& progress) override { progress_ = progress; }
    void WritesDone(const devlink::WriteTally& tally) override { tallies_.push_back(tally); }
    void WriteRefused(const model::WriteRefusal& refusal) override { refusals_.push_back(refusal); }
    void FileFailed(bool writing) override { fileFailures_.push_back(writing); }

    /// How often the worker has gone idle: a count above the one taken before an action means
    /// the action's jobs, and whatever their replies queued, are done.
    std::uint64_t IdleReports() const { return idleReports_; }
    /// Grows with every sign of life of the worker.
    std::uint64_t Activity() const { return activity_; }
    /// Every job the worker started, in order.
    const std::vector<JobRecord>& Jobs() const { return jobs_; }
    /// The job being run, or null.
    const JobRecord* RunningJob() const;
    /// Every text appended to the log view, never cut (the view itself is limited).
    const std::string& LogText() const { return log_; }
    /// The text the unit last answered to a report request ("AT+SHOW").
    const std::string& LastReport() const { return lastReport_; }
    /// How many reports were put into the form.
    int ReportsParsed() const { return reportsParsed_; }
    /// How often the open port was lost (unplugged).
    int PortLosses() const { return portLosses_; }
    /// The jobs that were waiting when the port was last lost: never sent.
    const std::vector<model::WorkerJob>& DroppedAtLoss() const { return droppedAtLoss_; }
    /// How far the work in progress has come, as the window's bar shows it.
    const devlink::JobProgress& Progress() const { return progress_; }
    /// The summaries of the pieces of work that wrote parameters, in order.
    const std::vector<devlink::WriteTally>& Tallies() const { return tallies_; }
    /// The rows the form refused to write, in order.
    const std::vector<model::WriteRefusal>& Refusals() const { return refusals_; }
    /// The configuration files that could not be read (false) or written (true), in order.
    const std::vector<bool>& FileFailures() const { return fileFailures_; }
    /// Called with every text appended to the log view (--verbose).
    void SetLogEcho(std::function<void(std::string_view)> echo) { echo_ = std::move(echo); }

  private:
    std::vector<JobRecord> jobs_;
    std::string log_;
    std::string lastReport_;
    int reportsParsed_ = 0;
    int portLosses_ = 0;
    std::vector<model::WorkerJob> droppedAtLoss_;
    std::uint64_t idleReports_ = 0;
    std::uint64_t activity_ = 0;
    std::function<void(std::string_view)> echo_;
    devlink::JobProgress progress_;
    std::vector<devlink::WriteTally> tallies_;
    std::vector<model::WriteRefusal> refusals_;
    std::vector<bool> fileFailures_;
};

}  // namespace cli
