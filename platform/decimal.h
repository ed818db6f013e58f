// Integers as the unit and the setting files write them.
#pragma once

#include <string_view>

namespace platform {

/// Reads a decimal integer the way the C library's atoi does: leading blanks (space, tab,
/// CR, LF, VT, FF) skipped, an optional sign, then digits up to the first other byte.
/// No digits give 0. Values beyond the int range are clamped to it.
int ReadDecimal(std::string_view text);

}  // namespace platform
