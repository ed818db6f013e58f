// Test support: random states of a unit, for properties checked over many seeds.
#pragma once

#include <cstdint>

#include "sim/profiles.h"
#include "sim/unit_state.h"

namespace sim::testing {

/// Which values a random state gives the commands that hold a number or one of a few values.
enum class ValueMix {
    kListed,  ///< only values an item of the tool's lists stands for, and numbers in range
    kAny,     ///< as kListed, but one draw in four is a value no list knows: one the unit knows
              ///< (the command's unlisted values, a number just out of range) or "77" or "x"
};

/// The unit of `profile` with every command that its report shows set to a value drawn with
/// `seed` from the command's domain. Free text is, in equal shares: empty; as long as the
/// domain allows (99 bytes); words with blanks between them; printable ASCII of any length.
/// Text never holds CR, LF, a blank at either end, "OK" or "ERROR" (the tool takes those
/// words anywhere in an answer for its end). The same seed gives the same state everywhere.
UnitState RandomUnitState(const Profile& profile, std::uint32_t seed,
                          ValueMix mix = ValueMix::kAny);

}  // namespace sim::testing
