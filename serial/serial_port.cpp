#include "serial/serial_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "serial/line_settings.h"
#include "serial/serial_termios.h"

namespace devlink {

// An opened device with the two events its thread waits on. Shared, so a write in progress
// on another thread keeps the descriptor valid after ClosePort let go of it.
struct CSerialPort::Handle {
    int fd = -1;
    int shutdownEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int writeEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::atomic<long> errorCount{-1};
    ~Handle() {
        for (int f : {fd, shutdownEvent, writeEvent}) {
            if (f >= 0) ::close(f);
        }
    }
};

namespace {

void Signal(int event) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(event, &one, sizeof one);
}

void Consume(int event) {
    std::uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(event, &value, sizeof value);
}

/// True when the device counted a new line error since the last look.
bool NewLineErrors(CSerialPort::Handle& h);

}  // namespace

CSerialPort::~CSerialPort() {
    ClosePort();
}

std::string CSerialPort::ErrorText(std::string_view step, int error, const std::string& path) {
    std::string text = "WARNING:  ";
    text.append(step).append(" Failed with the following error: \n");
    text.append(std::strerror(error)).append("\nPort: ").append(path).append("\n");
    return text;
}

void CSerialPort::ShowError(std::string_view step, int error) {
    if (errorBox_) errorBox_(ErrorText(step, error, path_));
}

bool CSerialPort::OpenPort(ui::Window* owner, const std::string& path, int baud, char parity,
                           int dataBits, int stopBits, std::uint32_t /*eventMask*/,
                           std::uint32_t writeBufferSize) {
    ClosePort();
    std::lock_guard lock(portLock_);
    owner_ = owner;
    path_ = path;
    {
        std::lock_guard writeLock(writeMutex_);
        writeBuffer_.assign(writeBufferSize, '\0');
        writeLength_ = 0;
    }
    const int fd = tty::OpenExclusive(path);
    if (fd < 0) {
        lastOpenError_ = errno;
        return false;
    }
    lastOpenError_ = 0;
    auto handle = std::make_shared<Handle>();
    handle->fd = fd;
    tty::MakeRaw(fd);
    baud_ = baud;
    Configure(fd, FormatSettings(baud, parity, dataBits, stopBits));
    tty::PurgeBoth(fd);
    handle->errorCount = tty::LineErrorCount(fd);
    handle_ = std::move(handle);
    ++generation_;
    open_ = true;
    return true;
}

void CSerialPort::Configure(int fd, const std::string& settingsText) {
    // Each step only if the one before succeeded; the first failure shows its box.
    if (!tty::CanReadSettings(fd)) return ShowError("GetCommState()", errno);
    tty::RaiseModemLines(fd);
    const auto settings = ParseSettings(settingsText);
    if (!settings) return ShowError("BuildCommDCB()", EINVAL);
    if (!tty::ApplySettings(fd, *settings)) return ShowError("SetCommState()", errno);
}

bool CSerialPort::StartEventThread() {
    StopEventThread();
    std::lock_guard lock(portLock_);
    if (!handle_) return false;
    // What arrived before the thread watches the port is stale: drop it now, not from the
    // thread, so nothing sent after this call returns can be lost.
    tty::PurgeBoth(handle_->fd);
    eventThread_ = std::thread(&CSerialPort::EventThread, this, handle_, generation_.load());
    return true;
}

void CSerialPort::StopEventThread() {
    if (!eventThread_.joinable()) return;
    std::shared_ptr<Handle> handle;
    {
        std::lock_guard lock(portLock_);
        handle = handle_;
    }
    if (handle) Signal(handle->shutdownEvent);
    // The thread never waits for the owner or for this lock while it shuts down.
    eventThread_.join();
    if (handle) Consume(handle->shutdownEvent);  // a new thread may watch the same device
}

void CSerialPort::ClosePort() {
    open_ = false;
    ++generation_;
    StopEventThread();
    std::lock_guard lock(portLock_);
    handle_.reset();
}

void CSerialPort::EventThread(std::shared_ptr<Handle> handle, std::uint64_t generation) {
    for (;;) {
        pollfd fds[3] = {{handle->shutdownEvent, POLLIN, 0},
                         {handle->fd, POLLIN, 0},
                         {handle->writeEvent, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        // In priority order: shutdown, the port, a queued write.
        if (fds[0].revents) return;
        const short portEvents = fds[1].revents;
        if (portEvents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            const tty::ReadOutcome outcome = ReceiveStep(*handle, generation);
            if (outcome == tty::ReadOutcome::kLost) break;
            // A hang-up is the end once what was still in the queue has been read.
            const bool hungUp = (portEvents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            if (hungUp && outcome == tty::ReadOutcome::kNothing) break;
        }
        if (fds[2].revents) QueuedWriteStep(*handle, generation);
    }
    // The device went away: tell the owner once and wait only for the shutdown.
    owner_->PostMessage(UM_PORT_LOST, generation, 0);
    pollfd stop{handle->shutdownEvent, POLLIN, 0};
    while (::poll(&stop, 1, -1) < 0 && errno == EINTR) {
    }
}

tty::ReadOutcome CSerialPort::ReceiveStep(Handle& h, std::uint64_t generation) {
    if (!open_ || generation != generation_) return tty::ReadOutcome::kNothing;
    {
        std::lock_guard lock(portLock_);
        if (NewLineErrors(h)) {
            tty::PurgeInput(h.fd);
            return tty::ReadOutcome::kNothing;
        }
    }
    const int queued = tty::InputQueued(h.fd);
    char buffer[kMaxChunk + 1];
    const size_t want = queued > 0 && queued < kMaxChunk ? static_cast<size_t>(queued) : kMaxChunk;
    size_t n = 0;
    tty::ReadOutcome outcome;
    {
        std::lock_guard lock(portLock_);
        outcome = tty::ReadAvailable(h.fd, buffer, want, n);
    }
    if (outcome == tty::ReadOutcome::kData) {
        owner_->PostMessage(UM_SERIAL_DATA, generation, static_cast<std::intptr_t>(n),
                            std::string(buffer, n));
    } else if (outcome == tty::ReadOutcome::kNothing) {
        // Announced bytes that were flushed meanwhile: do not spin on a level that stays up.
        ::poll(nullptr, 0, 1);
    }
    return outcome;
}

void CSerialPort::QueuedWriteStep(Handle& h, std::uint64_t generation) {
    Consume(h.writeEvent);
    std::lock_guard lock(portLock_);
    if (!open_ || generation != generation_) return;
    tty::PurgeBoth(h.fd);  // pending input is lost, as with every queued write
    std::lock_guard writeLock(writeMutex_);
    size_t done = 0;
    while (done < writeLength_) {
        const ssize_t n = ::write(h.fd, writeBuffer_.data() + done, writeLength_ - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd out{h.fd, POLLOUT, 0};
            if (::poll(&out, 1, 1000) <= 0) break;
        } else {
            break;
        }
    }
    if (done < writeLength_) {
        owner_->PostMessage(UM_PORT_ERROR, 0, 0, ErrorText("WriteFile()", errno, path_));
    }
}

std::uint32_t CSerialPort::WriteNow(const char* bytes, std::uint32_t count) {
    std::shared_ptr<Handle> handle;
    {
        std::lock_guard lock(portLock_);
        handle = handle_;
    }
    if (!handle) return 0;
    if (NewLineErrors(*handle)) {
        tty::PurgeInput(handle->fd);
        return 0;
    }
    if (!open_) return 0;
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(handle->fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd out{handle->fd, POLLOUT, 0};
            if (::poll(&out, 1, 2000) > 0) continue;
        }
        return 0;
    }
    // The bytes are out when the driver's output queue is empty; an adapter that never
    // empties it must not hold the caller (the worker, or the user-interface thread) forever.
    return WaitUntilSent(handle->fd, done) ? done : 0;
}

bool CSerialPort::WaitUntilSent(int fd, std::uint32_t count) {
    const std::int64_t bitsPerSecond = std::max(1, baud_.load());
    const ui::Millis lineTime = static_cast<ui::Millis>(count) * 10 * 1000 / bitsPerSecond;
    const ui::Millis deadline = clock_->Now() + std::max<ui::Millis>(kMinDrainWaitMs, lineTime);
    while (outputQueued_(fd) > 0) {
        if (clock_->Now() >= deadline) return false;
        // The device says nothing when its queue empties: look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void CSerialPort::QueueWrite(std::string_view text) {
    QueueWrite(text.data(), static_cast<std::uint32_t>(text.size()));
}

void CSerialPort::QueueWrite(const char* bytes, std::uint32_t count) {
    std::shared_ptr<Handle> handle;
    {
        std::lock_guard lock(portLock_);
        handle = handle_;
    }
    if (!handle) return;
    {
        std::lock_guard writeLock(writeMutex_);
        writeLength_ =
            std::min<std::uint32_t>(count, static_cast<std::uint32_t>(writeBuffer_.size()));
        std::memcpy(writeBuffer_.data(), bytes, writeLength_);
    }
    Signal(handle->writeEvent);
}

namespace {

bool NewLineErrors(CSerialPort::Handle& h) {
    const long count = tty::LineErrorCount(h.fd);
    if (count < 0) return false;  // the device keeps no counters
    const long before = h.errorCount.exchange(count);
    return before >= 0 && count > before;
}

}  // namespace

}  // namespace devlink
