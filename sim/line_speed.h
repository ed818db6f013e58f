// The speed the tool has set on the serial line, as the unit sees it.
#pragma once

#include <termios.h>

namespace sim {

/// The speed assumed when the line's speed cannot be read or is not a standard one.
inline constexpr long kFallbackBaud = 115200;

/// Bits per second of the termios speed constant `speed` (B9600 → 9600); 0 for B0 and for
/// values that are not standard speed constants (such as BOTHER).
long BaudOfSpeed(speed_t speed);

/// Bits per second of the output speed set on the terminal `fd`; kFallbackBaud when it cannot
/// be read or reads as 0 or as a non-standard speed.
long LineBaud(int fd);

}  // namespace sim
