// The udev device source, and the port watcher on it where udev runs.
#include "serial/port_watcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/messages.h"
#include "serial/udev_device_source.h"
#include "ui/headless_loop.h"

namespace devlink {
namespace {

/// Counts the change messages. The fake source's changes are followed through the watcher
/// into the port list in port_events_test.cpp.
struct DevicesWindow : ui::Window {
    DevicesWindow() : ui::Window(ui::RealClock()) {}
    std::intptr_t HandleMessage(const ui::Message& msg, bool&) override {
        changes += msg.id == UM_PORTS_CHANGED;
        return 0;
    }
    int changes = 0;
};

TEST(UdevDeviceSource, ListsSortedDeviceNodesThatExist) {
    UdevDeviceSource source;
    const std::vector<SerialDevice> devices = source.Devices();
    if (devices.empty()) GTEST_SKIP() << "no serial device on this machine";
    for (size_t i = 0; i < devices.size(); ++i) {
        const SerialDevice& d = devices[i];
        EXPECT_TRUE(i == 0 || devices[i - 1].path < d.path) << d.path;
        EXPECT_TRUE(std::filesystem::exists(d.path)) << d.path;
        EXPECT_FALSE(d.path.starts_with("/dev/pts/")) << d.path;
        EXPECT_TRUE(d.byIdPath.empty() || std::filesystem::canonical(d.byIdPath) == d.path)
            << d.byIdPath;
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
    DevicesWindow window;
    ui::HeadlessLoop loop(window);
    PortWatcher watcher(source, window, UM_PORTS_CHANGED);
    std::ofstream(uevent) << "change\n";
    EXPECT_TRUE(loop.RunUntil([&] { return window.changes > 0; }, 30000));
}

}  // namespace
}  // namespace devlink
