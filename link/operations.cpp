// The operations the form's buttons start: opening and closing the port, the login, the
// clock, and direct sends.
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"
#include "model/unit_lines.h"
#include "platform/decimal.h"
#include "ui/controls.h"

namespace devlink {

namespace {

constexpr std::uint32_t kWriteBufferSize = 8192;
/// The time limits hold at this line speed and above; slower lines multiply them.
constexpr int kTimeLimitBaudRate = 9600;
/// A character format: data bits, parity, stop bits ("8N1").
constexpr size_t kCharacterFormatSize = 3;

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
    serialPort_.ClosePort();
    if (ui::Control* open = host_.Form().FindControl("Open")) {
        open->SetText(Text("OnStartCom", "Open"));
    }
    host_.AppendLog(Text("OnStartCom", noticeKey, "\r\n"));
    std::vector<model::WorkerJob> dropped = jobQueue_.Clear();
    // The writes that never went out are named in the summary of the work they belonged to.
    TallyNotSent(dropped);
    window_.KillTimer(kHandshakeTimer);
    // Logged out at once, so nothing more goes to a unit that is gone; the controls follow
    // with the posted connection state, after any login notice still on its way.
    loggedIn_ = false;
    ButtonStateMsg::Post(window_, false, kConnectionGroup);
    openedDevice_ = {};
    if (portListDue_) RebuildPortList();
    return dropped;
}

void Link::OnStartCom() {
    ui::PaintManager& form = host_.Form();
    auto* format = form.Find<ui::Combo>("Checkcode");
    auto* baud = form.Find<ui::Combo>("BaudRate1");
    auto* port = form.Find<ui::Combo>("SerialPort");
    ui::Control* open = form.FindControl("Open");
    if (serialPort_.IsOpen()) {
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
    const int baudRate = platform::ReadDecimal(baud->GetText());
    if (!format) return;
    const std::string characterFormat = format->GetText();
    if (baudRate <= 0 || characterFormat.size() < kCharacterFormatSize) {
        // Refused before anything is opened: the time-out factor needs a positive rate and
        // the format needs its three characters.
        host_.AppendLog(Text("OnStartCom", "OpenError", "\r\n"));
        host_.AppendLog(Text("OnStartCom", "BadSettings", "\r\n"));
        return;
    }
    timeoutFactor_ = std::max(1, kTimeLimitBaudRate / baudRate);
    const bool opened = serialPort_.OpenPort(
        &window_, port->GetText(), baudRate, characterFormat[1], characterFormat[0] - '0',
        characterFormat[2] - '0', EV_RXCHAR | EV_CTS, kWriteBufferSize);
    if (!opened) {
        host_.AppendLog(Text("OnStartCom", "OpenError", "\r\n"));
        if (const char* cause = OpenErrorCause(serialPort_.LastOpenError())) {
            host_.AppendLog(Text("OnStartCom", cause, "\r\n"));
        }
        return;
    }
    serialPort_.StartEventThread();
    host_.AppendLog(Text("OnStartCom", "OpenNotice", "\r\n"));
    NoteOpenedDevice(serialPort_.Path());
    if (open) open->SetText(Text("OnStartCom", "Close"));
    window_.SetTimer(kHandshakeTimer, kHandshakePeriodMs);
    ButtonStateMsg::Post(window_, true, kPortGroup);
}

void Link::SendDirect(std::string_view text) {
    serialPort_.WriteNow(text);
    host_.PostLogText(Text("ComSend", "send") + ":" + std::string(text) + "\r\n");
}

void Link::Login() {
    rxBuffer_.Clear();
    window_.KillTimer(kHandshakeTimer);
    SendDirect(model::kLoginText);
    expectedReply_ = ReplyTo(model::JobKind::kLogin);
}

void Link::SetTime() {
    const std::string clock = MakeClockText(static_cast<long long>(std::time(nullptr)));
    QueueJob(model::JobKind::kWriteParam, model::ClockLine(clock));
}

}  // namespace devlink
