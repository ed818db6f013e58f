// Test support: a device source whose devices the test adds and removes. Each change wakes
// the watcher through an eventfd, as a udev event would.
#pragma once

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "serial/device_source.h"

namespace serial::testing {

class FakeDeviceSource final : public DeviceSource {
  public:
    ~FakeDeviceSource() override { ::close(event_); }

    void Add(SerialDevice device) {
        std::lock_guard lock(mutex_);
        const auto after = [&](const SerialDevice& d) { return d.path > device.path; };
        devices_.insert(std::find_if(devices_.begin(), devices_.end(), after), std::move(device));
        Signal();
    }
    void Remove(const std::string& path) {
        std::lock_guard lock(mutex_);
        std::erase_if(devices_, [&](const SerialDevice& d) { return d.path == path; });
        Signal();
    }

    std::vector<SerialDevice> Devices() override {
        std::lock_guard lock(mutex_);
        return devices_;
    }
    int ChangeDescriptor() const override { return event_; }
    bool ReadChanges() override {
        std::uint64_t count = 0;
        return ::read(event_, &count, sizeof count) == sizeof count && count > 0;
    }

  private:
    void Signal() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(event_, &one, sizeof one);
    }

    const int event_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex mutex_;
    std::vector<SerialDevice> devices_;
};

}  // namespace serial::testing
