// The jobs waiting for the worker, oldest first. Every access takes the queue's lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "model/worker_job.h"
#include "ui/clock.h"

namespace devlink {

class JobQueue {
  public:
    /// Appends a copy.
    void QueueJob(const model::WorkerJob& job);
    /// Takes the oldest job into `job`; false when the queue is empty.
    bool TakeJob(model::WorkerJob& job);
    /// Waits until a job is queued (true) or `stop` turns true (false); Wake makes the waiter
    /// look at `stop` again.
    bool WaitForJob(ui::Clock& clock, const std::atomic<bool>& stop);
    void Wake();
    /// Drops every job not yet started and returns them, oldest first.
    std::vector<model::WorkerJob> Clear();
    /// The jobs waiting, oldest first.
    std::vector<model::WorkerJob> Pending() const;
    size_t Size() const;

  private:
    mutable std::mutex jobLock_;
    std::condition_variable queued_;
    std::deque<model::WorkerJob> jobs_;
};

}  // namespace devlink
