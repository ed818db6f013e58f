// Fuzz target: the receive handler. Chunks of random bytes reach a link through the message
// the port posts, in any exchange state, and the receive text, the exchange state, the reply
// event, the queued jobs, the logged-in flag and the log echo are checked against a model of
// their own: results are read by whole lines. No port is opened and no worker runs.
//
// Input: a state byte (0 to 17 give -1 to 16, 255 and four bytes any int, others 17 to 253),
// a flags byte (bit 0: logged in), then chunks: two header bytes (bits 0-11 the length,
// bits 12-14 the repeat count less one, bit 15 a chunk of a port closed since) and the bytes.
#include <cstring>
#include <string>

#include "fuzz/fuzz_util.h"
#include "link/host_window_for_test.h"
#include "link/messages.h"
#include "ui/headless_loop.h"

namespace {

using fuzz::Check;
using fuzz::Has;

// The exchange states as numbers (LinkTestAccess::ExchangeState): idle, the handshake; the
// others are the job kinds.
constexpr int kIdle = -1;
constexpr int kHandshake = 0;

/// What the text means to an exchange: whether it ends it, wakes the worker, queues a job of
/// another kind (0: none) and says the unit logged in (1) or out (0), or neither (-1).
struct Outcome {
    bool ends = false, signals = false;
    int queued = 0, login = -1;
};

/// The first result among the whole lines (those that have their LF) starting at or after
/// `from`: 'O' for "OK", 'E' for "ERROR", each with any CRs around it; 0 when none. With
/// `okOnly`, "ERROR" lines are passed over.
char FirstResult(std::string_view text, std::size_t from = 0, bool okOnly = false) {
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != text.npos; start = end + 1) {
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && line.front() == '\r') line.remove_prefix(1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (start >= from && line == "OK") return 'O';
        if (start >= from && line == "ERROR" && !okOnly) return 'E';
    }
    return 0;
}

Outcome Expected(int state, std::string_view text) {
    const char first = FirstResult(text);
    const bool ok = first == 'O', error = first == 'E', answered = first != 0;
    const bool setting = Has(text, "enter setting!");
    // A report ends on the first "OK" line from its listing's first label on; without a
    // listing an "ERROR" line refuses it.
    std::size_t label = text.find("Access Point Name:");
    if (label == text.npos) label = text.find("Whether module using CDMA mode:");
    const bool report = label != text.npos && FirstResult(text, label, true) == 'O';
    const bool refused = label == text.npos && error;
    if (state == 0) return {setting, false, 0, setting ? 1 : -1};
    if (state == 1 || state == 16)
        return {report, report};  // a report read, or the check of a unit
    if (state == 3) return {setting || error, setting || error, 0, setting ? 1 : -1};
    if (state == 4) return {answered, answered, ok ? 1 : 0};
    if (state == 5 || state == 6) return {report || refused, report};
    if (state == 7) return {ok, ok, 0, ok ? 0 : -1};
    if (state == 8) return {ok, ok};
    if (state == 11) return {answered, answered, error ? 12 : 0};
    for (int s : {2, 9, 10, 12, 13, 15}) {
        if (state == s) return {answered, answered};
    }
    return {};  // -1, 14 and any other state: nothing is awaited
}

int TakeState(std::string_view& in) {
    const auto first = static_cast<std::uint8_t>(in.front());
    in.remove_prefix(1);
    if (first != 0xFF || in.size() < 4) return first - 1;
    std::int32_t state;
    std::memcpy(&state, in.data(), sizeof state);
    in.remove_prefix(sizeof state);
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in = fuzz::Text(data, size);
    if (in.size() < 2) return 0;
    ui::ManualClock clock;
    devlink::testing::HostWindow window(clock);
    ui::HeadlessLoop loop(window);
    devlink::Link& link = window.link;
    using Access = devlink::LinkTestAccess;
    Access::SetExchangeState(link, TakeState(in));
    Access::LoggedIn(link) = !in.empty() && (in.front() & 1);
    if (!in.empty()) in.remove_prefix(1);

    std::string text;  // what the receive text must hold
    std::string log;   // what the log view must have been handed
    while (in.size() >= 2) {
        const auto low = static_cast<std::uint8_t>(in[0]), high = static_cast<std::uint8_t>(in[1]);
        in.remove_prefix(2);
        const std::string_view bytes = in.substr(0, low | (high & 0x0F) << 8);
        in.remove_prefix(bytes.size());
        std::string chunk;
        for (int i = 0; i <= ((high >> 4) & 7); ++i) chunk.append(bytes);
        const bool stale = high & 0x80;  // a chunk of a port closed since

        const int state = Access::ExchangeState(link);
        const bool loggedIn = Access::LoggedIn(link);
        const std::size_t jobs = link.QueuedJobs();
        Access::ReplyEvent(link).Reset();
        devlink::SerialDataMsg::Post(window, Access::Port(link).Generation() + (stale ? 1 : 0),
                                     chunk);
        clock.Advance(devlink::kHandshakePeriodMs);  // a handshake tick, if one is due
        loop.RunUntilIdle();

        Outcome out;
        bool restarted = false;
        int after = state;
        int login = loggedIn ? 1 : 0;
        if (!stale && !chunk.empty()) {
            if (state != kIdle) log.append(chunk.substr(0, chunk.find('\0')));
            for (char& c : chunk) c = c == '\0' ? ' ' : c;
            text.append(chunk);
            if (text.size() > 16000) text.erase(0, text.size() - 16000);
            out = Expected(state, text);
            if (out.ends) after = kIdle;
            if (out.login >= 0) login = out.login;
            if (state == kHandshake && out.ends) text.clear();
            // A report's values may hold any words; otherwise the start prompt means the unit
            // is starting, or restarted when it was logged in.
            const bool reportAwaited = after == 1 || after == 5 || after == 6 || after == 16;
            if (Has(text, "Seting Timeout and quit")) {
                if (loggedIn) log.append("IdleLogout\r\n");  // the notice, once per login
                login = 0;
            } else if (Has(text, "'s' key") && !reportAwaited) {
                if (loggedIn) {
                    log.append("\r\nRestartedIdle\r\n");  // nothing was being written
                    login = out.login == 1 ? 1 : 0;  // logged out now; a posted login comes after
                    restarted = true;  // what was queued for the unit before is dropped
                }
                after = kHandshake;  // the handshake begins again
                text.clear();
            }
        }
        const std::string_view rx = link.ReceivedText();
        Check(Access::Received(link).CStr()[rx.size()] == '\0',
              "the receive text is not zero-terminated");
        // The model's text holds no zero byte and at most 16000 bytes: so must the link's.
        Check(rx == text, "the receive text is not the newest bytes since its last clearing");
        Check(Access::ExchangeState(link) == after,
              "the exchange state is not what the reply makes it");
        Check(Access::ReplyEvent(link).IsSet() == out.signals,
              "the reply event does not follow the reply");
        Check(link.QueuedJobs() == (restarted ? 0 : jobs + (out.queued ? 1 : 0)),
              "a job was queued or not");
        if (out.queued && !restarted) {
            Check(static_cast<int>(link.PendingJobs().back().jobKind) == out.queued,
                  "the wrong job was queued");
        }
        Check(link.LoggedIn() == (login == 1), "the logged-in flag does not follow the unit");
        Check(window.log == log, "the log echo is not the chunks up to their first zero byte");
        Check(!link.PortOpen(), "a port was opened");
    }
    return 0;
}
