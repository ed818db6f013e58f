// The operations the form's buttons start: opening and closing the port, the login, the
// clock, and direct sends.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"
#include "model/unit_lines.h"
#include "platform/decimal.h"
#include "serial/line_settings.h"
#include "ui/controls.h"

namespace devlink {

namespace {

/// The time limits hold at this line speed and above; slower lines multiply them.
constexpr int kTimeLimitBaudRate = 9600;

/// The notice that names why a port could not be opened, where the cause is known.
const char* OpenErrorCause(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "PermissionDenied";
        case EWOULDBLOCK:
        case EBUSY:
            return "PortBusy";
        default:
            return nullptr;
    }
}

}  // namespace

std::string MakeClockText(long long t) {
    const std::time_t seconds = static_cast<std::time_t>(t);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[80];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d,%02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string_view SimQueryLine(std::string_view rfModel) {
    const bool pinState = rfModel.find("BG36") != std::string_view::npos ||
                          rfModel.find("BG96") != std::string_view::npos;
    return pinState ? model::kPinLine : model::kImsiLine;
}

std::vector<model::WorkerJob> Link::CloseLink(std::string_view noticeKey) {
    serialPort_.Close();
    if (ui::Control* open = host_.Form().FindControl("Open")) {
        open->SetText(Text("OnStartCom", "Open"));
    }
    host_.AppendLog(Text("OnStartCom", noticeKey, "\r\n"));
    std::vector<model::WorkerJob> dropped = jobQueue_.Clear();
    // The writes that never went out are named in the summary of the work they belonged to.
    TallyNotSent(dropped);
    window_.KillTimer(kHandshakeTimer);
    window_.KillTimer(kNoAnswerTimer);
    // Logged out at once, so nothing more goes to a unit that is gone; the controls follow
    // with the posted connection state, after any login notice still on its way.
    loggedIn_ = false;
    ButtonStateMsg::Post(window_, false, kConnectionGroup);
    ports_.PortClosed();
    return dropped;
}

void Link::OnStartCom() {
    ui::PaintManager& form = host_.Form();
    auto* format = form.Find<ui::Combo>("Checkcode");
    auto* baud = form.Find<ui::Combo>("BaudRate1");
    auto* port = form.Find<ui::Combo>("SerialPort");
    // "Open" reads "Cancel" while the adapter is waited for.
    if (resumeStage_ == ResumeStage::kWaitingForAdapter) return GiveUpResume("Cancelled");
    if (serialPort_.IsOpen()) {
        if (Resuming()) GiveUpResume("Cancelled");
        CloseLink("CloseNotice");
        return;
    }
    if (!port || !baud) return;
    if (port->GetText().empty()) {
        // The port chosen before went away, or there never was one: nothing to open.
        host_.AppendLog(Text("OnStartCom", "NoPort", "\r\n"));
        return;
    }
    expectedReply_ = kHandshakeReply;
    if (!format) return;
    // The form's texts are read into typed settings once, here; the port trusts them.
    const auto settings =
        serial::MakeLineSettings(platform::ReadDecimal(baud->GetText()), format->GetText());
    if (!settings) {
        // Refused before anything is opened: the time-out factor needs a positive rate and
        // the device a format it can take.
        host_.AppendLog(Text("OnStartCom", "OpenError", "\r\n"));
        host_.AppendLog(Text("OnStartCom", "BadSettings", "\r\n"));
        return;
    }
    if (!OpenPort(port->GetText(), *settings)) {
        host_.AppendLog(Text("OnStartCom", "OpenError", "\r\n"));
        const int error = serialPort_.LastOpenError();
        if (error != 0) host_.AppendLog(port->GetText() + ": " + std::strerror(error) + "\r\n");
        if (const char* cause = OpenErrorCause(error)) {
            host_.AppendLog(Text("OnStartCom", cause, "\r\n"));
        }
    }
}

bool Link::OpenPort(const std::string& path, const serial::LineSettings& settings) {
    timeoutFactor_ = std::max(1, kTimeLimitBaudRate / settings.baud);
    if (!serialPort_.Open(path, settings)) return false;
    openedPath_ = path;
    openedSettings_ = settings;
    expectedReply_ = kHandshakeReply;
    host_.AppendLog(Text("OnStartCom", "OpenNotice", "\r\n"));
    ports_.PortOpened(serialPort_.Path());
    if (ui::Control* open = host_.Form().FindControl("Open")) {
        open->SetText(Text("OnStartCom", "Close"));
    }
    window_.SetTimer(kHandshakeTimer, kHandshakePeriodMs);
    WaitForAnswer("NoAnswerOpen");
    ButtonStateMsg::Post(window_, true, kPortGroup);
    return true;
}

void Link::SendDirect(std::string_view text) {
    serialPort_.Write(text);
    host_.PostLogText(Text("ComSend", "send") + ":" + std::string(text) + "\r\n");
}

void Link::Login() {
    rxBuffer_.Clear();
    window_.KillTimer(kHandshakeTimer);
    SendDirect(model::kLoginText);
    expectedReply_ = ReplyTo(model::JobKind::kLogin);
    WaitForAnswer("NoAnswerLogin");
}

void Link::SetTime() {
    const std::string clock = MakeClockText(static_cast<long long>(std::time(nullptr)));
    QueueJob(model::JobKind::kWriteParam, model::ClockLine(clock));
}

}  // namespace devlink
