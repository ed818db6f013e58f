#include "link/link.h"

#include "link/button_state.h"
#include "link/messages.h"
#include "link/port_watcher.h"
#include "link/worker.h"

namespace devlink {

Link::Link(ui::Window& w, LinkHost& h) : window(w), host(h) {
    serialPort.SetErrorBox([this](const std::string& text) {
        host.ShowBox(text, "Application Error", platform::BoxIcon::Stop);
    });
}

Link::~Link() {
    StopPortWatcher();
    StopWorker();
    serialPort.ClosePort();
}

bool Link::StartWorker() {
    try {
        worker_ = std::make_unique<Worker>(*this, window.GetClock());
    } catch (const std::system_error&) {
        worker_.reset();
    }
    jobQueue.SetWorkerAlive(worker_ != nullptr);
    return worker_ != nullptr;
}

void Link::StopWorker() {
    worker_.reset();  // its destructor stops and joins the thread
    jobQueue.SetWorkerAlive(false);
}

bool Link::QueueJob(int kind, std::string line, std::string paramName, std::string paramValue) {
    return jobQueue.QueueJob(
        model::WorkerJob{kind, std::move(line), std::move(paramName), std::move(paramValue)});
}

void Link::SetButtonState(bool enable, int group) {
    devlink::SetButtonState(host.Form(), host.Texts(), enable, group, loggedIn);
}

std::intptr_t Link::HandleMessage(const ui::Message& msg, bool& handled) {
    const auto* job = reinterpret_cast<const model::WorkerJob*>(msg.wParam);
    switch (msg.id) {
        case UM_SERIAL_DATA:
            // A chunk of a port closed since it was read is not the unit's answer any more.
            if (msg.wParam == serialPort.Generation()) OnReceived(msg.payload);
            return 0;
        case UM_PORT_LOST:
            OnPortLost(msg.wParam);
            return 0;
        case UM_PORTS_CHANGED:
            RefreshPortList();
            return 0;
        case UM_PORT_ERROR:
            host.ShowBox(msg.payload, "Application Error", platform::BoxIcon::Stop);
            return 0;
        case UM_BUTTON_STATE:
            SetButtonState(msg.wParam == 1, static_cast<int>(msg.lParam));
            return 1;
        case UM_JOB_START:
            return OnJobStart(*job);
        case UM_JOB_FINISH:
            OnJobFinish(*job);
            return 0;
        case UM_WORKER_IDLE:
            return OnWorkerIdle() ? 1 : 0;
        default:
            handled = false;
            return 0;
    }
}

std::intptr_t Link::OnJobStart(const model::WorkerJob& job) {
    window.KillTimer(kHandshakeTimer);
    expectedReply = job.jobKind;
    replyEvent.Reset();
    rxBuffer.Clear();
    return timeoutFactor;
}

bool Link::OnWorkerIdle() {
    if (!loggedIn || !serialPort.IsOpen()) return false;
    SetButtonState(true, kOperationGroup);
    return true;
}

void Link::OnHandshakeTimer() {
    serialPort.WriteNow("s", 1);
}

void Link::OnPortLost(std::uint64_t generation) {
    if (generation != serialPort.Generation() || !serialPort.IsOpen()) return;
    host.AppendLog(Text("OnStartCom", "PortLost", "\r\n"));
    NoteLostPort();
    CloseLink("CloseNotice");
}

}  // namespace devlink
