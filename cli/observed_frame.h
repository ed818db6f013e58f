// The main window as the command line drives it: the very same window, which besides keeps
// what the command line needs to know and a person sees on the screen: every job the worker
// ran with the unit's reply, when the worker went idle, and the whole text of the log view.
// Everything here runs on the user-interface thread.
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
    kUnanswered,  ///< the worker went on without the reply: timed out or stopped
};

struct JobRecord {
    model::WorkerJob job;
    JobEnd end = JobEnd::kRunning;
    std::string reply;  ///< the text received for the job, when answered
};

class ObservedFrame final : public app::CK4X30FrameWnd {
  public:
    using app::CK4X30FrameWnd::CK4X30FrameWnd;
    /// Ends the loop, stops the worker and closes the port while this class is still whole,
    /// so no other thread reaches the window while it is taken down.
    ~ObservedFrame() override;

    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled) override;
    void AppendLog(std::string_view text) override;

    /// An action that may queue jobs starts: the worker's idle reports are not counted until
    /// it ends. With `finishingMessage` 0 the caller ends it (EndAction) once its click has
    /// returned; otherwise it ends once the window has handled that posted message.
    void BeginAction(std::uint32_t finishingMessage = 0);
    void EndAction() { actionPending_ = false; }
    /// How often the worker has reported itself idle with nothing queued and no action
    /// pending. A count above the one taken before an action means the action's jobs, and
    /// whatever their replies queued, are done.
    std::uint64_t IdleReports() const { return idleReports_; }
    /// Grows with every sign of life of the worker or the port.
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
    /// How often the port was lost (unplugged) while open.
    int PortLosses() const { return portLosses_; }
    /// The jobs that were waiting when the port was last lost: never sent.
    const std::vector<model::WorkerJob>& DroppedAtLoss() const { return droppedAtLoss_; }
    /// Called with every text appended to the log view (--verbose).
    void SetLogEcho(std::function<void(std::string_view)> echo) { echo_ = std::move(echo); }

  private:
    void OnJobStart(const model::WorkerJob& job);
    void OnJobFinish();
    void OnWorkerIdle();
    void EndRunningJob();

    std::vector<JobRecord> jobs_;
    std::string log_;
    std::string lastReport_;
    int reportsParsed_ = 0;
    int portLosses_ = 0;
    std::vector<model::WorkerJob> droppedAtLoss_;
    std::uint64_t idleReports_ = 0;
    std::uint64_t activity_ = 0;
    bool actionPending_ = false;
    std::uint32_t finishingMessage_ = 0;
    std::function<void(std::string_view)> echo_;
};

}  // namespace cli
