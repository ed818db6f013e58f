// The tool's end of the line for the measurements of the unit alone: the simulated unit's
// device opened like a serial port, written to and read with a deadline.
#pragma once

#include <termios.h>

#include <chrono>
#include <string>
#include <string_view>

#include "sim/simulated_unit.h"

namespace bench {

/// How long a read waits unless told otherwise.
inline constexpr std::chrono::milliseconds kPatience{8000};

class ToolPort {
  public:
    ToolPort() = default;
    ~ToolPort();
    ToolPort(const ToolPort&) = delete;
    ToolPort& operator=(const ToolPort&) = delete;

    /// Opens `path` in raw mode at `speed`; writes wait until the line takes the bytes.
    bool Open(const std::string& path, speed_t speed = B115200);
    bool Write(std::string_view bytes);
    /// Reads until the text read since the last Take() holds `needle`; false when the
    /// deadline passes or the line hangs up first.
    bool ReadUntil(std::string_view needle, std::chrono::milliseconds timeout = kPatience);
    /// The text read since the last Take(), which is then forgotten.
    std::string Take();
    /// Take(), then writes `line` and reads until `until`: what was read; empty on failure.
    std::string Exchange(std::string_view line, std::string_view until);

  private:
    int fd_ = -1;
    std::string text_;
};

/// Opens `port` on `unit` at `speed` and answers its prompt with "s": true once the unit is in
/// configuration mode, with nothing left unread.
bool OpenAndEnterSetting(sim::SimulatedUnit& unit, ToolPort& port, speed_t speed = B115200);

}  // namespace bench
