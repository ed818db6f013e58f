// Writes that a lost port or a restarted unit left unacknowledged are kept, not dropped: the
// link waits for the same adapter (its stable name, or the path opened), opens it again with
// the same settings, logs in, reads the report to check that the same unit answers, and then
// resumes them (asking the user first in the window). A write is never sent again once its
// "OK" was received; the one in flight when the line went away is sent again.
#include <unistd.h>

#include <algorithm>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"
#include "link/worker.h"
#include "model/unit_lines.h"
#include "platform/text.h"
#include "ui/controls.h"

namespace devlink {

namespace {

/// After the port is open again, the unit has this long to show its start prompt before the
/// link logs in with "+++" (a unit that kept its power stays in its mode).
constexpr ui::Millis kPromptWaitMs = 1000;
/// A unit that restarted must be back in configuration mode within this time when the
/// policy does not wait for a lost port.
constexpr ui::Millis kRestartLoginLimitMs = 30000;

bool IsWrite(const model::WorkerJob& job) {
    return job.jobKind == model::JobKind::kWriteParam;
}

std::string Names(const std::vector<model::WorkerJob>& jobs) {
    std::string text;
    for (const model::WorkerJob& job : jobs) {
        const std::string name =
            job.paramName.empty() ? std::string(platform::Trim(job.line, "\r\n")) : job.paramName;
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

}  // namespace

std::string Link::ResumeText(std::string_view key) const {
    std::string text = Text("Resume", key);
    const std::pair<std::string_view, std::string> tokens[] = {
        {"{count}", std::to_string(kept_.size())},
        {"{id}", keptFor_.deviceId},
        {"{port}", reopenPath_},
        {"{names}", Names(kept_)},
    };
    for (const auto& [token, value] : tokens) {
        // Every place, and past what was put in: a unit's value may itself look like a token.
        for (size_t at = text.find(token); at != std::string::npos;
             at = text.find(token, at + value.size())) {
            text.replace(at, token.size(), value);
        }
    }
    return text;
}

void Link::KeepUnacknowledged() {
    if (kept_.empty()) keptFor_ = unitIdentity_;
    std::vector<model::WorkerJob> kept;
    if (inFlight_ && !inFlightAbandoned_) {
        // Its answer cannot come: the worker stops waiting, and its end counts nowhere (a
        // write is kept and sent again, anything else is asked again by what follows).
        inFlightAbandoned_ = true;
        replyEvent_.Set();
        if (IsWrite(*inFlight_)) {
            kept.push_back(*inFlight_);
            sentKeptLine_ = inFlight_->line;
        }
    }
    for (model::WorkerJob& job : jobQueue_.Clear()) {
        if (IsWrite(job)) kept.push_back(std::move(job));
    }
    kept_.insert(kept_.begin(), kept.begin(), kept.end());
}

void Link::WaitForAdapter() {
    resumeStage_ = ResumeStage::kWaitingForAdapter;
    ports_.SetReopening(true);
    const ui::Millis now = window_.GetClock().Now();
    resumeDeadline_ = policy_.limit > 0 ? now + policy_.limit : 0;
    window_.SetTimer(kReconnectTimer, kReconnectPeriodMs);
    host_.PostLogText(ResumeText("Waiting") + "\r\n");
    ShowResumeState();
}

void Link::OnUnitRestarted() {
    KeepUnacknowledged();
    host_.PostLogText("\r\n" + ResumeText(kept_.empty() ? "RestartedIdle" : "Restarted") + "\r\n");
    SetLoggedIn(false);
    if (kept_.empty()) return;
    resumeStage_ = ResumeStage::kLoggingIn;
    const ui::Millis now = window_.GetClock().Now();
    const ui::Millis limit = policy_.limit == 0 ? kRestartLoginLimitMs : policy_.limit;
    resumeDeadline_ = limit > 0 ? now + limit : 0;
    nextLoginAt_ = now + kPromptWaitMs;
    window_.SetTimer(kReconnectTimer, kReconnectPeriodMs);
}

void Link::OnReconnectTimer() {
    const ui::Millis now = window_.GetClock().Now();
    const bool late = resumeDeadline_ != 0 && now >= resumeDeadline_;
    switch (resumeStage_) {
        case ResumeStage::kWaitingForAdapter:
            if (late) return GiveUpResume("AdapterNotBack");
            // A device just plugged in may refuse a moment (its permissions are being set).
            if (::access(reopenPath_.c_str(), F_OK) != 0) return;
            if (!openedSettings_ || !OpenPort(reopenPath_, *openedSettings_)) return;
            ports_.SetReopening(false);
            ++reconnects_;
            host_.PostLogText(ResumeText("Reconnected") + "\r\n");
            resumeStage_ = ResumeStage::kLoggingIn;
            nextLoginAt_ = now + kPromptWaitMs;
            return;
        case ResumeStage::kLoggingIn:
            if (late) return GiveUpResume("UnitNotBack");
            // No start prompt came, or the handshake went unanswered: the unit is running or
            // still configuring, and "+++" takes it in either way. Asked again until the limit.
            if (!loggedIn_ && now >= nextLoginAt_) {
                Login();
                nextLoginAt_ = now + kAnswerLimitMs;
            }
            return;
        default:
            window_.KillTimer(kReconnectTimer);
    }
}

void Link::AfterLogin() {
    const bool waiting =
        resumeStage_ == ResumeStage::kNone || resumeStage_ == ResumeStage::kLoggingIn;
    if (kept_.empty() || !waiting) return;
    window_.KillTimer(kReconnectTimer);
    resumeStage_ = ResumeStage::kChecking;
    host_.PostLogText(ResumeText("Checking") + "\r\n");
    QueueJob(model::JobKind::kIdentify, model::kReportLine);
}

bool Link::SettleKeptJob(const model::WorkerJob& job, JobOutcome outcome) {
    const bool abandoned = inFlightAbandoned_;
    inFlight_.reset();
    inFlightAbandoned_ = false;
    if (abandoned && outcome != JobOutcome::kAcknowledged) return false;
    if (!IsWrite(job)) return true;
    if (outcome == JobOutcome::kAcknowledged) {
        // Taken (its "OK" may have come just before the line went away): never sent again.
        std::erase_if(kept_, [&](const model::WorkerJob& k) { return k.line == job.line; });
    } else if (outcome == JobOutcome::kTimedOut) {
        // The unit stopped answering: the write waits for the next login to this unit.
        if (kept_.empty()) keptFor_ = unitIdentity_;
        kept_.push_back(job);
    }
    return true;
}

void Link::CheckUnit(JobOutcome outcome) {
    if (resumeStage_ != ResumeStage::kChecking) return;
    const model::UnitIdentity found = model::IdentityOfReport(rxBuffer_.View());
    std::string_view refusal;
    if (outcome != JobOutcome::kAcknowledged || !found.Known()) {
        refusal = "Unreadable";
    } else if (!keptFor_.Known()) {
        refusal = "Unknown";
    } else if (!model::SameUnit(keptFor_, found, kept_)) {
        refusal = "OtherUnit";
    }
    if (refusal.empty()) return ResumeKept();
    std::string notice = ResumeText(refusal);
    notice = platform::ReplaceToken(std::move(notice), "{found}", found.deviceId);
    host_.PostLogText(notice + "\r\n");
    // The window keeps them for the right unit; dtucfg ends its run.
    if (policy_.resumeUnasked) return GiveUpResume({});
    resumeStage_ = ResumeStage::kNone;
}

void Link::ResumeKept() {
    const bool resume =
        policy_.resumeUnasked ||
        host_.ConfirmResume(ResumeText("Offer"), ResumeText("OfferResume"), ResumeText("Later"));
    if (!resume) {
        host_.PostLogText(ResumeText("Declined") + "\r\n");
        TallyNotSent(kept_);
        kept_.clear();
        resumeStage_ = ResumeStage::kNone;
        return;
    }
    host_.PostLogText(ResumeText("Resuming") + "\r\n");
    sentKeptLine_.clear();
    resumeStage_ = ResumeStage::kResuming;
    for (const model::WorkerJob& job : std::exchange(kept_, {})) QueueJob(job);
}

void Link::GiveUpResume(std::string_view noticeKey) {
    window_.KillTimer(kReconnectTimer);
    ports_.SetReopening(false);
    if (!noticeKey.empty()) host_.PostLogText(ResumeText(noticeKey) + "\r\n");
    // The write in flight when the line went away was sent: it was not answered.
    std::vector<model::WorkerJob> dropped;
    for (model::WorkerJob& job : std::exchange(kept_, {})) {
        if (job.line == sentKeptLine_) {
            tally_.notAnswered.push_back(job.paramName);
        } else {
            dropped.push_back(std::move(job));
        }
    }
    sentKeptLine_.clear();
    TallyNotSent(dropped);
    resumeStage_ = ResumeStage::kNone;
    if (!serialPort_.IsOpen()) {
        if (ui::Control* open = host_.Form().FindControl("Open")) {
            open->SetText(Text("OnStartCom", "Open"));
        }
        ButtonStateMsg::Post(window_, false, kConnectionGroup);
    }
    if (QueuedJobs() == 0) ProgressAtIdle();
    Tell([&](LinkObserver& o) { o.PortLost(dropped); });
}

void Link::ShowResumeState() {
    if (resumeStage_ != ResumeStage::kWaitingForAdapter) return;
    if (ui::Control* open = host_.Form().FindControl("Open")) {
        open->SetText(Text("Resume", "Cancel"));
        open->SetEnabled(true);
    }
    if (ui::Control* state = host_.Form().FindControl("DeviceState")) {
        state->SetText(Text("Resume", "State"));
    }
}

}  // namespace devlink
