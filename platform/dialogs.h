// Message boxes and file dialogs, the only modal interaction of the program. The desktop
// front end implements them with real dialogs; tests and the command-line tool script them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class BoxIcon { None, Stop };

struct FileFilter {
    std::string description;  // "cfg(*.cfg)"
    std::string pattern;      // "*.cfg"
};

struct FileDialogOptions {
    std::vector<FileFilter> filters;  // the first one is shown first
    std::string initialFolder;
    std::string proposedName;
    bool mustExist = true;  // the chosen file must already exist
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    /// A modal box with only an OK button and no owner window; returns when it is closed.
    virtual void MessageBox(const std::string& text, const std::string& caption,
                            BoxIcon icon = BoxIcon::None) = 0;
    /// The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
};

/// Answers from a script and remembers what was shown.
class ScriptedDialogs final : public Dialogs {
  public:
    struct Box {
        std::string text, caption;
        BoxIcon icon;
    };
    void MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

    /// The next file dialog returns `path` (nothing: the user cancels).
    void SetNextFileName(std::optional<std::string> path) { next_ = std::move(path); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    const std::vector<FileDialogOptions>& FileDialogs() const { return fileDialogs_; }

  private:
    std::optional<std::string> next_;
    std::vector<Box> boxes_;
    std::vector<FileDialogOptions> fileDialogs_;
};

}  // namespace platform
