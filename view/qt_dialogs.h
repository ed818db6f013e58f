// Message boxes and file dialogs on the desktop.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/dialogs.h"

class QWidget;
class QTableWidget;

namespace view {

class QtDialogs final : public platform::Dialogs {
  public:
    void MessageBox(const std::string& text, const std::string& caption,
                    platform::BoxIcon icon) override;
    std::optional<std::string> OpenFile(const platform::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const platform::FileDialogOptions& options) override;
    /// A question box with a push button per answer; Escape or the close button answer nothing.
    std::optional<std::size_t> Ask(const platform::Question& question) override;
    /// A table of the lines with a check box per row to revert (review_dialog.cpp).
    platform::ReviewChoice ShowWriteReview(const std::vector<platform::ReviewRow>& rows,
                                           const platform::ReviewTexts& texts) override;
};

/// The review's table, filled from `rows`, inside `parent`: a check box "revert" in the first
/// column of every row that is sent. Made apart from the dialog, so tests can read it.
QTableWidget* MakeReviewTable(const std::vector<platform::ReviewRow>& rows,
                              const platform::ReviewTexts& texts, QWidget* parent);
/// The rows whose revert box is checked.
std::vector<std::size_t> CheckedReverts(const QTableWidget& table);

}  // namespace view
