// The receive handler: what the text received so far means for the exchange in progress.
#include <algorithm>
#include <initializer_list>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"
#include "link/reply_lines.h"
#include "model/unit_lines.h"

namespace devlink {

namespace {

// Results are read by whole lines: "OK" inside a value, a header or a domain name is no
// answer, and a result whose line end is still on its way is waited for.
bool Ok(const ReceiveText& rx) {
    return FirstResultLine(rx.View()) == ResultLine::kOk;
}
bool Error(const ReceiveText& rx) {
    return FirstResultLine(rx.View()) == ResultLine::kError;
}
bool OkOrError(const ReceiveText& rx) {
    return FirstResultLine(rx.View()) != ResultLine::kNone;
}
bool EnterSetting(const ReceiveText& rx) {
    return rx.Contains("enter setting!");
}
/// The listing and the "OK" line after it: a report ends only there.
bool Report(const ReceiveText& rx) {
    return ReportResult(rx.View()) == ResultLine::kOk;
}
bool ErrorWithoutReport(const ReceiveText& rx) {
    return ReportResult(rx.View()) == ResultLine::kError;
}

}  // namespace

// What a recognised reply does; friends of the link.
struct ReplyActions {
    static void Signal(Link& l) { l.replyEvent_.Set(); }
    static void Idle(Link& l) { l.expectedReply_ = kNoReply; }
    // Posted: the login changes after what the window has been handed before it.
    static void PostLoggedIn(Link& l) { ButtonStateMsg::Post(l.window_, true, kLoginGroup); }
    static void PostLoggedOut(Link& l) { ButtonStateMsg::Post(l.window_, false, kLoginGroup); }
    static void StopHandshake(Link& l) { l.window_.KillTimer(kHandshakeTimer); }
    static void ClearText(Link& l) { l.rxBuffer_.Clear(); }
    static void ReadReportAgain(Link& l) {
        l.QueueJob(model::JobKind::kReadReport, model::kReportLine);
    }
    static void AskSignalAgain(Link& l) {
        l.QueueJob(model::JobKind::kSignalAgain, model::kSignalLine);
    }
};

namespace {

using A = ReplyActions;
using Action = void (*)(Link&);

struct ReplyRule {
    std::initializer_list<ExpectedReply> states;
    bool (*test)(const ReceiveText&);
    std::initializer_list<Action> actions;
};

using K = model::JobKind;
constexpr ExpectedReply R(K kind) {
    return ReplyTo(kind);
}

// For each exchange state the first row whose test holds runs its actions in order; a state
// whose tests all fail stays, and the next chunk is tested against the grown text.
const ReplyRule kReplyRules[] = {
    {{kHandshakeReply}, EnterSetting, {A::StopHandshake, A::ClearText, A::PostLoggedIn, A::Idle}},
    {{R(K::kReadReport), R(K::kIdentify)}, Report, {A::Signal, A::Idle}},
    {{R(K::kWriteParam), R(K::kVersion), R(K::kSim), R(K::kCommandButton)},
     OkOrError,
     {A::Signal, A::Idle}},
    {{R(K::kLogin)}, EnterSetting, {A::Idle, A::PostLoggedIn, A::Signal}},
    {{R(K::kLogin)}, Error, {A::Signal, A::Idle}},
    {{R(K::kFactory)}, Ok, {A::Signal, A::ReadReportAgain, A::Idle}},
    {{R(K::kFactory)}, Error, {A::Signal, A::Idle}},
    {{R(K::kSaveToFile), R(K::kLoadFromFile)}, Report, {A::Signal, A::Idle}},
    {{R(K::kSaveToFile), R(K::kLoadFromFile)}, ErrorWithoutReport, {A::Idle}},
    {{R(K::kQuit)}, Ok, {A::Signal, A::PostLoggedOut, A::Idle}},
    {{R(K::kNetMode)}, Ok, {A::Signal, A::Idle}},
    {{R(K::kSignal)}, Ok, {A::Idle, A::Signal}},
    {{R(K::kSignal)}, Error, {A::Signal, A::AskSignalAgain, A::Idle}},
    {{R(K::kSignalAgain), R(K::kReadLog)}, Ok, {A::Idle, A::Signal}},
    {{R(K::kSignalAgain), R(K::kReadLog)}, Error, {A::Signal, A::Idle}},
};

}  // namespace

void Link::ApplyReplyRules() {
    const ExpectedReply state = expectedReply_;
    for (const ReplyRule& rule : kReplyRules) {
        if (std::find(rule.states.begin(), rule.states.end(), state) == rule.states.end()) continue;
        if (!rule.test(rxBuffer_)) continue;
        for (Action act : rule.actions) act(*this);
        return;
    }
}

bool Link::ReportAwaited() const {
    // A report's values may hold any text, the start prompt's words among them.
    return expectedReply_.exchange == Exchange::kReply &&
           model::IsReportRequest(expectedReply_.job);
}

void Link::OnReceived(std::string_view chunk) {
    if (chunk.empty()) return;
    // While the link is idle, what arrives is kept but not shown.
    if (expectedReply_ != kNoReply) host_.PostLogText(chunk.substr(0, chunk.find('\0')));
    rxBuffer_.Append(chunk);
    ProgressOnReceived();
    ApplyReplyRules();
    if (rxBuffer_.Contains("Seting Timeout and quit")) {
        // Said once, after the unit's own line: the login ends here, not when the posted state
        // arrives, so the next chunk finds it ended.
        if (loggedIn_) host_.PostLogText(Text("OnStartCom", "IdleLogout", "\r\n"));
        loggedIn_ = false;
        ButtonStateMsg::Post(window_, false, kLoginGroup);
    } else if (rxBuffer_.Contains("'s' key") && !ReportAwaited()) {
        // The unit is starting (again, when it was logged in: it restarted, and the writes
        // not acknowledged wait for it): ask it into configuration mode while its prompt lasts.
        if (loggedIn_) OnUnitRestarted();
        expectedReply_ = kHandshakeReply;
        window_.SetTimer(kHandshakeTimer, kHandshakePeriodMs);
        rxBuffer_.Clear();
    }
}

}  // namespace devlink
