// Profile (INI) files with the semantics the Windows profile functions give: bracketed
// sections of "key=value" lines; section and key names compared without regard to ASCII
// letter case; blanks around names and values ignored; a value in matching double quotes
// loses the quotes; lines starting with ';' are comments. Files are UTF-8 text with LF or
// CR LF line ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

/// The value of `key` in `section`, cut to at most `maxChars` characters (UTF-8 code points,
/// never splitting one); `defaultValue` (cut alike) when the file, section or key is missing.
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars);

/// Sets `key` of `section` to `value`, keeping every other line of the file as it was:
/// replaces the key's line in place, or adds the key at the end of its section, or adds the
/// section at the end of the file; creates the file when missing. The file is replaced whole
/// (`ReplaceFileAtomically`: a reader never sees half of it, a link stays a link, the mode is
/// kept). False on failure.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
