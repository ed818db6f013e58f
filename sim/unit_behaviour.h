// What the unit does with the bytes it receives and with the passing of time, without any
// device or thread: the start-up prompt, entering and leaving configuration mode, and the
// answers to the configuration commands. Time is given by the caller, so every rule can be
// driven step by step. Not thread-safe; the owner serialises all calls.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/profiles.h"
#include "sim/unit_state.h"

namespace sim {

using TimePoint = std::chrono::steady_clock::time_point;

/// Where the unit is in its life.
enum class UnitMode {
    kStarting,     ///< start window open: prints the "'s' key" prompt, an "s" enters setting
    kRunning,      ///< passing data: lines are ignored, "+++" enters setting
    kConfiguring,  ///< configuration mode: answers commands
};

/// The durations that drive the unit's timers.
struct UnitTiming {
    std::chrono::milliseconds startWindow{3000};    ///< how long "s" is accepted after power-on
    std::chrono::milliseconds promptInterval{500};  ///< how often the prompt repeats
    std::chrono::milliseconds idleTimeout{60000};   ///< quiet time that ends configuration mode
    /// Above zero: every answer given in configuration mode has the CR LF after its final
    /// "OK" or "ERROR" held back and printed this much later, as a unit that prints a result
    /// and its line end in two writes. Answers after a held line end wait behind it.
    std::chrono::milliseconds lateLineEnd{0};
};

/// A stretch of the unit's output, in order.
struct OutputPiece {
    std::string text;
    /// Starts with a held-back line end (see UnitTiming::lateLineEnd): the line sends it in a
    /// write of its own, after everything before it has gone out.
    bool late = false;
};

class UnitBehaviour {
  public:
    /// A unit of `profile` (which must outlive it) holding its factory report, switched off:
    /// mode kRunning, nothing printed until PowerOn.
    UnitBehaviour(const Profile& profile, UnitTiming timing);

    /// Powers the unit on at `now`: leaves configuration mode, forgets any half-received line,
    /// prints the banner and the prompt and opens the start window.
    void PowerOn(TimePoint now);
    /// Takes bytes from the line at `now`. Every byte is recorded (see Received) and, unless the
    /// unit is silent, acted on.
    void Receive(std::string_view bytes, TimePoint now);
    /// Runs every timer due at `now`: held-back line ends, prompt repeats, the end of the start
    /// window, the idle timeout. Calling it early or twice does no harm.
    void Advance(TimePoint now);
    /// The earliest time at which Advance has something to do; nullopt when no timer runs.
    /// A held-back line end prints at the time it was printed plus UnitTiming::lateLineEnd
    /// (or that long after the held line end it waited behind).
    std::optional<TimePoint> NextDeadline() const;
    /// The text printed since the last call, which is then forgotten.
    std::string TakeOutput();
    /// As TakeOutput, cut before each held-back line end that Advance released.
    std::vector<OutputPiece> TakeOutputPieces();

    /// Where the unit is now.
    UnitMode Mode() const { return mode_; }
    /// A silent unit still records what it receives but acts on nothing and prints nothing.
    void SetSilent(bool silent) { silent_ = silent; }
    /// True while the unit is silent.
    bool Silent() const { return silent_; }
    /// Makes the unit answer "\r\nERROR\r\n" to `command` (matched without regard to case and
    /// to a trailing "?"; "+++" refuses the login while running).
    void Refuse(std::string_view command);
    /// Makes the unit answer "OK" to a write of `command` (matched as Refuse matches) and keep
    /// its old value: a unit that takes a line it does not store.
    void IgnoreWrites(std::string_view command);
    /// Sets the idle time; it counts from the next line received in configuration mode.
    void SetIdleTimeout(std::chrono::milliseconds idle) { timing_.idleTimeout = idle; }
    /// Sets the value the unit shows for `key`, a command or a label (see UnitState::SetValue);
    /// false (and no change) when its report has no such line.
    bool SetValue(std::string_view key, std::string_view value) {
        return state_.SetValue(key, value);
    }
    /// The value the unit shows for `key` (see UnitState::Value), or nullopt.
    std::optional<std::string> Value(std::string_view key) const { return state_.Value(key); }
    /// Removes the report row(s) labelled `label` (see UnitState::DropLine) for good: the row
    /// stays missing after "AT+FACTORY". False (and no change) when the report has no such row.
    bool DropLine(std::string_view label);

    /// Makes the unit vanish as it receives its `count`-th write from now on (0: never; the
    /// count starts again at PowerOn). A write is a line "AT+NAME=VALUE" received in
    /// configuration mode: known or not, refused or not, too long or not; but not the clock
    /// setting "AT+EXCCLK=...", which sets no parameter of the report.
    /// Writes 1 to count-1 are answered as usual; the count-th is not answered. From then on
    /// the unit acts on nothing it receives (it still records it) and its timers stop, but
    /// line ends held back before still print at their time; see Unplugged.
    void UnplugAfterWrites(std::size_t count);
    /// Makes the unit restart as it receives its `count`-th write from now on (0: never),
    /// counted as for UnplugAfterWrites: that write is neither stored nor answered, the banner
    /// and the start prompt follow, and the stored values stay. It happens once.
    void RestartAfterWrites(std::size_t count);
    /// The adapter is back after the unit vanished: it acts on what it receives again, in the
    /// mode it was in, and does not vanish again at the same count.
    void Reattach();
    /// True once the unit has vanished (see UnplugAfterWrites). Its owner hangs the line up
    /// once it has sent all output and NextDeadline is nullopt.
    bool Unplugged() const { return unplugged_; }
    /// Every byte received since construction, in order.
    const std::string& Received() const { return received_; }
    /// The text between the quotes of the last accepted "AT+EXCCLK=" line; empty before one.
    const std::string& ClockText() const { return clockText_; }

  private:
    struct CommandHandler {
        std::string_view name;  // upper case
        std::string (UnitBehaviour::*answer)();
    };
    // Output printed while a line end is held back; it prints with that line end.
    struct HeldOutput {
        TimePoint due;
        std::string text;
    };
    static std::span<const CommandHandler> Commands();

    void ReceiveByte(char byte, TimePoint now);
    void ConfiguringByte(char byte, TimePoint now);
    void EnterConfiguration(TimePoint now);
    void HandleLine(std::string_view line, bool overlong, TimePoint now);
    bool CountWrite(std::string_view line);
    void HandleCommand(std::string_view line, TimePoint now);
    std::string AnswerWrite(std::string_view name, std::string_view value);
    bool IsRefused(std::string_view name) const;
    void Print(std::string_view text);
    void PrintAnswer(std::string_view answer, TimePoint now);
    void ReleaseHeldOutput(TimePoint now);
    void AdvanceTimers(TimePoint now);

    std::string AnswerShow();
    std::string AnswerFactory();
    std::string AnswerQuit();
    std::string AnswerNetMode();
    std::string AnswerVersion();
    std::string AnswerPin();
    std::string AnswerImsi();
    std::string AnswerSignal();
    std::string AnswerLog();

    const Profile& profile_;
    UnitTiming timing_;
    UnitState state_;
    UnitMode mode_ = UnitMode::kRunning;
    bool silent_ = false;
    std::set<std::string> refused_;  // upper case, without a trailing "?"
    std::set<std::string> ignored_;  // writes answered "OK" and not stored; as refused_
    TimePoint windowEnd_{};
    TimePoint nextPrompt_{};
    TimePoint idleDeadline_{};
    std::string pending_;  // the line being received in configuration mode
    bool pendingOverlong_ = false;
    char previousByte_ = 0;
    std::string recentBytes_;  // the last bytes outside configuration mode, for "+++"
    std::string received_;
    std::vector<OutputPiece> output_;
    std::deque<HeldOutput> held_;  // oldest first
    std::string clockText_;
    std::vector<std::string> droppedLabels_;
    std::size_t unplugAfterWrites_ = 0;
    std::size_t restartAfterWrites_ = 0;
    std::size_t writes_ = 0;  // since PowerOn or UnplugAfterWrites
    bool unplugged_ = false;
};

}  // namespace sim
