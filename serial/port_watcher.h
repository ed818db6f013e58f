// A thread of its own that watches a device source and says when the serial devices change.
// What it calls must not wait for the thread that stops the watcher, so stopping is prompt.
#pragma once

#include <functional>
#include <thread>

#include "serial/device_source.h"

namespace serial {

class PortWatcher {
  public:
    /// Starts the thread; it calls `changed` (on that thread) after each change `source`
    /// reports. Throws std::system_error when the thread or its stop event cannot be created.
    /// The source must outlive the watcher.
    PortWatcher(DeviceSource& source, std::function<void()> changed);
    /// Stops the thread and waits for it.
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

  private:
    void Run();

    DeviceSource& source_;
    const std::function<void()> changed_;
    const int stopEvent_;
    std::thread thread_;
};

}  // namespace serial
