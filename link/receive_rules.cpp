// The receive handler: what the text received so far means for the exchange in progress.
#include <algorithm>
#include <initializer_list>

#include "link/button_state.h"
#include "link/link.h"
#include "link/messages.h"

namespace devlink {

namespace {

constexpr std::string_view kApnLabel = "Access Point Name:";
constexpr std::string_view kCdmaLabel = "Whether module using CDMA mode:";

bool HasReportLabel(const ReceiveText& rx) {
    return rx.Contains(kApnLabel) || rx.Contains(kCdmaLabel);
}
bool Ok(const ReceiveText& rx) {
    return rx.Contains("OK");
}
bool Error(const ReceiveText& rx) {
    return rx.Contains("ERROR\r\n");
}
bool OkOrError(const ReceiveText& rx) {
    return Ok(rx) || Error(rx);
}
bool EnterSetting(const ReceiveText& rx) {
    return rx.Contains("enter setting!");
}
bool Report(const ReceiveText& rx) {
    return HasReportLabel(rx) && Ok(rx);
}
bool ErrorWithoutReport(const ReceiveText& rx) {
    return !HasReportLabel(rx) && Error(rx);
}

struct Actions {
    static void Signal(Link& l) { l.replyEvent.Set(); }
    static void Idle(Link& l) { l.expectedReply = kNoReply; }
    static void PostLoggedIn(Link& l) { l.window.PostMessage(UM_BUTTON_STATE, 1, kLoginGroup); }
    static void PostLoggedOut(Link& l) { l.window.PostMessage(UM_BUTTON_STATE, 0, kLoginGroup); }
};

using Action = void (*)(Link&);

struct ReplyRule {
    std::initializer_list<int> states;
    bool (*test)(const ReceiveText&);
    std::initializer_list<Action> actions;
};

// For each exchange state the first row whose test holds runs its actions in order; a state
// whose tests all fail stays, and the next chunk is tested against the grown text.
const ReplyRule kReplyRules[] = {
    {{0},
     EnterSetting,
     {[](Link& l) { l.window.KillTimer(kHandshakeTimer); }, [](Link& l) { l.rxBuffer.Clear(); },
      Actions::PostLoggedIn, Actions::Idle}},
    {{1}, Report, {Actions::Signal, Actions::Idle}},
    {{2, 9, 10, 15}, OkOrError, {Actions::Signal, Actions::Idle}},
    {{3}, EnterSetting, {Actions::Idle, Actions::PostLoggedIn, Actions::Signal}},
    {{3}, Error, {Actions::Signal, Actions::Idle}},
    {{4},
     Ok,
     {Actions::Signal, [](Link& l) { l.QueueJob(model::kReadReport, "\r\nAT+SHOW\r\n"); },
      Actions::Idle}},
    {{4}, Error, {Actions::Signal, Actions::Idle}},
    {{5, 6}, Report, {Actions::Signal, Actions::Idle}},
    {{5, 6}, ErrorWithoutReport, {Actions::Idle}},
    {{7}, Ok, {Actions::Signal, Actions::PostLoggedOut, Actions::Idle}},
    {{8}, Ok, {Actions::Signal, Actions::Idle}},
    {{11}, Ok, {Actions::Idle, Actions::Signal}},
    {{11},
     Error,
     {Actions::Signal, [](Link& l) { l.QueueJob(model::kSignalAgain, "At+CSQ\r\n"); },
      Actions::Idle}},
    {{12, 13}, Ok, {Actions::Idle, Actions::Signal}},
    {{12, 13}, Error, {Actions::Signal, Actions::Idle}},
};

}  // namespace

void Link::ApplyReplyRules() {
    const int state = expectedReply;
    for (const ReplyRule& rule : kReplyRules) {
        if (std::find(rule.states.begin(), rule.states.end(), state) == rule.states.end()) continue;
        if (!rule.test(rxBuffer)) continue;
        for (Action act : rule.actions) act(*this);
        return;
    }
}

void Link::OnReceived(std::string_view chunk) {
    if (chunk.empty()) return;
    // While the link is idle, what arrives is kept but not shown.
    if (expectedReply != kNoReply) host.PostLogText(chunk.substr(0, chunk.find('\0')));
    rxBuffer.Append(chunk);
    ApplyReplyRules();
    if (rxBuffer.Contains("Seting Timeout and quit")) {
        window.PostMessage(UM_BUTTON_STATE, 0, kLoginGroup);
    } else if (rxBuffer.Contains("'s' key") && !loggedIn) {
        // The unit is starting: ask it into configuration mode while its prompt lasts.
        expectedReply = kHandshake;
        window.SetTimer(kHandshakeTimer, kHandshakePeriodMs);
        rxBuffer.Clear();
    }
}

}  // namespace devlink
