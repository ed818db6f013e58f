// The write job worker: one thread that takes the queued jobs in order, writes each job's
// line, waits for the reply the receive handler recognises, and hands the finishing step to
// the user-interface thread. It touches no form, catalogue or receive text itself: the job's
// start and finish run on the user-interface thread through sent messages.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ui/clock.h"

namespace devlink {

class Link;

/// The time limit of a job kind before the time-out factor: 24 s for the report and log
/// reads, 5 s for everything else.
int JobTimeLimitMs(int jobKind);

class Worker {
  public:
    /// Starts the thread; throws std::system_error when it cannot be created.
    Worker(Link& link, ui::Clock& clock);
    /// Stops the thread and waits for it; a job in progress is abandoned.
    ~Worker();

    static constexpr ui::Millis kPollMs = 100;

  private:
    void WorkerJobThreadProc();
    /// Waits `ms` on the clock; false when asked to stop.
    bool Sleep(ui::Millis ms);

    Link& link_;
    ui::Clock& clock_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool idleEnabled_ = false;
    std::thread thread_;
};

}  // namespace devlink
