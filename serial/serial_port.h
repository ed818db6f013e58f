// The serial port: the program's only link to the unit. One device opened exclusively with
// typed line settings, one event thread per opened port that hands every chunk of received
// bytes to the listener, and a direct write on the caller's thread.
//
// The generation changes at every open and close, so the owner drops chunks of a port that
// has been closed since: after Close returns nothing of the old port carries the current
// generation. The event thread never waits for the owner, so Close, which stops and joins it,
// always returns promptly.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "serial/port_io.h"
#include "serial/serial_termios.h"

namespace serial {

constexpr int kMaxChunk = 4095;

class CSerialPort final : public PortIo {
  public:
    /// Milliseconds on a clock that never goes back.
    using NowFunction = std::int64_t (*)();

    /// `listener` must outlive the port.
    explicit CSerialPort(PortListener& listener) : listener_(listener) {}
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    bool Open(const std::string& path, const LineSettings& settings) override;
    void Close() override;
    /// Fails (0) also when the device reports line errors, or when the bytes are still not out
    /// after a second or their line time, whichever is longer.
    std::uint32_t Write(std::string_view bytes) override;
    bool IsOpen() const override { return open_.load(); }
    std::uint64_t Generation() const override { return generation_.load(); }
    const std::string& Path() const override { return path_; }
    int LastOpenError() const override { return lastOpenError_; }

    /// The clock of the wait for written bytes to leave, and how that is asked of the device
    /// (tests stand in an adapter that never sends).
    void SetClock(NowFunction now) { now_ = now; }
    void SetOutputQueuedQuery(int (*query)(int fd)) { outputQueued_ = query; }

    static constexpr std::int64_t kMinDrainWaitMs = 1000;
    /// The machine's monotonic clock.
    static std::int64_t SteadyMillis();

    /// The text for a step that failed on `path`: "<path>: cannot <step>: <errno text>".
    static std::string ErrorText(std::string_view step, int error, const std::string& path);

    /// An opened device and the shutdown event its thread waits on (defined in the .cpp).
    struct Handle;

  private:
    void StartEventThread();
    void StopEventThread();
    void EventThread(std::shared_ptr<Handle> handle, std::uint64_t generation);
    tty::ReadOutcome ReceiveStep(Handle& handle, std::uint64_t generation);
    bool WaitUntilSent(int fd, std::uint32_t count);

    PortListener& listener_;
    std::atomic<bool> open_{false};
    std::atomic<std::uint64_t> generation_{0};
    std::recursive_mutex portLock_;
    std::shared_ptr<Handle> handle_;
    std::thread eventThread_;
    std::string path_;
    int lastOpenError_ = 0;
    std::atomic<int> baud_{9600};
    NowFunction now_ = SteadyMillis;
    int (*outputQueued_)(int fd) = tty::OutputQueued;
};

}  // namespace serial
