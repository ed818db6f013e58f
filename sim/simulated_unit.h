// A simulated unit on a pseudo-terminal: the tool (or a test acting as the tool) opens
// DevicePath() like a serial port and talks to it as it would to a real unit. One thread
// runs the unit; every public function may be called from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/output_pacer.h"
#include "sim/profiles.h"
#include "sim/unit_behaviour.h"

namespace sim {

/// How the simulated unit behaves on the line.
struct UnitOptions {
    bool paced = true;               ///< send at the line speed the tool set (else at once)
    bool chunked = false;            ///< send in random chunks with short random pauses
    std::uint32_t chunkSeed = 1;     ///< seed of the chunk sizes and pauses
    std::size_t maxChunkBytes = 48;  ///< chunks are 1..this many bytes
    bool silent = false;             ///< read everything, answer nothing (a dead unit)
    int startWindowMs = 3000;        ///< how long after power-on an "s" enters setting
    int idleTimeoutMs = 60000;       ///< quiet time after which configuration mode ends
    /// Above zero: the CR LF after each final "OK" or "ERROR" of configuration mode is held
    /// back (see UnitTiming::lateLineEnd) and goes out in a write of its own, this many ms
    /// after the answer was printed and no sooner than this many ms after the rest of it was
    /// sent: the tool reads "...\r\nOK" and later "\r\n".
    int lateLineEndMs = 0;
    /// Above zero: the unit vanishes as it receives this write, counted from power-on (see
    /// UnitBehaviour::UnplugAfterWrites for what counts). The writes before it are answered
    /// and their answers (late line ends included) sent in full; this one is never answered.
    /// Once the tool has read those answers, the line hangs up on its side as with Unplug.
    std::size_t unplugAfterWrites = 0;
    /// Above zero: the unit restarts as it receives this write (see
    /// UnitBehaviour::RestartAfterWrites).
    std::size_t restartAfterWrites = 0;
    /// Not empty: a symbolic link kept at this path to the device while it is there, as
    /// /dev/serial/by-id/ keeps one to an adapter: removed when the unit vanishes, made again
    /// (to the new device) when it comes back.
    std::string linkPath = {};
    /// Above zero: after the line went down (Unplug or unplugAfterWrites) the adapter comes
    /// back this many ms later on a new device (see Replug).
    int returnAfterMs = 0;
};

class SimulatedUnit {
  public:
    /// A unit of `profile` (which must outlive it); nothing happens until Start.
    explicit SimulatedUnit(const Profile& profile, UnitOptions options = {});
    /// Stops and joins the unit's thread and closes every descriptor.
    ~SimulatedUnit();
    SimulatedUnit(const SimulatedUnit&) = delete;
    SimulatedUnit& operator=(const SimulatedUnit&) = delete;

    /// Opens a pseudo-terminal in raw mode at 115200, powers the unit on and starts its
    /// thread. The unit keeps its own descriptor of the device open for its whole life, so the
    /// line never hangs up while the tool has the port closed. False when any step fails or
    /// when called a second time.
    bool Start();
    /// The path the tool opens (such as "/dev/pts/7"); empty before a successful Start.
    std::string DevicePath() const;

    /// Powers the unit on again: output in progress is cut off, configuration mode ends,
    /// the banner and the "'s' key" prompt are printed and the start window opens.
    void Restart();
    /// Pulls the cable: the line hangs up on the tool's side (its poll reports POLLHUP) and
    /// the unit neither reads nor sends from then on. Returns once the line is down.
    void Unplug();
    /// Plugs the adapter back after Unplug: a new pseudo-terminal (the link path follows it),
    /// the unit in the mode it was in, with the values it had. Returns once it is there.
    void Replug();
    /// See UnitBehaviour::SetSilent.
    void SetSilent(bool silent);
    /// See UnitBehaviour::Refuse.
    void Refuse(std::string_view command);
    /// See UnitBehaviour::IgnoreWrites.
    void IgnoreWrites(std::string_view command);
    /// See UnitBehaviour::SetIdleTimeout; counts from the next line received.
    void SetIdleTimeout(std::chrono::milliseconds idle);
    /// See UnitBehaviour::SetValue.
    bool SetValue(std::string_view name, std::string_view value);
    /// See UnitBehaviour::Value.
    std::optional<std::string> Value(std::string_view name) const;
    /// See UnitBehaviour::DropLine.
    bool DropLine(std::string_view label);
    /// The text of the last clock setting; empty before one.
    std::string ClockText() const;

    /// Where the unit is now: starting, running or in configuration mode.
    UnitMode Mode() const;
    /// True while the unit is in configuration mode.
    bool InConfigMode() const { return Mode() == UnitMode::kConfiguring; }
    /// Waits until the unit is in `mode`; false when `timeout` passes first.
    bool WaitForMode(UnitMode mode, std::chrono::milliseconds timeout) const;

    /// Every byte received from the tool, in order, kept for the unit's whole life (it grows
    /// with the traffic). Bytes are acted on before they show here.
    std::string Received() const;
    /// Received() cut at every CR LF; only complete lines, empty ones included, without the
    /// CR LF. "\r\nAT+SHOW\r\n" gives "" and "AT+SHOW".
    std::vector<std::string> ReceivedLines() const;
    /// Waits until Received() contains `text`; false when `timeout` passes first.
    bool WaitForReceived(std::string_view text, std::chrono::milliseconds timeout) const;

  private:
    bool OpenTerminal();
    void Reattach();
    void PointLink() const;
    void Run();
    void Step(TimePoint now);
    void ReadFromTool(TimePoint now);
    void SendDue(TimePoint now);
    bool HasVanished() const;
    bool ToolHasUnread() const;
    void CloseMaster();
    int PollTimeoutMs(TimePoint now) const;
    void Wake() const;

    const UnitOptions options_;
    int slaveFd_ = -1;  // the unit's own descriptor of the device, for the line speed
    int wakeFd_ = -1;   // eventfd that interrupts the thread's poll
    std::string devicePath_;
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;  // notified after every step of the thread
    UnitBehaviour behaviour_;                  // guarded by mutex_
    OutputPacer pacer_;                        // guarded by mutex_
    int masterFd_ = -1;             // guarded by mutex_; closed only by the thread (or at the end)
    bool sendBlocked_ = false;      // guarded by mutex_; the tool's side is full
    bool stopping_ = false;         // guarded by mutex_
    bool unplugRequested_ = false;  // guarded by mutex_
    bool replugRequested_ = false;  // guarded by mutex_
    std::optional<TimePoint> returnAt_;  // guarded by mutex_; when the adapter comes back
};

}  // namespace sim
