// The port watcher's thread against the fake device source, and the udev source where udev
// runs.
#include "link/port_watcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/fake_device_source_for_test.h"
#include "link/messages.h"
#include "link/udev_device_source.h"
#include "ui/headless_loop.h"

namespace devlink {
namespace {

/// Counts the change messages and what the source lists when each is handled.
class DevicesWindow : public ui::Window {
  public:
    explicit DevicesWindow(DeviceSource& source) : ui::Window(ui::RealClock()), source_(source) {}
    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled) override {
        if (msg.id != UM_PORTS_CHANGED) {
            handled = false;
            return 0;
        }
        seen.push_back(source_.Devices().size());
        return 0;
    }
    std::vector<size_t> seen;  // device counts, one per message

  private:
    DeviceSource& source_;
};

TEST(PortWatcher, PostsWhenADeviceComesAndWhenItGoes) {
    testing::FakeDeviceSource devices;
    DevicesWindow window(devices);
    ui::HeadlessLoop loop(window);
    PortWatcher watcher(devices, window, UM_PORTS_CHANGED);
    devices.Add({.path = "/dev/ttyUSB0", .byIdPath = "/dev/serial/by-id/usb-FTDI-if00-port0"});
    ASSERT_TRUE(loop.RunUntil([&] { return !window.seen.empty(); }, 30000));
    EXPECT_EQ(window.seen.back(), 1u);
    const size_t before = window.seen.size();
    devices.Remove("/dev/ttyUSB0");
    ASSERT_TRUE(loop.RunUntil([&] { return window.seen.size() > before; }, 30000));
    EXPECT_EQ(window.seen.back(), 0u);
}

TEST(UdevDeviceSource, ListsSortedDeviceNodesThatExist) {
    UdevDeviceSource source;
    const std::vector<SerialDevice> devices = source.Devices();
    for (size_t i = 0; i < devices.size(); ++i) {
        const SerialDevice& d = devices[i];
        if (i > 0) {
            EXPECT_LT(devices[i - 1].path, d.path);
        }
        EXPECT_TRUE(std::filesystem::exists(d.path)) << d.path;
        EXPECT_FALSE(d.path.starts_with("/dev/pts/")) << d.path;
        if (d.byIdPath.empty()) continue;
        EXPECT_EQ(std::filesystem::canonical(d.byIdPath), d.path) << d.byIdPath;
    }
}

// A "change" event raised on a tty device, as "udevadm trigger" raises it, reaches the
// window through a real udev monitor.
TEST(UdevDeviceSource, RealMonitorSeesAChangeOfATtyDevice) {
    if (!UdevDeviceSource::UdevRuns()) {
        GTEST_SKIP() << "udev does not run on this machine (no /run/udev/control)";
    }
    const std::string uevent = "/sys/class/tty/tty0/uevent";
    if (::access(uevent.c_str(), W_OK) != 0) {
        GTEST_SKIP() << "raising a udev event needs write access to " << uevent << " (root)";
    }
    UdevDeviceSource source;
    ASSERT_GE(source.ChangeDescriptor(), 0);
    DevicesWindow window(source);
    ui::HeadlessLoop loop(window);
    PortWatcher watcher(source, window, UM_PORTS_CHANGED);
    std::ofstream(uevent) << "change\n";
    EXPECT_TRUE(loop.RunUntil([&] { return !window.seen.empty(); }, 30000));
}

}  // namespace
}  // namespace devlink
