// The write job worker: one thread that takes the queued jobs in order, writes each job's
// line, waits for the reply the receive handler recognises, and hands the finishing step to
// the user-interface thread. It touches no form, catalogue or receive text itself: the job's
// start and finish run on the user-interface thread through sent messages.
//
// It sleeps on the queue: a job queued while it is idle starts at once, and a job that was
// waiting when the one before it ended waits for the unit's gap between two commands first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "model/worker_job.h"
#include "ui/clock.h"

namespace devlink {

class Link;

/// The time limits of a job before the time-out factor: the report and log reads, and
/// everything else.
constexpr int kLongAnswerLimitMs = 24000;
constexpr int kAnswerLimitMs = 5000;

/// The time limit of a job kind before the time-out factor.
int JobTimeLimitMs(model::JobKind kind);

class Worker {
  public:
    /// Starts the thread; throws std::system_error when it cannot be created.
    Worker(Link& link, ui::Clock& clock);
    /// Stops the thread and waits for it; a job in progress is abandoned.
    ~Worker();

    /// The pause between the end of one job and the start of the next that was waiting.
    static constexpr ui::Millis kGapMs = 100;

  private:
    void WorkerJobThreadProc();
    /// Carries out one job; false when the window has begun to close.
    bool RunJob(const model::WorkerJob& job);
    /// Waits on the clock until `deadline`; false when asked to stop.
    bool SleepUntil(ui::Millis deadline);

    Link& link_;
    ui::Clock& clock_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
};

}  // namespace devlink
