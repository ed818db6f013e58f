// Message boxes and file dialogs, the only modal interaction of the program. The desktop
// front end implements them with real dialogs; tests and the command-line tool script them.
#pragma once

#include <cstddef>
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

/// One line of the write review: what "Save" would send for one or more rows, or why it will
/// not send it.
struct ReviewRow {
    std::string page;       ///< the form page's tab text
    std::string label;      ///< the field's label as the form shows it
    std::string unitValue;  ///< what the unit reported
    std::string newValue;   ///< what the line writes (a refused row: what the field holds)
    std::string line;       ///< the AT line without its CR LF
    bool sent = true;       ///< false: the rules refuse it; `reason` says why
    std::string reason;
    std::vector<std::string> rows;  ///< the catalogue rows the line is for
};

/// The texts of the review dialog, in the skin's language.
struct ReviewTexts {
    std::string title, page, label, unitValue, newValue, line, status;
    std::string sent, revert, save, close, empty;
};

/// A question with its answers, the first the default: "Restore", "Save first", "Cancel".
struct Question {
    std::string text, caption;
    std::vector<std::string> answers;
};

/// What the user did in the review: the rows (by index) to revert, and whether to save now.
struct ReviewChoice {
    std::vector<std::size_t> revert;
    bool save = false;
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
    /// Asks `question`; returns the index of the answer chosen, or nothing when the box was
    /// closed without one (which callers take as the safe answer: nothing is done).
    virtual std::optional<std::size_t> Ask(const Question& /*question*/) { return std::nullopt; }
    /// Shows the lines "Save" would send; a front end without a screen reverts nothing and
    /// does not save.
    virtual ReviewChoice ShowWriteReview(const std::vector<ReviewRow>& /*rows*/,
                                         const ReviewTexts& /*texts*/) {
        return {};
    }
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
    ReviewChoice ShowWriteReview(const std::vector<ReviewRow>& rows,
                                 const ReviewTexts& texts) override;
    std::optional<std::size_t> Ask(const Question& question) override;

    /// The questions to come answer these, in order (then: closed without an answer).
    void SetNextAnswers(std::vector<std::optional<std::size_t>> answers) {
        nextAnswers_ = std::move(answers);
    }
    /// Every question asked, in order.
    const std::vector<Question>& Questions() const { return questions_; }
    /// The reviews to come answer these, in order (then: revert nothing, do not save).
    void SetNextReviews(std::vector<ReviewChoice> choices) { nextReviews_ = std::move(choices); }
    /// The rows of every review shown, in order.
    const std::vector<std::vector<ReviewRow>>& Reviews() const { return reviews_; }
    /// The next file dialog returns `path` (nothing: the user cancels).
    void SetNextFileName(std::optional<std::string> path) { next_ = std::move(path); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    const std::vector<FileDialogOptions>& FileDialogs() const { return fileDialogs_; }

  private:
    std::optional<std::string> next_;
    std::vector<Box> boxes_;
    std::vector<FileDialogOptions> fileDialogs_;
    std::vector<ReviewChoice> nextReviews_;
    std::vector<std::vector<ReviewRow>> reviews_;
    std::vector<std::optional<std::size_t>> nextAnswers_;
    std::vector<Question> questions_;
};

}  // namespace platform
