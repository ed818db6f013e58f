// The POSIX side of a serial port: opening a device exclusively, its line settings, its
// input queue and its line-error counters. Every call reports failure through errno.
#pragma once

#include <string>

#include "serial/line_settings.h"

namespace serial::tty {

/// Opens `path` for reading and writing, non-blocking, without becoming its controlling
/// terminal and closed on exec, and takes it exclusively: an advisory lock first (it holds
/// against every other program, root included), then the terminal's exclusive mode. Returns
/// the descriptor, or -1 with errno set (EWOULDBLOCK: another program holds the port).
int OpenExclusive(const std::string& path);
/// Raw mode at the speed the device has: no echo, no line editing, no CR/LF mapping, reads
/// that never wait. Done right after opening, so a settings step that fails later never
/// leaves the port cooked. False on failure.
bool MakeRaw(int fd);
/// Raw mode with the given settings; any positive baud rate (standard rates through
/// termios, others through termios2). False on failure.
bool ApplySettings(int fd, const LineSettings& settings);
/// The speed the terminal is set to; 0 when it cannot be read.
int CurrentBaud(int fd);
/// Asks the driver to hand over received bytes at once instead of after its latency timer
/// (16 ms on FTDI adapters), so a unit's short "OK" is not held back. Drivers without the
/// setting (pseudo-terminals) refuse: ignored.
void AskLowLatency(int fd);
/// Holds RTS and DTR on. Devices without modem lines (pseudo-terminals) refuse: ignored.
void RaiseModemLines(int fd);
/// Bytes written but not yet gone out on the line; 0 when unknown (pseudo-terminals).
int OutputQueued(int fd);

/// What one read of the input gave.
enum class ReadOutcome {
    kData,     ///< bytes were read
    kNothing,  ///< nothing to read now: announced bytes were flushed, or a spurious wake-up
    kLost,     ///< the device is gone: an I/O error, or it no longer answers at all
};
/// Reads at most `size` bytes into `buffer` without waiting; `count` gets the number read.
/// A read that gives nothing is not taken for a hang-up: with reads that never wait it also
/// happens when bytes that poll announced were discarded in between.
ReadOutcome ReadAvailable(int fd, char* buffer, size_t size, size_t& count);
/// Discards the input queue, or both queues.
void PurgeInput(int fd);
void PurgeBoth(int fd);
/// Bytes waiting in the input queue; 0 when unknown.
int InputQueued(int fd);
/// Sum of the line-error counters (framing, parity, overruns, breaks); -1 where the device
/// keeps none (pseudo-terminals).
long LineErrorCount(int fd);
/// Sets a speed that termios has no constant for; in its own file because the kernel's
/// termios2 header cannot share a unit with <termios.h>.
bool SetCustomBaud(int fd, int baud);
int ReadCustomBaud(int fd);

}  // namespace serial::tty
