#include "sim/tool_port_for_test.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace sim::testing {

using std::chrono::steady_clock;

std::size_t CountOf(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos;
         at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

namespace {

int MillisecondsUntil(steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

}  // namespace

ToolPort::~ToolPort() {
    Close();
}

bool ToolPort::Open(const std::string& path, speed_t speed) {
    Close();
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    termios settings{};
    if (tcgetattr(fd_, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(fd_, TCSANOW, &settings) != 0) return false;
    return SetSpeed(speed);
}

void ToolPort::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

bool ToolPort::SetSpeed(speed_t speed) {
    termios settings{};
    if (tcgetattr(fd_, &settings) != 0) return false;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    return tcsetattr(fd_, TCSANOW, &settings) == 0;
}

bool ToolPort::Write(std::string_view bytes) {
    const auto deadline = steady_clock::now() + kPatience;
    while (!bytes.empty()) {
        const ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
        pollfd room{.fd = fd_, .events = POLLOUT, .revents = 0};
        if (poll(&room, 1, MillisecondsUntil(deadline)) <= 0) return false;
    }
    return true;
}

bool ToolPort::ReadSome(steady_clock::time_point deadline) {
    pollfd input{.fd = fd_, .events = POLLIN, .revents = 0};
    const int ready = poll(&input, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) return true;
    if (ready <= 0) return false;
    std::array<char, 4096> buffer{};
    const ssize_t got = read(fd_, buffer.data(), buffer.size());
    if (got > 0) {
        text_.append(buffer.data(), static_cast<std::size_t>(got));
        ++reads_;
        return true;
    }
    return got < 0 && (errno == EAGAIN || errno == EINTR);
}

bool ToolPort::ReadUntil(std::string_view needle, std::chrono::milliseconds timeout) {
    return ReadUntilCount(needle, 1, timeout);
}

bool ToolPort::ReadUntilCount(std::string_view needle, std::size_t count,
                              std::chrono::milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    while (CountOf(text_, needle) < count) {
        if (steady_clock::now() >= deadline || !ReadSome(deadline)) return false;
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

bool ToolPort::WaitForHangUp(std::chrono::milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    while (steady_clock::now() < deadline) {
        pollfd line{.fd = fd_, .events = POLLIN, .revents = 0};
        if (poll(&line, 1, MillisecondsUntil(deadline)) < 0 && errno != EINTR) return false;
        if (line.revents & POLLHUP) return true;
        if (line.revents & POLLIN) {
            std::array<char, 4096> buffer{};
            if (read(fd_, buffer.data(), buffer.size()) < 0 && errno != EAGAIN) return false;
        }
    }
    return false;
}

bool OpenAndEnterSetting(SimulatedUnit& unit, ToolPort& port) {
    if (!port.Open(unit.DevicePath()) || !port.ReadUntil("'s' key")) return false;
    if (!port.Write("s") || !port.ReadUntil("enter setting!\r\n")) return false;
    port.Take();
    return unit.InConfigMode();
}

UnitOptions FastOptions() {
    UnitOptions options;
    options.paced = false;
    options.startWindowMs = 60000;
    return options;
}

}  // namespace sim::testing
