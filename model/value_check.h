// What the form knows of a field's values before they are sent: server addresses, port
// numbers and the ranges of numeric fields. The unit has the last word (some firmware takes
// more), so a value that fails here is questioned, never dropped.
#pragma once

#include <string_view>

namespace model {

enum class ValueProblem {
    kNone,
    kAddress,  ///< neither an IPv4 address nor a host name
    kIpv4,     ///< not an IPv4 address
    kPort,     ///< not a port number from 1 to 65535
    kRange,    ///< not a decimal number within the field's range
};

struct ValueCheck {
    ValueProblem problem = ValueProblem::kNone;
    long low = 0, high = 0;  ///< the range a kRange or kPort check allowed
};

/// A dotted quad of decimal numbers 0 to 255 without leading zeros ("10.0.0.1").
bool IsIpv4Address(std::string_view text);
/// A host name of letters, digits and hyphens in labels of 1 to 63 characters that neither
/// start nor end with a hyphen, at most 253 characters, a final dot allowed; a name whose last
/// label is all digits must be an IPv4 address instead.
bool IsHostName(std::string_view text);
/// A decimal number from `low` to `high` without sign, blank or leading zero.
bool IsNumberIn(std::string_view text, long low, long high);

/// What is wrong with `value` in the field `row` (a catalogue row's name); kNone for a good
/// value and for a field of which nothing is known.
ValueCheck CheckFieldValue(std::string_view row, std::string_view value);

}  // namespace model
