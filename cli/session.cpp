#include "cli/session.h"

#include <algorithm>
#include <cstring>
#include <ostream>

#include "app/startup.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "link/messages.h"
#include "model/command_builder.h"
#include "platform/program_folder.h"
#include "ui/controls.h"

namespace cli {

namespace {

/// How long the unit may take to answer "+++" when the handshake went unanswered.
constexpr ui::Millis kLoginReplyMs = 5000;
/// No sign of life from the worker or the port for this long (times the time-out factor)
/// means the worker is stuck: longer than any job may wait for its reply.
constexpr ui::Millis kStallMs = 24000 + 10000;
/// How often a wait looks at the watchdog and refreshes the progress line.
constexpr ui::Millis kWaitSliceMs = 250;

/// Selects the item of `list` whose text is `text`; false when there is none.
bool SelectItemText(ui::Combo& list, const std::string& text) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetItemText(i) == text) {
            list.SelectItem(i);
            return true;
        }
    }
    return false;
}

std::string ItemTexts(const ui::Combo& list) {
    std::string texts;
    for (int i = 0; i < list.GetCount(); ++i) texts += (i ? ", " : "") + list.GetItemText(i);
    return texts;
}

/// The log's new text as one line: its lines joined by blanks.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\r') continue;
        line += c == '\n' ? ' ' : c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

Session::Session(SessionSettings settings, std::ostream& err)
    : settings_(std::move(settings)),
      err_(err),
      dialogs_(err),
      progress_(err, settings_.progress && !settings_.verbose) {}

Session::~Session() {
    progress_.Clear();
}

bool Session::Create(std::string& error) {
    app::FrameSettings frameSettings = settings_.frame;
    frameSettings.programPath = platform::ProgramPath();
    if (!settings_.port.empty()) frameSettings.extraPorts = {settings_.port};
    frame_ =
        app::MakeFrame(Clock(), dialogs_, frameSettings, error, [this](app::CK4X30FrameWnd& f) {
            f.AddObserver(&recorder_);
            loop_ = std::make_unique<ui::HeadlessLoop>(f);
        });
    if (!frame_) {
        loop_.reset();
        return false;
    }
    if (settings_.verbose) {
        recorder_.SetLogEcho([this](std::string_view text) {
            // The log holds the unit's replies as received: shown, never obeyed.
            std::string shown(text);
            std::erase(shown, '\r');
            err_ << Printable(shown) << std::flush;
        });
    }
    // No one to ask: the writes are resumed on the same unit, within the time allowed.
    frame_->link.SetReconnectPolicy(
        {static_cast<ui::Millis>(settings_.reconnectSeconds * 1000), true});
    if (!frame_->link.StartWorker()) {
        error = frame_->LoadText("WinMain", "WorkThread");
        return false;
    }
    loop_->RunUntilIdle();
    return true;
}

int Session::SelectConnection() {
    auto* port = frame_->paintManager.Find<ui::Combo>("SerialPort");
    auto* baud = frame_->paintManager.Find<ui::Combo>("BaudRate1");
    auto* format = frame_->paintManager.Find<ui::Combo>("Checkcode");
    if (!port || !baud || !format) {
        err_ << "dtucfg: the skin has no port, speed or format list\n";
        return kExitInternal;
    }
    if (!SelectItemText(*port, settings_.port)) {
        port->AddItem(settings_.port);
        port->SelectItem(port->GetCount() - 1);
    }
    if (!SelectItemText(*baud, std::to_string(settings_.baud))) {
        err_ << "dtucfg: --baud " << settings_.baud << " is not offered; choose one of "
             << Printable(ItemTexts(*baud)) << "\n";
        return kExitUsage;
    }
    if (!SelectItemText(*format, settings_.format)) {
        err_ << "dtucfg: --format " << Printable(settings_.format)
             << " is not offered; choose one of " << Printable(ItemTexts(*format)) << "\n";
        return kExitUsage;
    }
    Settle();
    return kExitOk;
}

int Session::OpenAndLogIn() {
    if (const int selected = SelectConnection(); selected != kExitOk) return selected;
    const Mark mark = MarkNow();
    if (!ClickNow("Open")) return kExitInternal;
    Settle();
    if (!frame_->link.PortOpen()) {
        err_ << "dtucfg: " << Printable(settings_.port) << ": "
             << Printable(OneLine(std::string_view(recorder_.LogText()).substr(mark.log)));
        if (const int cause = frame_->link.LastOpenError(); cause != 0) {
            err_ << " (" << std::strerror(cause) << ")";
        }
        err_ << "\n";
        return kExitPort;
    }
    if (WaitForLogin(settings_.loginWaitSeconds)) return kExitOk;
    // No "enter setting!" to the handshake: the unit is running; "+++" asks it in.
    if (ClickNow("Login") &&
        WaitForLogin(std::max(settings_.loginWaitSeconds, kLoginReplyMs / 1000.0))) {
        return kExitOk;
    }
    err_ << "dtucfg: " << Printable(settings_.port)
         << ": the unit did not enter configuration mode\n";
    return kExitLogin;
}

bool Session::WaitForLogin(double seconds) {
    const auto ms = static_cast<ui::Millis>(seconds * 1000);
    progress_.Show("waiting for the unit to enter configuration mode");
    const bool in = loop_->RunUntil([this] { return frame_->link.LoggedIn(); }, ms);
    progress_.Clear();
    Settle();
    return in;
}

void Session::Close() {
    if (frame_ && frame_->link.PortOpen()) {
        ClickNow("Open");
        Settle();
    }
}

bool Session::ClickNow(std::string_view name) {
    auto* button = frame_->paintManager.Find<ui::Button>(name);
    if (!button || !button->IsEnabled()) return false;
    button->Activate();
    return true;
}

int Session::ClickAndWait(std::string_view button) {
    const std::uint64_t idleMark = recorder_.IdleReports();
    const Mark mark = MarkNow();
    const bool clicked = ClickNow(button);
    if (!clicked) {
        err_ << "dtucfg: \"" << button << "\" cannot be used: not in configuration mode\n";
        return kExitLogin;
    }
    return WaitUntilIdle(idleMark, mark);
}

int Session::FileActionAndWait(std::string_view button, const std::string& path) {
    dialogs_.SetFilePath(path);
    const std::uint64_t idleMark = recorder_.IdleReports();
    const Mark mark = MarkNow();
    if (!ClickNow(button)) {
        err_ << "dtucfg: \"" << button << "\" cannot be used: not in configuration mode\n";
        return kExitLogin;
    }
    // A file that cannot be read queues nothing: its failure ends the wait.
    return WaitUntilIdle(idleMark, mark);
}

int Session::SendCommandAndWait(const std::string& line) {
    ui::Button command;  // as the form's buttons named after a command
    command.SetName(line);
    const std::uint64_t idleMark = recorder_.IdleReports();
    const Mark mark = MarkNow();
    ui::TNotifyUI click{"click", &command};
    frame_->Notify(click);
    return WaitUntilIdle(idleMark, mark);
}

int Session::FocusAndWait(std::string_view name) {
    ui::Control* control = frame_->paintManager.FindControl(name);
    if (!control) return kExitInternal;
    const std::uint64_t idleMark = recorder_.IdleReports();
    const Mark mark = MarkNow();
    frame_->paintManager.SetFocus(control);
    const int result = WaitUntilIdle(idleMark, mark);
    frame_->paintManager.SetFocus(nullptr);
    return result;
}

int Session::Load() {
    const int parsedBefore = recorder_.ReportsParsed();
    if (const int result = ClickAndWait("Load"); result != kExitOk) return result;
    Settle();
    if (recorder_.ReportsParsed() == parsedBefore) {
        err_ << "dtucfg: " << Printable(settings_.port) << ": no complete report was received\n";
        return kExitTimeout;
    }
    return kExitOk;
}

int Session::WaitUntilIdle(std::uint64_t idleMark, const Mark& mark) {
    const int lossesBefore = recorder_.PortLosses();
    const size_t talliesBefore = recorder_.Tallies().size();
    const auto lost = [&] { return recorder_.PortLosses() > lossesBefore; };
    const auto done = [&] {
        ShowProgress();
        // Kept writes are waited for until resumed or given up (the link's own limit).
        const bool idle = recorder_.IdleReports() > idleMark && !frame_->link.Resuming();
        return idle || recorder_.FileFailures().size() > mark.fileFailures || lost();
    };
    const ui::Millis stallLimit = kStallMs * std::max(1, frame_->link.TimeoutFactor());
    std::uint64_t activity = recorder_.Activity();
    ui::Millis lastSign = Clock().Now();
    while (!loop_->RunUntil(done, kWaitSliceMs)) {
        const ui::Millis now = Clock().Now();
        // A link waiting for its unit to come back is alive: its own limit ends the wait.
        if (recorder_.Activity() != activity || frame_->link.Resuming()) {
            activity = recorder_.Activity();
            lastSign = now;
        } else if (now - lastSign > stallLimit) {
            progress_.Clear();
            err_ << "dtucfg: the worker stopped without finishing its jobs\n";
            return kExitTimeout;
        }
    }
    progress_.Clear();
    Settle();
    PrintSummaries(talliesBefore);
    if (!lost()) return kExitOk;
    // The job in progress waits for an answer that cannot come: end the run now.
    for (const model::WorkerJob& job : recorder_.DroppedAtLoss()) {
        err_ << "dtucfg: not sent: " << Printable(OneLine(job.line)) << "\n";
    }
    return kExitPort;
}

void Session::ShowProgress() {
    // The counts of the window's progress bar.
    const devlink::JobProgress& p = recorder_.Progress();
    const JobRecord* running = recorder_.RunningJob();
    if (!p.active || !running) return;
    if (model::IsReportRequest(running->job.jobKind)) {
        progress_.Show("receiving the report: " + std::to_string(p.value) + " of about " +
                       std::to_string(p.maximum) + " bytes");
    } else {
        progress_.Show("writing " + std::to_string(p.value) + " of " + std::to_string(p.maximum));
    }
}

void Session::PrintSummaries(size_t from) {
    const auto& tallies = recorder_.Tallies();
    for (size_t i = from; i < tallies.size(); ++i) {
        const devlink::WriteTally& t = tallies[i];
        err_ << "dtucfg: " << t.acknowledged << " of " << t.Total() << " writes acknowledged";
        for (const auto& [label, names] : {std::pair{"; answered ERROR: ", &t.refused},
                                           std::pair{"; not answered: ", &t.notAnswered},
                                           std::pair{"; not sent: ", &t.notSent}}) {
            for (size_t n = 0; n < names->size(); ++n) {
                err_ << (n ? ", " : label) << Printable((*names)[n]);
            }
        }
        err_ << "\n";
    }
}

void Session::TypeText(ui::Control& field, const std::string& text) {
    frame_->paintManager.SetFocus(&field);
    field.SetText(text);
    frame_->paintManager.SetFocus(nullptr);
}

void Session::Settle() {
    loop_->RunUntilIdle();
}

WritePreview Session::PreviewSave(const std::set<std::string>* onlyRows) {
    WritePreview preview;
    app::CK4X30FrameWnd& f = *frame_;
    model::BuildContext ctx{f.paintManager,
                            f.catalogue,
                            f.pages,
                            f.texts,
                            [&](std::string_view text) { preview.notices.append(text); },
                            {}};
    ctx.onlyRows = onlyRows;
    model::BuildWriteJobs(ctx);
    preview.jobs = std::move(ctx.planned);
    preview.refusals = std::move(ctx.refusals);
    return preview;
}

int Session::RunAndWait(const std::function<void()>& action) {
    const std::uint64_t idleMark = recorder_.IdleReports();
    const Mark mark = MarkNow();
    action();
    return WaitUntilIdle(idleMark, mark);
}

const ui::Combo* Session::OtherSkinList(std::string_view name) {
    if (!otherSkinTried_) {
        otherSkinTried_ = true;
        app::FrameSettings settings = settings_.frame;
        settings.languageCode = settings.languageCode == 0 ? 1 : 0;
        const std::string current = ui::PaintManager::GetResourcePath();
        std::string error;
        otherSkin_ = app::MakeFrame(Clock(), dialogs_, settings, error);
        ui::PaintManager::SetResourcePath(current);  // the window's skin stays the current one
    }
    return otherSkin_ ? otherSkin_->paintManager.Find<ui::Combo>(name) : nullptr;
}

Mark Session::MarkNow() const {
    return Mark{recorder_.Jobs().size(), recorder_.LogText().size(), recorder_.Refusals().size(),
                recorder_.FileFailures().size(), recorder_.PortLosses()};
}

std::string Session::Notice(std::string_view section, std::string_view key) const {
    const std::string text = frame_->LoadText(section, key);
    return text.empty() ? std::string() : text + "\r\n";
}

}  // namespace cli
