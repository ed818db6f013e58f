// Message boxes and file dialogs on the desktop.
#pragma once

#include "platform/dialogs.h"

namespace view {

class QtDialogs final : public platform::Dialogs {
  public:
    void MessageBox(const std::string& text, const std::string& caption,
                    platform::BoxIcon icon) override;
    std::optional<std::string> OpenFile(const platform::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const platform::FileDialogOptions& options) override;
};

}  // namespace view
