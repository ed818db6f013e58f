#include "link/job_queue.h"

namespace devlink {

bool JobQueue::QueueJob(const model::WorkerJob& job) {
    std::lock_guard lock(jobLock_);
    jobs_.push_back(job);
    return workerAlive_;
}

bool JobQueue::TakeJob(model::WorkerJob& job) {
    std::lock_guard lock(jobLock_);
    if (jobs_.empty()) {
        jobs_.shrink_to_fit();
        return false;
    }
    job = std::move(jobs_.front());
    jobs_.pop_front();
    return true;
}

void JobQueue::Clear() {
    std::lock_guard lock(jobLock_);
    jobs_.clear();
}

std::vector<model::WorkerJob> JobQueue::Pending() const {
    std::lock_guard lock(jobLock_);
    return {jobs_.begin(), jobs_.end()};
}

size_t JobQueue::Size() const {
    std::lock_guard lock(jobLock_);
    return jobs_.size();
}

}  // namespace devlink
