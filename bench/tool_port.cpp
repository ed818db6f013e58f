#include "bench/tool_port.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace bench {

ToolPort::~ToolPort() {
    if (fd_ >= 0) close(fd_);
}

bool ToolPort::Open(const std::string& path, speed_t speed) {
    if (fd_ >= 0) close(fd_);
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (fd_ < 0 || tcgetattr(fd_, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&settings, speed);
    return tcsetattr(fd_, TCSANOW, &settings) == 0;
}

bool ToolPort::Write(std::string_view bytes) {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

bool ToolPort::ReadUntil(std::string_view needle, std::chrono::milliseconds timeout) {
    using std::chrono::steady_clock;
    const auto deadline = steady_clock::now() + timeout;
    while (text_.find(needle) == std::string::npos) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
        pollfd input{.fd = fd_, .events = POLLIN, .revents = 0};
        const int ready = poll(&input, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        std::array<char, 4096> buffer{};
        const ssize_t got = read(fd_, buffer.data(), buffer.size());
        if (got <= 0) return false;  // the line hung up
        text_.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return true;
}

std::string ToolPort::Take() {
    std::string text = std::move(text_);
    text_.clear();
    return text;
}

std::string ToolPort::Exchange(std::string_view line, std::string_view until) {
    Take();
    if (!Write(line) || !ReadUntil(until)) return std::string();
    return Take();
}

bool OpenAndEnterSetting(sim::SimulatedUnit& unit, ToolPort& port, speed_t speed) {
    if (!port.Open(unit.DevicePath(), speed) || !port.ReadUntil("'s' key")) return false;
    if (!port.Write("s") || !port.ReadUntil("enter setting!\r\n")) return false;
    port.Take();
    return unit.InConfigMode();
}

}  // namespace bench
