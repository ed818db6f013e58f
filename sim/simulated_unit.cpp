#include "sim/simulated_unit.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "sim/line_speed.h"

namespace sim {
namespace {

UnitTiming TimingOf(const UnitOptions& options) {
    UnitTiming timing;
    timing.startWindow = std::chrono::milliseconds(options.startWindowMs);
    timing.idleTimeout = std::chrono::milliseconds(options.idleTimeoutMs);
    timing.lateLineEnd = std::chrono::milliseconds(options.lateLineEndMs);
    return timing;
}

PacingOptions PacingOf(const UnitOptions& options) {
    PacingOptions pacing;
    pacing.paced = options.paced;
    pacing.chunked = options.chunked;
    pacing.seed = options.chunkSeed;
    pacing.maxChunkBytes = options.maxChunkBytes;
    return pacing;
}

bool SetCloseOnExec(int fd) {
    const int flags = fcntl(fd, F_GETFD);
    return flags >= 0 && fcntl(fd, F_SETFD, flags | FD_CLOEXEC) == 0;
}

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Raw mode (nothing echoed, no line editing, no CR/LF translation) at 115200, 8N1.
bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

// How often a vanished unit looks whether the tool has read its last answers.
constexpr std::chrono::milliseconds kUnreadLookInterval{2};

/// Removes the link at `link` when it still leads to `device`: another unit may have taken it.
void UnlinkIfOurs(const std::string& link, const std::string& device) {
    if (link.empty()) return;
    std::array<char, PATH_MAX> target{};
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
    if (length > 0 && std::string_view(target.data(), static_cast<std::size_t>(length)) == device)
        ::unlink(link.c_str());
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

SimulatedUnit::SimulatedUnit(const Profile& profile, UnitOptions options)
    : options_(options), behaviour_(profile, TimingOf(options)), pacer_(PacingOf(options)) {
    behaviour_.SetSilent(options.silent);
    behaviour_.UnplugAfterWrites(options.unplugAfterWrites);
    behaviour_.RestartAfterWrites(options.restartAfterWrites);
}

SimulatedUnit::~SimulatedUnit() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        Wake();
        thread_.join();
    }
    if (masterFd_ >= 0) UnlinkIfOurs(options_.linkPath, devicePath_);
    CloseIfOpen(masterFd_);
    CloseIfOpen(slaveFd_);
    CloseIfOpen(wakeFd_);
}

bool SimulatedUnit::OpenTerminal() {
    CloseIfOpen(slaveFd_);
    int master = -1;
    if (openpty(&master, &slaveFd_, nullptr, nullptr, nullptr) != 0) return false;
    masterFd_ = master;
    std::array<char, PATH_MAX> path{};
    if (ptsname_r(masterFd_, path.data(), path.size()) != 0) return false;
    devicePath_ = path.data();
    const bool ready = SetCloseOnExec(masterFd_) && SetCloseOnExec(slaveFd_) &&
                       SetNonBlocking(masterFd_) && MakeRaw(slaveFd_);
    if (ready) PointLink();
    return ready;
}

void SimulatedUnit::PointLink() const {
    if (options_.linkPath.empty()) return;
    // Made beside it and renamed over it: whoever looks finds the old device or the new one.
    const std::string temporary = options_.linkPath + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(devicePath_.c_str(), temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), options_.linkPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
    }
}

void SimulatedUnit::Reattach() {
    replugRequested_ = false;
    returnAt_.reset();
    if (masterFd_ >= 0 || !OpenTerminal()) return;
    behaviour_.Reattach();
    changed_.notify_all();
}

bool SimulatedUnit::Start() {
    std::lock_guard lock(mutex_);
    if (wakeFd_ >= 0 || masterFd_ >= 0) return false;
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0 || !OpenTerminal()) {
        CloseIfOpen(masterFd_);
        CloseIfOpen(slaveFd_);
        devicePath_.clear();
        return false;
    }
    behaviour_.PowerOn(std::chrono::steady_clock::now());
    thread_ = std::thread(&SimulatedUnit::Run, this);
    return true;
}

std::string SimulatedUnit::DevicePath() const {
    std::lock_guard lock(mutex_);
    return devicePath_;
}

void SimulatedUnit::Wake() const {
    if (wakeFd_ < 0) return;
    const std::uint64_t one = 1;
    // A full counter already means a pending wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
}

void SimulatedUnit::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const TimePoint now = std::chrono::steady_clock::now();
        if (replugRequested_ || (returnAt_ && *returnAt_ <= now)) Reattach();
        Step(now);
        std::array<pollfd, 2> fds{};
        fds[0] = {.fd = wakeFd_, .events = POLLIN, .revents = 0};
        const short masterEvents = static_cast<short>(POLLIN | (sendBlocked_ ? POLLOUT : 0));
        fds[1] = {.fd = masterFd_, .events = masterEvents, .revents = 0};
        const nfds_t count = masterFd_ >= 0 ? 2 : 1;
        const int timeoutMs = PollTimeoutMs(std::chrono::steady_clock::now());
        lock.unlock();
        const int ready = poll(fds.data(), count, timeoutMs);
        lock.lock();
        if (ready <= 0) continue;  // timer due, or interrupted
        if (fds[0].revents & POLLIN) {
            std::uint64_t wakes = 0;
            [[maybe_unused]] const ssize_t got = read(wakeFd_, &wakes, sizeof wakes);
        }
        if (unplugRequested_) CloseMaster();
        if (count == 2 && masterFd_ >= 0) {
            if (fds[1].revents & POLLOUT) sendBlocked_ = false;
            if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
                ReadFromTool(std::chrono::steady_clock::now());
            }
        }
    }
}

void SimulatedUnit::Step(TimePoint now) {
    behaviour_.Advance(now);
    for (const OutputPiece& piece : behaviour_.TakeOutputPieces()) {
        if (masterFd_ < 0) break;
        if (piece.late) {
            pacer_.AppendSeparately(piece.text, now,
                                    std::chrono::milliseconds(options_.lateLineEndMs));
        } else {
            pacer_.Append(piece.text, now);
        }
    }
    SendDue(now);
    if (HasVanished()) CloseMaster();
    changed_.notify_all();
}

// True once the unit has vanished and the tool has read everything it printed before: a
// hang-up throws away what the tool has not read yet.
bool SimulatedUnit::HasVanished() const {
    return masterFd_ >= 0 && behaviour_.Unplugged() && !behaviour_.NextDeadline() &&
           pacer_.Pending().empty() && !ToolHasUnread();
}

bool SimulatedUnit::ToolHasUnread() const {
    // Polling the device also moves bytes still on their way from our side into its queue,
    // so the count after it is complete.
    pollfd device{.fd = slaveFd_, .events = POLLIN, .revents = 0};
    if (poll(&device, 1, 0) > 0 && (device.revents & POLLIN) != 0) return true;
    int unread = 0;
    return ioctl(slaveFd_, FIONREAD, &unread) == 0 && unread > 0;
}

void SimulatedUnit::ReadFromTool(TimePoint now) {
    std::array<char, 4096> buffer{};
    const ssize_t got = read(masterFd_, buffer.data(), buffer.size());
    if (got > 0) {
        behaviour_.Receive(std::string_view(buffer.data(), static_cast<std::size_t>(got)), now);
    } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        CloseMaster();  // the line is gone; do not spin on it
    }
}

void SimulatedUnit::SendDue(TimePoint now) {
    if (masterFd_ < 0 || sendBlocked_) return;
    const long baud = LineBaud(slaveFd_);
    for (std::size_t due = pacer_.BytesDue(now, baud); due > 0; due = pacer_.BytesDue(now, baud)) {
        const ssize_t sent = write(masterFd_, pacer_.Pending().data(), due);
        if (sent > 0) {
            pacer_.Consume(static_cast<std::size_t>(sent), now, baud);
        } else if (sent < 0 && errno == EAGAIN) {
            sendBlocked_ = true;  // the tool is not reading; wait until there is room
            return;
        } else if (sent < 0 && errno != EINTR) {
            pacer_.Clear();
            return;
        }
    }
}

void SimulatedUnit::CloseMaster() {
    unplugRequested_ = false;
    if (masterFd_ >= 0) {
        UnlinkIfOurs(options_.linkPath, devicePath_);
        if (options_.returnAfterMs > 0) {
            returnAt_ = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(options_.returnAfterMs);
        }
    }
    CloseIfOpen(masterFd_);
    pacer_.Clear();
    sendBlocked_ = false;
    changed_.notify_all();
}

int SimulatedUnit::PollTimeoutMs(TimePoint now) const {
    std::optional<TimePoint> next = behaviour_.NextDeadline();
    if (!sendBlocked_ && masterFd_ >= 0) {
        if (const auto wake = pacer_.NextWake(now); wake && (!next || *wake < *next)) next = wake;
    }
    // Nothing tells the unit when the tool reads, so a vanished unit looks again and again.
    if (masterFd_ >= 0 && behaviour_.Unplugged()) {
        const TimePoint look = now + kUnreadLookInterval;
        if (!next || look < *next) next = look;
    }
    if (returnAt_ && (!next || *returnAt_ < *next)) next = returnAt_;
    if (!next) return -1;
    if (*next <= now) return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    return static_cast<int>(std::min<long long>(wait, INT_MAX));
}

void SimulatedUnit::Restart() {
    std::lock_guard lock(mutex_);
    pacer_.Clear();
    behaviour_.PowerOn(std::chrono::steady_clock::now());
    changed_.notify_all();
    Wake();
}

void SimulatedUnit::Unplug() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) {
        CloseMaster();
        return;
    }
    unplugRequested_ = true;
    Wake();
    changed_.wait(lock, [this] { return masterFd_ < 0; });
}

void SimulatedUnit::Replug() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) return;
    replugRequested_ = true;
    Wake();
    changed_.wait(lock, [this] { return !replugRequested_; });
}

void SimulatedUnit::SetSilent(bool silent) {
    std::lock_guard lock(mutex_);
    behaviour_.SetSilent(silent);
}

void SimulatedUnit::Refuse(std::string_view command) {
    std::lock_guard lock(mutex_);
    behaviour_.Refuse(command);
}

void SimulatedUnit::IgnoreWrites(std::string_view command) {
    std::lock_guard lock(mutex_);
    behaviour_.IgnoreWrites(command);
}

void SimulatedUnit::SetIdleTimeout(std::chrono::milliseconds idle) {
    std::lock_guard lock(mutex_);
    behaviour_.SetIdleTimeout(idle);
}

bool SimulatedUnit::SetValue(std::string_view name, std::string_view value) {
    std::lock_guard lock(mutex_);
    return behaviour_.SetValue(name, value);
}

std::optional<std::string> SimulatedUnit::Value(std::string_view name) const {
    std::lock_guard lock(mutex_);
    return behaviour_.Value(name);
}

bool SimulatedUnit::DropLine(std::string_view label) {
    std::lock_guard lock(mutex_);
    return behaviour_.DropLine(label);
}

std::string SimulatedUnit::ClockText() const {
    std::lock_guard lock(mutex_);
    return behaviour_.ClockText();
}

UnitMode SimulatedUnit::Mode() const {
    std::lock_guard lock(mutex_);
    return behaviour_.Mode();
}

bool SimulatedUnit::WaitForMode(UnitMode mode, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return behaviour_.Mode() == mode; });
}

std::string SimulatedUnit::Received() const {
    std::lock_guard lock(mutex_);
    return behaviour_.Received();
}

std::vector<std::string> SimulatedUnit::ReceivedLines() const {
    const std::string received = Received();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = received.find("\r\n"); end != std::string::npos;
         end = received.find("\r\n", start)) {
        lines.push_back(received.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool SimulatedUnit::WaitForReceived(std::string_view text,
                                    std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return behaviour_.Received().find(text) != std::string::npos; });
}

}  // namespace sim
