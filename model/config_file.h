// Configuration files (".cfg"): the unit's report as received, stored as a text-mode file the
// way the tool has always written them: every LF written as CR LF, CR LF read back as LF, a
// byte 26 ends the text, at most kConfigReadLimit bytes of text read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

/// The longest text read from a configuration file; the rest of a longer file is ignored.
constexpr size_t kConfigReadLimit = 16000;

/// The bytes on disk for `text`: each LF becomes CR LF.
std::string ToFileText(std::string_view text);
/// The text of file bytes: CR LF becomes LF, byte 26 ends the text, at most `limit` bytes.
std::string FromFileText(std::string_view bytes, size_t limit = kConfigReadLimit);

/// Writes `text` as a configuration file, replacing the file whole (`ReplaceFileAtomically`),
/// so a failure never leaves a half-written or emptied file. False (errno set) when the file
/// cannot be written.
bool WriteConfigFile(const std::string& path, std::string_view text);
/// The text of a configuration file; nothing when it cannot be read.
std::optional<std::string> ReadConfigFile(const std::string& path);

}  // namespace model
