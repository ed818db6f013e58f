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
    static void PostLoggedIn(Link& l) { l.window_.PostMessage(UM_BUTTON_STATE, 1, kLoginGroup); }
    static void PostLoggedOut(Link& l) { l.window_.PostMessage(UM_BUTTON_STATE, 0, kLoginGroup); }
    static void StopHandshake(Link& l) { l.window_.KillTimer(kHandshakeTimer); }
    static void ClearText(Link& l) { l.rxBuffer_.Clear(); }
    static void ReadReportAgain(Link& l) { l.QueueJob(model::kReadReport, model::kReportLine); }
    static void AskSignalAgain(Link& l) { l.QueueJob(model::kSignalAgain, model::kSignalLine); }
};

namespace {

using A = ReplyActions;
using Action = void (*)(Link&);

struct ReplyRule {
    std::initializer_list<int> states;
    bool (*test)(const ReceiveText&);
    std::initializer_list<Action> actions;
};

using namespace model;

// For each exchange state the first row whose test holds runs its actions in order; a state
// whose tests all fail stays, and the next chunk is tested against the grown text.
const ReplyRule kReplyRules[] = {
    {{kHandshake}, EnterSetting, {A::StopHandshake, A::ClearText, A::PostLoggedIn, A::Idle}},
    {{kReadReport}, Report, {A::Signal, A::Idle}},
    {{kWriteParam, kVersion, kSim, kCommandButton}, OkOrError, {A::Signal, A::Idle}},
    {{kLoginKind}, EnterSetting, {A::Idle, A::PostLoggedIn, A::Signal}},
    {{kLoginKind}, Error, {A::Signal, A::Idle}},
    {{kFactory}, Ok, {A::Signal, A::ReadReportAgain, A::Idle}},
    {{kFactory}, Error, {A::Signal, A::Idle}},
    {{kSaveToFile, kLoadFromFile}, Report, {A::Signal, A::Idle}},
    {{kSaveToFile, kLoadFromFile}, ErrorWithoutReport, {A::Idle}},
    {{kQuit}, Ok, {A::Signal, A::PostLoggedOut, A::Idle}},
    {{kNetMode}, Ok, {A::Signal, A::Idle}},
    {{kSignal}, Ok, {A::Idle, A::Signal}},
    {{kSignal}, Error, {A::Signal, A::AskSignalAgain, A::Idle}},
    {{kSignalAgain, kReadLog}, Ok, {A::Idle, A::Signal}},
    {{kSignalAgain, kReadLog}, Error, {A::Signal, A::Idle}},
};

}  // namespace

void Link::ApplyReplyRules() {
    const int state = expectedReply_;
    for (const ReplyRule& rule : kReplyRules) {
        if (std::find(rule.states.begin(), rule.states.end(), state) == rule.states.end()) continue;
        if (!rule.test(rxBuffer_)) continue;
        for (Action act : rule.actions) act(*this);
        return;
    }
}

void Link::OnReceived(std::string_view chunk) {
    if (chunk.empty()) return;
    // While the link is idle, what arrives is kept but not shown.
    if (expectedReply_ != kNoReply) host_.PostLogText(chunk.substr(0, chunk.find('\0')));
    rxBuffer_.Append(chunk);
    ProgressOnReceived();
    ApplyReplyRules();
    if (rxBuffer_.Contains("Seting Timeout and quit")) {
        window_.PostMessage(UM_BUTTON_STATE, 0, kLoginGroup);
    } else if (rxBuffer_.Contains("'s' key") && !loggedIn_) {
        // The unit is starting: ask it into configuration mode while its prompt lasts.
        expectedReply_ = kHandshake;
        window_.SetTimer(kHandshakeTimer, kHandshakePeriodMs);
        rxBuffer_.Clear();
    }
}

}  // namespace devlink
