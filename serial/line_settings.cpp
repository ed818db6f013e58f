#include "serial/line_settings.h"

#include <cctype>

namespace serial {

namespace {

std::optional<Parity> ParityOf(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'N':
            return Parity::kNone;
        case 'E':
            return Parity::kEven;
        case 'O':
            return Parity::kOdd;
        case 'M':
            return Parity::kMark;
        case 'S':
            return Parity::kSpace;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<LineSettings> MakeLineSettings(int baud, std::string_view format) {
    if (baud <= 0 || format.size() != 3) return std::nullopt;
    const int dataBits = format[0] - '0';
    const int stopBits = format[2] - '0';
    const std::optional<Parity> parity = ParityOf(format[1]);
    if (dataBits < 5 || dataBits > 8 || !parity || (stopBits != 1 && stopBits != 2)) {
        return std::nullopt;
    }
    return LineSettings{baud, dataBits, *parity, stopBits};
}

std::string Describe(const LineSettings& s) {
    return std::to_string(s.baud) + " " + std::to_string(s.dataBits) + static_cast<char>(s.parity) +
           std::to_string(s.stopBits);
}

}  // namespace serial
