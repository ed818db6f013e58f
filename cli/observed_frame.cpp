#include "cli/observed_frame.h"

#include "app/messages.h"
#include "link/messages.h"

namespace cli {

namespace {

bool IsReportRequest(int jobKind) {
    return jobKind == model::kReadReport || jobKind == model::kSaveToFile ||
           jobKind == model::kLoadFromFile;
}

}  // namespace

ObservedFrame::~ObservedFrame() {
    ShutDown();
}

std::intptr_t ObservedFrame::HandleMessage(const ui::Message& msg, bool& handled) {
    switch (msg.id) {
        case devlink::UM_JOB_START:
            // Sent by the worker, which waits: the job behind wParam lives until it returns.
            OnJobStart(*reinterpret_cast<const model::WorkerJob*>(msg.wParam));
            break;
        case devlink::UM_JOB_FINISH:
            OnJobFinish();  // before the finishing step, which may use the text up
            break;
        case devlink::UM_SERIAL_DATA:
            ++activity_;
            break;
        default:
            break;
    }
    const bool wasOpen = link.serialPort.IsOpen();
    std::vector<model::WorkerJob> waiting;
    if (msg.id == devlink::UM_PORT_LOST) waiting = link.jobQueue.Pending();
    const std::intptr_t result = CK4X30FrameWnd::HandleMessage(msg, handled);
    if (msg.id == devlink::UM_PORT_LOST && wasOpen && !link.serialPort.IsOpen()) {
        ++portLosses_;
        droppedAtLoss_ = std::move(waiting);
    }
    if (msg.id == devlink::UM_WORKER_IDLE) OnWorkerIdle();
    if (msg.id == app::UM_PARSE_REPORT) ++reportsParsed_;
    if (actionPending_ && finishingMessage_ != 0 && msg.id == finishingMessage_) EndAction();
    return result;
}

void ObservedFrame::AppendLog(std::string_view text) {
    CK4X30FrameWnd::AppendLog(text);
    log_.append(text);
    if (echo_) echo_(text);
}

void ObservedFrame::BeginAction(std::uint32_t finishingMessage) {
    actionPending_ = true;
    finishingMessage_ = finishingMessage;
}

const JobRecord* ObservedFrame::RunningJob() const {
    if (jobs_.empty() || jobs_.back().end != JobEnd::kRunning) return nullptr;
    return &jobs_.back();
}

void ObservedFrame::OnJobStart(const model::WorkerJob& job) {
    ++activity_;
    EndRunningJob();
    jobs_.push_back(JobRecord{job, JobEnd::kRunning, {}});
}

void ObservedFrame::OnJobFinish() {
    ++activity_;
    if (jobs_.empty() || jobs_.back().end != JobEnd::kRunning) return;
    JobRecord& record = jobs_.back();
    record.end = JobEnd::kAnswered;
    record.reply = std::string(link.rxBuffer.View());
    if (IsReportRequest(record.job.jobKind)) lastReport_ = record.reply;
}

void ObservedFrame::OnWorkerIdle() {
    ++activity_;
    EndRunningJob();
    // The worker waits in its send while this runs, so an empty queue here means it has
    // nothing to do until this thread queues more.
    if (!actionPending_ && link.jobQueue.Size() == 0) ++idleReports_;
}

void ObservedFrame::EndRunningJob() {
    if (!jobs_.empty() && jobs_.back().end == JobEnd::kRunning) {
        jobs_.back().end = JobEnd::kUnanswered;
    }
}

}  // namespace cli
