// The devices: finding one by a path, the udev device source and the port watcher on it where
// udev runs, and the ModemManager hint.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include "platform/temp_folder_for_test.h"
#include "serial/modem_manager.h"
#include "serial/port_watcher.h"
#include "serial/udev_device_source.h"

namespace serial {
namespace {

// A path the user typed finds its device through any links: a udev rule's own name, say.
TEST(FindDevice, FollowsLinksToTheDevicesNode) {
    platform::testing_support::TempFolder dev;
    platform::testing_support::WriteFile(dev.File("ttyUSB9"), "");
    std::filesystem::create_symlink(dev.File("ttyUSB9"), dev.File("dtu"));
    std::filesystem::create_symlink(dev.File("dtu"), dev.File("dtu-again"));
    const std::string node = std::filesystem::canonical(dev.File("ttyUSB9"));
    const std::vector<SerialDevice> devices = {{.path = "/dev/ttyS0"}, {.path = node}};
    for (const char* name : {"ttyUSB9", "dtu", "dtu-again"}) {
        EXPECT_EQ(FindDevice(devices, dev.File(name)).value_or(SerialDevice{}).path, node) << name;
    }
    EXPECT_FALSE(FindDevice(devices, dev.File("none")));
}

// What is unknown leaves neither a word nor an empty line.
TEST(DeviceTooltip, NamesWhatIsKnownOneToALine) {
    const std::pair<SerialDevice, const char*> cases[] = {
        {{.byIdPath = "/dev/serial/by-id/usb-A1",
          .vendor = "FTDI",
          .model = "FT232R",
          .serial = "A1"},
         "FTDI FT232R\nSerial: A1\n/dev/serial/by-id/usb-A1"},
        {{.model = "CP2102", .driver = "cp210x"}, "CP2102"},
        {{.byIdPath = "/dev/serial/by-id/x", .driver = "ch341-uart"},
         "ch341-uart\n/dev/serial/by-id/x"},
        {{.serial = "7"}, "Serial: 7"},
        {{}, ""},
    };
    for (const auto& [device, tooltip] : cases) {
        EXPECT_EQ(DeviceTooltip(device, "Serial"), tooltip) << tooltip;
    }
}

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
// watcher's caller through a real udev monitor. The fake source's changes are followed
// through the watcher into the port list in link/port_events_test.cpp.
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
    std::atomic<int> changes{0};
    PortWatcher watcher(source, [&] { ++changes; });
    std::ofstream(uevent) << "change\n";
    for (int waited = 0; changes == 0 && waited < 30000; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GT(changes, 0);
}

// Only a process number's "comm" counts, and only the exact name: a longer one, another case,
// a process gone (no "comm") or a missing folder is no ModemManager.
TEST(ModemManager, RunsWhenAProcessOfThatNameIsListed) {
    platform::testing_support::TempFolder proc;
    EXPECT_FALSE(ModemManagerRuns(proc.File("missing")));
    const std::pair<const char*, const char*> processes[] = {
        {"1", "systemd\n"},        {"self", "ModemManager\n"},
        {"52", "ModemManagerX\n"}, {"53", "modemmanager\n"},
        {"54", nullptr},           {"977", "ModemManager\n"}};
    for (const auto& [pid, comm] : processes) {
        EXPECT_FALSE(ModemManagerRuns(proc.Path())) << pid;
        std::filesystem::create_directories(proc.File(pid));
        if (comm) platform::testing_support::WriteFile(proc.File(pid) + "/comm", comm);
    }
    EXPECT_TRUE(ModemManagerRuns(proc.Path()));
}

TEST(ModemManager, RuleOnlyForAUsbAdapterThatIsNotMarked) {
    SerialDevice ch340{.path = "/dev/ttyUSB0", .vendorId = "1a86", .productId = "7523"};
    EXPECT_EQ(ModemManagerIgnoreRule(ch340),
              R"(ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523", ENV{ID_MM_DEVICE_IGNORE}="1")");
    ch340.mmIgnore = true;
    EXPECT_EQ(ModemManagerIgnoreRule(ch340), "");
    EXPECT_EQ(ModemManagerIgnoreRule({.path = "/dev/ttyS0", .driver = "serial8250"}), "");
}

}  // namespace
}  // namespace serial
