// Replacing a file's content so that nobody ever sees half of it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// Replaces the content of `path` with `bytes`: they go to a new file in the same folder
/// (created with mode 0600), which is flushed to the disk, given the old file's mode (a new
/// file gets 0666 less the umask, as any created file would) and renamed over `path`; the
/// folder is then flushed too. A reader sees the old content or the new, never a mixture.
/// A symbolic link stays a link: the file it points at is replaced, or created when missing.
/// On failure nothing is changed, no temporary file is left behind, and the result is false
/// with the cause in errno and in `*error` (when given).
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, int* error = nullptr);

}  // namespace platform
