#include "cli/cli_dialogs.h"

#include <ostream>

#include "cli/output.h"

namespace cli {

void CommandLineDialogs::MessageBox(const std::string& text, const std::string& caption,
                                    platform::BoxIcon) {
    err_ << "dtucfg: " << Printable(caption) << ": " << Printable(text) << '\n' << std::flush;
}

std::optional<std::string> CommandLineDialogs::OpenFile(const platform::FileDialogOptions&) {
    return path_;
}

std::optional<std::string> CommandLineDialogs::SaveFile(const platform::FileDialogOptions&) {
    return path_;
}

std::optional<std::size_t> CommandLineDialogs::Ask(const platform::Question&) {
    return answer_;
}

}  // namespace cli
