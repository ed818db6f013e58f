#include "link/link.h"

#include "link/button_state.h"
#include "link/messages.h"
#include "link/worker.h"
#include "model/unit_lines.h"
#include "serial/serial_port.h"

namespace devlink {

namespace {

/// Hands what the port meets to the window: received bytes and a lost device are posted (the
/// port's event thread never waits for the window); a failed setup is shown at once.
class PortToWindow final : public serial::PortListener {
  public:
    PortToWindow(ui::Window& window, LinkHost& host) : window_(window), host_(host) {}
    void Received(std::uint64_t generation, std::string bytes) override {
        SerialDataMsg::Post(window_, generation, std::move(bytes));
    }
    void Lost(std::uint64_t generation) override { PortLostMsg::Post(window_, generation); }
    void SetupFailed(const std::string& text) override {
        host_.ShowBox(text, "Application Error", platform::BoxIcon::Stop);
    }

  private:
    ui::Window& window_;
    LinkHost& host_;
};

}  // namespace

Link::Link(ui::Window& w, LinkHost& h)
    : window_(w),
      host_(h),
      portListener_(std::make_unique<PortToWindow>(w, h)),
      ownPort_(std::make_unique<serial::CSerialPort>(*portListener_)),
      serialPort_(*ownPort_),
      ports_(w, h, serialPort_) {}

Link::~Link() {
    ports_.StopPortWatcher();
    StopWorker();
    serialPort_.Close();
}

bool Link::StartWorker() {
    try {
        worker_ = std::make_unique<Worker>(*this, window_.GetClock());
    } catch (const std::system_error&) {
        worker_.reset();
    }
    return worker_ != nullptr;
}

void Link::ShutDown() {
    StopWorker();
    ports_.StopPortWatcher();
    serialPort_.Close();
}

void Link::StopWorker() {
    worker_.reset();  // its destructor stops and joins the thread
}

void Link::QueueJob(model::JobKind kind, std::string_view line, std::string paramName,
                    std::string paramValue) {
    QueueJob(
        model::WorkerJob{kind, std::string(line), std::move(paramName), std::move(paramValue)});
}

void Link::QueueJob(const model::WorkerJob& job) {
    jobQueue_.QueueJob(job);
}

void Link::SetLoggedIn(bool loggedIn) {
    loggedIn_ = loggedIn;
    if (loggedIn) window_.KillTimer(kNoAnswerTimer);
    ShowLogin(host_.Form(), host_.Texts(), loggedIn, serialPort_.IsOpen());
    if (loggedIn) AfterLogin();
}

void Link::SetButtonState(bool enable, ButtonGroup group) {
    switch (group) {
        case kLoginGroup:
            return SetLoggedIn(enable);
        case kConnectionGroup:
            SetLoggedIn(enable);
            ShowPortOpen(host_.Form(), host_.Texts(), enable);
            return ShowResumeState();
        case kOperationGroup:
            return EnableOperations(host_.Form(), host_.Texts(), enable, true);
        case kPortGroup:
            ShowDeviceState(host_.Form(), host_.Texts(), loggedIn_, enable);
            return ShowPortOpen(host_.Form(), host_.Texts(), enable);
    }
}

std::intptr_t Link::HandleMessage(const ui::Message& msg, bool& handled) {
    switch (msg.id) {
        case UM_SERIAL_DATA: {
            // A chunk of a port closed since it was read is not the unit's answer any more.
            const SerialDataMsg data = SerialDataMsg::From(msg);
            if (data.generation == serialPort_.Generation()) OnReceived(data.bytes);
            return 0;
        }
        case UM_PORT_LOST:
            OnPortLost(PortLostMsg::From(msg));
            return 0;
        case UM_PORTS_CHANGED:
            ports_.RefreshPortList();
            return 0;
        case UM_BUTTON_STATE: {
            const ButtonStateMsg state = ButtonStateMsg::From(msg);
            SetButtonState(state.enable, state.group);
            return 1;
        }
        case UM_JOB_START:
            return OnJobStart(JobStartMsg::From(msg));
        case UM_JOB_FINISH: {
            const JobFinishMsg finish = JobFinishMsg::From(msg);
            OnJobFinish(finish.job, finish.answered);
            return 0;
        }
        case UM_WORKER_IDLE:
            OnWorkerIdle();
            return 0;
        default:
            handled = false;
            return 0;
    }
}

std::intptr_t Link::OnJobStart(const model::WorkerJob& job) {
    window_.KillTimer(kHandshakeTimer);
    expectedReply_ = ReplyTo(job.jobKind);
    inFlight_ = job;
    inFlightAbandoned_ = false;
    replyEvent_.Reset();
    rxBuffer_.Clear();
    Tell([&](LinkObserver& o) { o.JobStarted(job); });
    ProgressAtStart(job);
    return timeoutFactor_;
}

void Link::OnWorkerIdle() {
    // The user may work again if the unit is still there.
    if (loggedIn_ && serialPort_.IsOpen()) SetButtonState(true, kOperationGroup);
    if (resumeStage_ == ResumeStage::kResuming) resumeStage_ = ResumeStage::kNone;
    ProgressAtIdle();
    Tell([](LinkObserver& o) { o.WorkerIdle(); });
}

void Link::OnHandshakeTimer() {
    serialPort_.Write(model::kHandshakeByte);
}

void Link::WaitForAnswer(std::string_view noAnswerKey) {
    noAnswerKey_ = noAnswerKey;
    const int limit = JobTimeLimitMs(model::JobKind::kLogin) * timeoutFactor_;
    window_.SetTimer(kNoAnswerTimer, static_cast<ui::Millis>(limit));
}

void Link::OnNoAnswerTimer() {
    window_.KillTimer(kNoAnswerTimer);
    // Logged in or closed meanwhile: the unit answered, or there is nothing to wait for.
    if (loggedIn_ || !serialPort_.IsOpen()) return;
    host_.AppendLog(Text("OnStartCom", noAnswerKey_, "\r\n"));
}

void Link::AddObserver(LinkObserver* observer) {
    observers_.push_back(observer);
}

void Link::RemoveObserver(LinkObserver* observer) {
    std::erase(observers_, observer);
}

void Link::OnPortLost(std::uint64_t generation) {
    if (generation != serialPort_.Generation() || !serialPort_.IsOpen()) return;
    host_.AppendLog(Text("OnStartCom", "PortLost", "\r\n"));
    reopenPath_ = ports_.OpenedStableName().empty() ? openedPath_ : ports_.OpenedStableName();
    ports_.PortLost();
    if (policy_.limit == 0) {
        const std::vector<model::WorkerJob> dropped = CloseLink("CloseNotice");
        Tell([&](LinkObserver& o) { o.PortLost(dropped); });
        return;
    }
    KeepUnacknowledged();
    CloseLink("CloseNotice");
    WaitForAdapter();
}

}  // namespace devlink
