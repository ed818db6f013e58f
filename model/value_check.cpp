#include "model/value_check.h"

#include <algorithm>
#include <cctype>

namespace model {

namespace {

enum class Kind { kAddress, kIpv4, kPort, kNumber };

struct FieldRule {
    std::string_view row;
    Kind kind;
    long low = 0, high = 0;  // kNumber only
};

constexpr long kPortLow = 1, kPortHigh = 65535;

// The fields of which the form knows what they hold. A Modbus address names one of 247
// slaves; the NB band is the unit's own range.
constexpr FieldRule kFieldRules[] = {
    {"Server's Ip", Kind::kAddress},
    {"Secondary Server's Ip", Kind::kAddress},
    {"Server2's Ip", Kind::kAddress},
    {"Server3's Ip", Kind::kAddress},
    {"Server4's Ip", Kind::kAddress},
    {"Server5's Ip", Kind::kAddress},
    {"GPS Server's Ip", Kind::kAddress},
    {"dtu manage server's Ip", Kind::kAddress},
    {"ICMP Ip", Kind::kAddress},
    {"Dns Server's Ip", Kind::kIpv4},
    {"Second Dns Server's Ip", Kind::kIpv4},
    {"Server's Port", Kind::kPort},
    {"Secondary Server's Port", Kind::kPort},
    {"Server2's Port", Kind::kPort},
    {"Server3's Port", Kind::kPort},
    {"Server4's Port", Kind::kPort},
    {"Server5's Port", Kind::kPort},
    {"GPS Server's Port", Kind::kPort},
    {"dtu manage server's Port", Kind::kPort},
    {"ListenPort", Kind::kPort},
    {"NBBand", Kind::kNumber, 1, 65535},
    {"Mobus address", Kind::kNumber, 1, 247},
};

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

bool IsLabel(std::string_view label) {
    if (label.empty() || label.size() > 63) return false;
    if (label.front() == '-' || label.back() == '-') return false;
    return std::all_of(label.begin(), label.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
    });
}

}  // namespace

bool IsNumberIn(std::string_view text, long low, long high) {
    // Ten digits already exceed every range here; the cap keeps the sum from overflowing.
    if (!AllDigits(text) || text.size() > 10 || (text.size() > 1 && text[0] == '0')) {
        return false;
    }
    long value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value >= low && value <= high;
}

bool IsIpv4Address(std::string_view text) {
    int parts = 0;
    for (size_t start = 0;; ++parts) {
        const size_t dot = text.find('.', start);
        const std::string_view part = text.substr(start, dot - start);
        if (!IsNumberIn(part, 0, 255)) return false;
        if (dot == std::string_view::npos) return parts == 3;
        start = dot + 1;
    }
}

bool IsHostName(std::string_view text) {
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty() || text.size() > 253) return false;
    std::string_view last;
    for (size_t start = 0;;) {
        const size_t dot = text.find('.', start);
        last = text.substr(start, dot - start);
        if (!IsLabel(last)) return false;
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return !AllDigits(last);
}

ValueCheck CheckFieldValue(std::string_view row, std::string_view value) {
    const auto* rule = std::find_if(std::begin(kFieldRules), std::end(kFieldRules),
                                    [&](const FieldRule& r) { return r.row == row; });
    if (rule == std::end(kFieldRules)) return {};
    switch (rule->kind) {
        case Kind::kAddress:
            if (IsIpv4Address(value) || IsHostName(value)) return {};
            return {ValueProblem::kAddress};
        case Kind::kIpv4:
            return IsIpv4Address(value) ? ValueCheck{} : ValueCheck{ValueProblem::kIpv4};
        case Kind::kPort:
            if (IsNumberIn(value, kPortLow, kPortHigh)) return {};
            return {ValueProblem::kPort, kPortLow, kPortHigh};
        case Kind::kNumber:
            if (IsNumberIn(value, rule->low, rule->high)) return {};
            return {ValueProblem::kRange, rule->low, rule->high};
    }
    return {};
}

}  // namespace model
