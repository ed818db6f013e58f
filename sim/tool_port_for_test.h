// The tool's end of the line, for tests: opens the simulated unit's device like a serial
// port, writes lines and reads with a deadline, the way the tool does.
#pragma once

#include <termios.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "sim/simulated_unit.h"

namespace sim::testing {

/// The report command and the end of the unit's answer to it.
inline constexpr std::string_view kShow = "\r\nAT+SHOW\r\n";
inline constexpr std::string_view kReportEnd = "\r\n\r\nOK\r\n";

/// Deadline for anything a test waits for: generous, so a loaded machine does not fail tests.
inline constexpr std::chrono::milliseconds kPatience{8000};

/// Number of times `needle` (not empty) occurs in `text`, overlaps not counted.
std::size_t CountOf(std::string_view text, std::string_view needle);

class ToolPort {
  public:
    ToolPort() = default;
    ~ToolPort();
    ToolPort(const ToolPort&) = delete;
    ToolPort& operator=(const ToolPort&) = delete;

    /// Opens `path` (O_RDWR | O_NOCTTY | O_NONBLOCK) in raw mode at `speed`.
    bool Open(const std::string& path, speed_t speed = B115200);
    void Close();
    /// Sets the line speed of the open port.
    bool SetSpeed(speed_t speed);
    /// Writes all of `bytes`, waiting for room up to kPatience.
    bool Write(std::string_view bytes);
    /// Reads until the text read since the last Take() contains `needle`; false when the
    /// deadline passes or the line hangs up first.
    bool ReadUntil(std::string_view needle, std::chrono::milliseconds timeout = kPatience);
    /// Reads until the text read since the last Take() holds `count` times `needle`.
    bool ReadUntilCount(std::string_view needle, std::size_t count,
                        std::chrono::milliseconds timeout = kPatience);
    /// The text read since the last Take().
    const std::string& Text() const { return text_; }
    /// Returns the text read since the last Take() and forgets it.
    std::string Take();
    /// Forgets what was read, then writes `line` and reads until `until` arrives. Returns
    /// everything read; empty when the write fails or the deadline passes.
    std::string Exchange(std::string_view line, std::string_view until);
    /// How many reads returned bytes since the port was opened.
    std::size_t ReadCount() const { return reads_; }
    /// Waits until poll reports POLLHUP on the port.
    bool WaitForHangUp(std::chrono::milliseconds timeout = kPatience);

  private:
    // Waits for bytes up to `deadline` and appends them; false on deadline or hang-up.
    bool ReadSome(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    std::string text_;
    std::size_t reads_ = 0;
};

/// Opens `port` on `unit`, waits for the start-up prompt and sends "s" until the unit says
/// "enter setting!". Leaves nothing unread in the port's text. False when that fails.
bool OpenAndEnterSetting(SimulatedUnit& unit, ToolPort& port);

/// Options for a unit that answers at once and keeps its start window open long enough.
UnitOptions FastOptions();

}  // namespace sim::testing
