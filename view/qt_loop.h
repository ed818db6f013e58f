// Runs a ui::Window's queue and timers inside the Qt event loop.
#pragma once

#include <QObject>
#include <QTimer>

#include "ui/window.h"

namespace view {

class QtLoop : public QObject {
  public:
    /// Binds `window` to the calling (GUI) thread; must outlive every thread that posts to it.
    explicit QtLoop(ui::Window& window);
    ~QtLoop() override;
    /// Runs until the window's quit message; returns its exit code and ends the window's loop.
    int Run();

  private:
    void Drain();
    void Reschedule();

    ui::Window& window_;
    QTimer timer_;
    bool running_ = false;
};

}  // namespace view
