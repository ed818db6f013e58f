// The dialogs of the window on the command line: a message box is a line on standard error,
// and a file dialog answers with the path the command was given.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace cli {

class CommandLineDialogs final : public platform::Dialogs {
  public:
    /// Message boxes are written to `err` as "dtucfg: CAPTION: TEXT".
    explicit CommandLineDialogs(std::ostream& err) : err_(err) {}

    void MessageBox(const std::string& text, const std::string& caption,
                    platform::BoxIcon icon) override;
    /// Both answer with the path set by SetFilePath; nothing (the user cancels) without one.
    std::optional<std::string> OpenFile(const platform::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const platform::FileDialogOptions& options) override;
    /// The command the user typed is the confirmation: the first answer, the one that goes
    /// ahead ("Restore" for "factory"), without a word; or what SetAnswer chose.
    std::optional<std::size_t> Ask(const platform::Question& question) override;

    /// The path the next file dialogs answer with.
    void SetFilePath(std::string path) { path_ = std::move(path); }
    /// The answer every question gets from now on (a command given --force says yes).
    void SetAnswer(std::optional<std::size_t> answer) { answer_ = answer; }

  private:
    std::ostream& err_;
    std::optional<std::string> path_;
    std::optional<std::size_t> answer_ = 0;
};

}  // namespace cli
