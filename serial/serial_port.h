// The serial port: the program's only link to the unit. One device opened exclusively and
// configured from a settings text, one event thread per opened port that hands every chunk
// of received bytes to the owner window, and a direct write on the caller's thread.
//
// Chunks are posted to the owner as UM_SERIAL_DATA (wParam: the port's generation, lParam:
// the count, payload: the bytes). The generation changes at every open and close, so the
// owner drops chunks of a port that has been closed since: after ClosePort returns nothing of
// the old port is delivered. The event thread never waits for the owner, so ClosePort, which
// stops and joins it, always returns promptly.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/messages.h"
#include "serial/serial_termios.h"
#include "ui/clock.h"
#include "ui/window.h"

namespace devlink {

constexpr std::uint32_t EV_RXCHAR = 0x01;
constexpr std::uint32_t EV_CTS = 0x08;
constexpr int kMaxChunk = 4095;

class CSerialPort {
  public:
    /// Shows an error box (on the thread that met the failure).
    using ErrorBox = std::function<void(const std::string& text)>;

    CSerialPort() = default;
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    /// Opens and configures `path`; of the events of `eventMask`, received characters are
    /// the ones acted on. False when the device cannot be opened (LastOpenError()
    /// tells why); true otherwise, even when a configuration step failed and showed its box.
    /// Opening again closes the old port first.
    bool OpenPort(ui::Window* owner, const std::string& path, int baud, char parity, int dataBits,
                  int stopBits, std::uint32_t eventMask, std::uint32_t writeBufferSize);
    /// Starts the event thread; true when one runs afterwards.
    bool StartEventThread();
    /// Ends the event thread, closes the device and clears the open flag. Returns promptly.
    void ClosePort();
    /// Writes on the caller's thread and returns when the bytes are written and have left the
    /// driver: the count, or 0 when the port is closed, reports line errors, the write fails,
    /// or the bytes are still not out after a second or their line time, whichever is longer.
    std::uint32_t WriteNow(const char* bytes, std::uint32_t count);
    std::uint32_t WriteNow(std::string_view text) {
        return WriteNow(text.data(), static_cast<std::uint32_t>(text.size()));
    }
    /// Hands bytes to the event thread to write (cut to the write buffer's size).
    void QueueWrite(std::string_view text);
    void QueueWrite(const char* bytes, std::uint32_t count);

    bool IsOpen() const { return open_.load(); }
    std::uint64_t Generation() const { return generation_.load(); }
    int LastOpenError() const { return lastOpenError_; }
    const std::string& Path() const { return path_; }
    void SetErrorBox(ErrorBox box) { errorBox_ = std::move(box); }
    /// The clock of the wait for written bytes to leave, and how that is asked of the device
    /// (tests stand in an adapter that never sends).
    void SetClock(ui::Clock& clock) { clock_ = &clock; }
    void SetOutputQueuedQuery(int (*query)(int fd)) { outputQueued_ = query; }

    static constexpr ui::Millis kMinDrainWaitMs = 1000;

    /// The error box text for a failed step: "WARNING:  <step> Failed with ...".
    static std::string ErrorText(std::string_view step, int error, const std::string& path);

    /// An opened device and the events its thread waits on (defined in the .cpp file).
    struct Handle;

  private:
    void StopEventThread();
    void EventThread(std::shared_ptr<Handle> handle, std::uint64_t generation);
    tty::ReadOutcome ReceiveStep(Handle& handle, std::uint64_t generation);
    bool WaitUntilSent(int fd, std::uint32_t count);
    void QueuedWriteStep(Handle& handle, std::uint64_t generation);
    void Configure(int fd, const std::string& settings);
    void ShowError(std::string_view step, int error);

    std::atomic<bool> open_{false};
    std::atomic<std::uint64_t> generation_{0};
    std::recursive_mutex portLock_;
    std::shared_ptr<Handle> handle_;
    std::thread eventThread_;
    ui::Window* owner_ = nullptr;
    std::string path_;
    std::mutex writeMutex_;
    std::vector<char> writeBuffer_;
    std::uint32_t writeLength_ = 0;
    int lastOpenError_ = 0;
    std::atomic<int> baud_{9600};
    ErrorBox errorBox_;
    ui::Clock* clock_ = &ui::RealClock();
    int (*outputQueued_)(int fd) = tty::OutputQueued;
};

}  // namespace devlink
