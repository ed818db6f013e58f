// A thread of its own that watches a device source and tells the window when the serial
// devices change. It only posts: it never waits for the window, so stopping it is prompt.
#pragma once

#include <cstdint>
#include <thread>

#include "serial/device_source.h"
#include "ui/window.h"

namespace devlink {

class PortWatcher {
  public:
    /// Starts the thread; it posts `message` to `window` after each change `source` reports.
    /// Throws std::system_error when the thread or its stop event cannot be created. The
    /// source and the window must outlive the watcher.
    PortWatcher(DeviceSource& source, ui::Window& window, std::uint32_t message);
    /// Stops the thread and waits for it.
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

  private:
    void Run();

    DeviceSource& source_;
    ui::Window& window_;
    const std::uint32_t message_;
    const int stopEvent_;
    std::thread thread_;
};

}  // namespace devlink
