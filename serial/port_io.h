// What the exchange with a unit needs of a serial port, and how the port tells its owner what
// it met. `CSerialPort` is the system's port; the link knows only this.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/line_settings.h"

namespace serial {

/// Told by the port what happened. Every opening and closing changes the port's generation;
/// a call carries the generation it belongs to, so the owner can drop news of a port it has
/// closed since.
class PortListener {
  public:
    virtual ~PortListener() = default;
    /// Received bytes in order, in chunks. On the port's event thread: must not wait for the
    /// thread that closes the port.
    virtual void Received(std::uint64_t generation, std::string bytes) = 0;
    /// The device went away (unplugged, hung up); once per opening, on the event thread.
    virtual void Lost(std::uint64_t generation) = 0;
    /// Setting up the device just opened failed (`text` names the step, the device and the
    /// system's reason); the port stays open. On the thread that opened it.
    virtual void SetupFailed(const std::string& text) = 0;
};

class PortIo {
  public:
    virtual ~PortIo() = default;
    /// Opens `path` exclusively, sets it up and starts delivering what it receives. False when
    /// the device cannot be opened (LastOpenError() tells why); true otherwise, even when
    /// setting it up failed. Opening again closes the old port first.
    virtual bool Open(const std::string& path, const LineSettings& settings) = 0;
    /// Stops the delivery and closes the device; returns promptly.
    virtual void Close() = 0;
    /// Writes on the caller's thread and returns the count once the bytes have left the driver;
    /// 0 when the port is closed or the bytes could not be written.
    virtual std::uint32_t Write(std::string_view bytes) = 0;
    virtual bool IsOpen() const = 0;
    virtual std::uint64_t Generation() const = 0;
    /// The device opened last.
    virtual const std::string& Path() const = 0;
    /// Why the last opening failed (errno), 0 when it did not.
    virtual int LastOpenError() const = 0;
};

}  // namespace serial
