#include "sim/random_state_for_test.h"

#include <random>
#include <string>
#include <vector>

#include "sim/command_table.h"

namespace sim::testing {
namespace {

// Draws from std::mt19937, whose output the standard fixes; the distributions are our own,
// because the library's differ between implementations.
struct Draw {
    /// A number from 0 to n - 1, every one equally likely (n > 0).
    std::size_t Below(std::size_t n) {
        const std::uint64_t span = std::uint64_t{1} << 32;
        for (;;) {
            const std::uint64_t value = engine();
            if (value < span - span % n) return static_cast<std::size_t>(value % n);
        }
    }
    std::string Of(const std::vector<std::string>& values) { return values[Below(values.size())]; }
    /// A printable ASCII character; a blank only when `blank` is set.
    char Printable(bool blank) {
        const char first = blank ? ' ' : '!';
        return static_cast<char>(first + static_cast<char>(Below('~' - first + 1)));
    }

    std::mt19937 engine;
};

// Printable text of `length` bytes without a blank at either end; with `words` (length 3
// or more), at least one blank and more blanks than chance would give stand inside.
std::string Text(Draw& draw, std::size_t length, bool words) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const bool inner = i > 0 && i + 1 < length;
        text += inner && words && draw.Below(4) == 0 ? ' ' : draw.Printable(inner && !words);
    }
    if (words) text[1 + draw.Below(length - 2)] = ' ';
    return text;
}

std::string FreeText(Draw& draw, std::size_t maxBytes) {
    const std::size_t kind = draw.Below(5);
    if (kind == 0) return {};
    if (kind == 1) return Text(draw, maxBytes, false);
    if (kind == 2) return Text(draw, 3 + draw.Below(maxBytes - 2), true);
    if (kind == 4) return Text(draw, 1 + draw.Below(maxBytes), false);
    // The words a unit ends its answers with, as a whole value or inside one.
    const std::string words = draw.Of({"OK", "ERROR", "OK ERROR", "x.OK.y"});
    return words.size() <= maxBytes ? words : std::string();
}

std::string ValueFor(Draw& draw, const UnitCommand& command) {
    if (command.kind == DomainKind::kText) return FreeText(draw, command.maxBytes);
    if (draw.Below(4) == 0) {  // a value no list item stands for: one the unit knows, or not
        std::vector<std::string> values = command.unlisted;
        if (command.kind == DomainKind::kNumber) {
            values.insert(values.end(),
                          {std::to_string(command.low - 1), std::to_string(command.high + 1)});
        }
        values.insert(values.end(), {"77", "x"});
        return draw.Of(values);
    }
    if (command.kind == DomainKind::kList) return draw.Of(command.listed);
    // A number: either bound, or any in range.
    const std::size_t span = static_cast<std::size_t>(command.high - command.low) + 1;
    const std::size_t pick = draw.Below(3) == 0   ? span - 1
                             : draw.Below(2) == 0 ? 0
                                                  : draw.Below(span);
    return std::to_string(command.low + static_cast<long>(pick));
}

}  // namespace

UnitState RandomUnitState(const Profile& profile, std::uint32_t seed) {
    Draw draw{std::mt19937(seed)};
    UnitState state(profile);
    for (const UnitCommand& command : UnitCommands()) {
        state.SetValue(command.command, ValueFor(draw, command));
    }
    return state;
}

}  // namespace sim::testing
