#include "link/job_queue.h"

#include <iterator>

namespace devlink {

void JobQueue::QueueJob(const model::WorkerJob& job) {
    {
        std::lock_guard lock(jobLock_);
        jobs_.push_back(job);
    }
    queued_.notify_all();
}

bool JobQueue::WaitForJob(ui::Clock& clock, const std::atomic<bool>& stop) {
    std::unique_lock lock(jobLock_);
    // In slices, as clocks keep their deadlines in a bounded range.
    constexpr ui::Millis kSliceMs = 60 * 60 * 1000;
    while (!clock.WaitUntil(lock, queued_, clock.Now() + kSliceMs,
                            [&] { return !jobs_.empty() || stop.load(); })) {
    }
    return !stop;
}

void JobQueue::Wake() {
    { std::lock_guard lock(jobLock_); }
    queued_.notify_all();
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

std::vector<model::WorkerJob> JobQueue::Clear() {
    std::lock_guard lock(jobLock_);
    std::vector<model::WorkerJob> dropped(std::make_move_iterator(jobs_.begin()),
                                          std::make_move_iterator(jobs_.end()));
    jobs_.clear();
    return dropped;
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
