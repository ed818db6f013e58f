// The desktop front end: the Qt window, its dialogs and the real clock.
#pragma once

#include "app/startup.h"
#include "view/qt_dialogs.h"

namespace view {

class QtFrontend final : public app::Frontend {
  public:
    platform::Dialogs& Dialogs() override { return dialogs_; }
    ui::Clock& Clock() override { return ui::RealClock(); }
    int Run(app::CK4X30FrameWnd& frame) override;

  private:
    QtDialogs dialogs_;
};

}  // namespace view
