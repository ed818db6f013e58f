// Test support: random states of a unit, for properties checked over many seeds.
#pragma once

#include <cstdint>

#include "sim/profiles.h"
#include "sim/unit_state.h"

namespace sim::testing {

/// The unit of `profile` with every command that its report shows set to a value drawn with
/// `seed` from the command's domain. One number or list value in four is one that no list
/// item stands for: a value the unit knows, a number just out of range, "77" or "x". Free
/// text is, in equal shares: empty; as long as the domain allows; words with blanks between
/// them; printable ASCII of any length; the result words "OK" and "ERROR" (a unit's answer
/// ends on them alone on a line, never inside a value). It never holds CR, LF or a blank at
/// either end. The same seed gives the same state everywhere.
UnitState RandomUnitState(const Profile& profile, std::uint32_t seed);

}  // namespace sim::testing
