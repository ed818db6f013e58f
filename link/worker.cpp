#include "link/worker.h"

#include <string_view>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"

namespace devlink {

int JobTimeLimitMs(model::JobKind kind) {
    // A report and the log are long answers.
    const bool longAnswer = model::IsReportRequest(kind) || kind == model::JobKind::kReadLog;
    return longAnswer ? kLongAnswerLimitMs : kAnswerLimitMs;
}

Worker::Worker(Link& link, ui::Clock& clock)
    : link_(link), clock_(clock), thread_(&Worker::WorkerJobThreadProc, this) {}

Worker::~Worker() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    link_.jobQueue_.Wake();
    link_.replyEvent_.Wake();
    thread_.join();
}

bool Worker::SleepUntil(ui::Millis deadline) {
    std::unique_lock lock(mutex_);
    clock_.WaitUntil(lock, wake_, deadline, [this] { return stop_.load(); });
    return !stop_;
}

void Worker::WorkerJobThreadProc() {
    ui::Millis lastEnd = 0;
    bool followsAnother = false;  // a job is waiting as the last one ends
    bool idleReported = false;
    while (!stop_) {
        if (link_.jobQueue_.Size() == 0) {
            // Once per idle period, let the user work again if the unit is still there.
            if (!idleReported) link_.window_.SendMessage(UM_WORKER_IDLE);
            idleReported = true;
            followsAnother = false;  // a job queued while idle starts at once
            if (!link_.jobQueue_.WaitForJob(clock_, stop_)) return;
        }
        if (followsAnother && !SleepUntil(lastEnd + kGapMs)) return;
        model::WorkerJob job;
        if (!link_.jobQueue_.TakeJob(job)) continue;  // dropped meanwhile: the port was closed
        idleReported = false;
        if (!RunJob(job)) return;
        lastEnd = clock_.Now();
        followsAnother = true;
    }
}

bool Worker::RunJob(const model::WorkerJob& job) {
    ButtonStateMsg::Send(link_.window_, false, kOperationGroup);
    const auto factor = JobStartMsg::Send(link_.window_, job);
    // No answer to the start: the window has begun to close. Nothing more goes out.
    if (factor <= 0 || stop_) return false;
    link_.host_.PostLogText(link_.Text("ComSend", "send") + ":" + job.line);
    const ui::Millis limit = static_cast<ui::Millis>(JobTimeLimitMs(job.jobKind)) * factor;
    link_.serialPort_.Write(std::string_view(job.line.c_str()));  // up to a NUL it may hold
    const bool answered = link_.replyEvent_.Wait(clock_, limit, &stop_);
    if (stop_) return false;
    // The finishing step, or the time-out notice, on the user-interface thread.
    JobFinishMsg::Send(link_.window_, job, answered);
    return true;
}

}  // namespace devlink
