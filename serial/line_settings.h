// Line settings of a serial port, from the settings text "baud=%d parity=%c data=%d stop=%d".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devlink {

struct LineSettings {
    int baud = 9600;
    char parity = 'N';  // N none, E even, O odd, M mark, S space
    int dataBits = 8;   // 5 to 8
    int stopBits = 1;   // 1 or 2
};

/// The settings text for the given values.
std::string FormatSettings(int baud, char parity, int dataBits, int stopBits);
/// Parses a settings text of "key=value" words separated by blanks. Refuses (nothing) an
/// unknown key, a missing key, a baud rate that is not a positive number, a parity other than
/// N, E, O, M, S (either case), data bits outside 5 to 8 and stop bits other than 1 or 2.
std::optional<LineSettings> ParseSettings(std::string_view text);

}  // namespace devlink
