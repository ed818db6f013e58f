#include "serial/serial_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace serial {

// An opened device with the event that ends its thread. Shared, so a write in progress on
// another thread keeps the descriptor valid after Close let go of it.
struct CSerialPort::Handle {
    int fd = -1;
    int shutdownEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::atomic<long> errorCount{-1};
    ~Handle() {
        for (int f : {fd, shutdownEvent}) {
            if (f >= 0) ::close(f);
        }
    }
};

namespace {

void Signal(int event) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(event, &one, sizeof one);
}

/// True when the device counted a new line error since the last look.
bool NewLineErrors(CSerialPort::Handle& h) {
    const long count = tty::LineErrorCount(h.fd);
    if (count < 0) return false;  // the device keeps no counters
    const long before = h.errorCount.exchange(count);
    return before >= 0 && count > before;
}

}  // namespace

CSerialPort::~CSerialPort() {
    Close();
}

std::int64_t CSerialPort::SteadyMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string CSerialPort::ErrorText(std::string_view step, int error, const std::string& path) {
    return path + ": cannot " + std::string(step) + ": " + std::strerror(error);
}

bool CSerialPort::Open(const std::string& path, const LineSettings& settings) {
    Close();
    int setupError = 0;
    {
        std::lock_guard lock(portLock_);
        path_ = path;
        const int fd = tty::OpenExclusive(path);
        if (fd < 0) {
            lastOpenError_ = errno;
            return false;
        }
        lastOpenError_ = 0;
        auto handle = std::make_shared<Handle>();
        handle->fd = fd;
        // Raw first, so settings that fail never leave the port cooked.
        tty::MakeRaw(fd);
        tty::RaiseModemLines(fd);
        baud_ = settings.baud;
        if (!tty::ApplySettings(fd, settings)) setupError = errno;
        tty::AskLowLatency(fd);
        handle->errorCount = tty::LineErrorCount(fd);
        handle_ = std::move(handle);
        ++generation_;
        open_ = true;
    }
    StartEventThread();
    if (setupError != 0) {
        listener_.SetupFailed(ErrorText("set the line to " + Describe(settings), setupError, path));
    }
    return true;
}

void CSerialPort::StartEventThread() {
    std::lock_guard lock(portLock_);
    // What arrived before the thread watches the port is stale: drop it now, not from the
    // thread, so nothing sent after Open returns can be lost.
    tty::PurgeBoth(handle_->fd);
    eventThread_ = std::thread(&CSerialPort::EventThread, this, handle_, generation_.load());
}

void CSerialPort::StopEventThread() {
    if (!eventThread_.joinable()) return;
    std::shared_ptr<Handle> handle;
    {
        std::lock_guard lock(portLock_);
        handle = handle_;
    }
    if (handle) Signal(handle->shutdownEvent);
    // The thread never waits for the listener's owner or for this lock while it shuts down.
    eventThread_.join();
}

void CSerialPort::Close() {
    open_ = false;
    ++generation_;
    StopEventThread();
    std::lock_guard lock(portLock_);
    handle_.reset();
}

void CSerialPort::EventThread(std::shared_ptr<Handle> handle, std::uint64_t generation) {
    for (;;) {
        pollfd fds[2] = {{handle->shutdownEvent, POLLIN, 0}, {handle->fd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents) return;  // the shutdown comes first
        const short portEvents = fds[1].revents;
        if (portEvents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            const tty::ReadOutcome outcome = ReceiveStep(*handle, generation);
            if (outcome == tty::ReadOutcome::kLost) break;
            // A hang-up is the end once what was still in the queue has been read.
            const bool hungUp = (portEvents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            if (hungUp && outcome == tty::ReadOutcome::kNothing) break;
        }
    }
    // The device went away: tell the listener once and wait only for the shutdown.
    listener_.Lost(generation);
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
        listener_.Received(generation, std::string(buffer, n));
    } else if (outcome == tty::ReadOutcome::kNothing) {
        // Announced bytes that were flushed meanwhile: do not spin on a level that stays up.
        ::poll(nullptr, 0, 1);
    }
    return outcome;
}

std::uint32_t CSerialPort::Write(std::string_view bytes) {
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
    const auto count = static_cast<std::uint32_t>(bytes.size());
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(handle->fd, bytes.data() + done, count - done);
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
    const std::int64_t lineTime = static_cast<std::int64_t>(count) * 10 * 1000 / bitsPerSecond;
    const std::int64_t deadline = now_() + std::max(kMinDrainWaitMs, lineTime);
    while (outputQueued_(fd) > 0) {
        if (now_() >= deadline) return false;
        // The device says nothing when its queue empties: look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace serial
