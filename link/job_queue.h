// The jobs waiting for the worker, oldest first. Every access takes the queue's lock.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "model/worker_job.h"

namespace devlink {

class JobQueue {
  public:
    /// Appends a copy; returns whether a worker exists to carry it out.
    bool QueueJob(const model::WorkerJob& job);
    /// Takes the oldest job into `job`; false when the queue is empty.
    bool TakeJob(model::WorkerJob& job);
    /// Drops every job not yet started.
    void Clear();
    /// The jobs waiting, oldest first.
    std::vector<model::WorkerJob> Pending() const;
    size_t Size() const;
    void SetWorkerAlive(bool alive) { workerAlive_ = alive; }

  private:
    mutable std::mutex jobLock_;
    std::deque<model::WorkerJob> jobs_;
    std::atomic<bool> workerAlive_{false};
};

}  // namespace devlink
