// The line settings of a serial port, typed: the speed and the character format. The form's
// texts ("115200" and "8N1") are read into them once, at the edge; the port trusts them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace serial {

enum class Parity : char { kNone = 'N', kEven = 'E', kOdd = 'O', kMark = 'M', kSpace = 'S' };

struct LineSettings {
    int baud = 9600;   ///< any positive rate; those termios has no constant for go through termios2
    int dataBits = 8;  ///< 5 to 8
    Parity parity = Parity::kNone;
    int stopBits = 1;  ///< 1 or 2
};

/// The settings of `baud` and a character format of data bits, parity and stop bits ("8N1",
/// "7E2"; the parity in either case). Nothing when the baud rate is not positive or the
/// format is not three such characters.
std::optional<LineSettings> MakeLineSettings(int baud, std::string_view format);

/// "115200 8N1": the settings as a person reads them, for messages.
std::string Describe(const LineSettings& settings);

}  // namespace serial
