// The lines the tool sends to the unit, each exactly as it goes on the line. Parameter writes
// are built from the catalogue's commands (command_builder.h).
#pragma once

#include <string>
#include <string_view>

namespace model {

inline constexpr std::string_view kReportLine = "\r\nAT+SHOW\r\n";
inline constexpr std::string_view kFactoryLine = "\r\nAT+FACTORY\r\n";
inline constexpr std::string_view kQuitLine = "\r\nat+quit\r\n";
inline constexpr std::string_view kNetModeLine = "AT+FINDNETMODE\r\n";
inline constexpr std::string_view kVersionLine = "At+VER\r\n";
inline constexpr std::string_view kPinLine = "\r\nAT+CPIN?\r\n";
inline constexpr std::string_view kImsiLine = "\r\nAT+CIMI\r\n";
inline constexpr std::string_view kSignalLine = "At+CSQ\r\n";
inline constexpr std::string_view kReadLogLine = "at+READFILELOG\r\n";
/// Asks a running unit into configuration mode (sent without a line end).
inline constexpr std::string_view kLoginText = "+++";
/// Asks a starting unit into configuration mode, every 100 ms during its prompt.
inline constexpr std::string_view kHandshakeByte = "s";

/// The clock line for `clock` ("yyyy/mm/dd,hh:mm:ss").
inline std::string ClockLine(std::string_view clock) {
    return "AT+EXCCLK=\"" + std::string(clock) + "\",5\r\n";
}

}  // namespace model
