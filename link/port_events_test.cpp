// The port list following the devices of a fake source while the unit's port is opened, lost
// and closed: the watcher's thread, the window's messages and the rebuild rules.
#include <filesystem>

#include "link/fake_device_source_for_test.h"
#include "link/link_fixture_for_test.h"
#include "platform/temp_folder_for_test.h"

namespace devlink::testing {
namespace {

const std::string kById = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
using Paths = std::vector<std::string>;

class PortEvents : public LinkTest {
  protected:
    ui::Combo* List() { return window.form.Find<ui::Combo>("SerialPort"); }
    Paths Items() {
        Paths items;
        for (int i = 0; i < List()->GetCount(); ++i) items.push_back(List()->GetItemText(i));
        return items;
    }
    size_t Logged(std::string_view text) const { return Occurrences(window.log, text); }

    FakeDeviceSource devices;  // outlives the watcher: LinkTest::TearDown stops it
    platform::testing_support::TempFolder proc;
};

TEST_F(PortEvents, TheListFollowsTheDevicesWaitsForTheCloseAndSelectsALostAdapterThatIsBack) {
    StartUnit();
    const std::string unitPath = unit->DevicePath();
    window.link.SetExtraPorts({unitPath});  // as "--port" lists it
    devices.Add({.path = unitPath, .byIdPath = kById, .vendorId = "1a86", .productId = "7523"});
    window.link.UseDeviceSource(&devices);
    std::filesystem::create_directories(proc.File("4242"));  // ModemManager runs
    platform::testing_support::WriteFile(proc.File("4242/comm"), "ModemManager\n");
    window.link.SetProcRoot(proc.Path());
    ASSERT_TRUE(window.link.StartPortWatcher());
    devices.Add({.path = "/dev/ttyUSB9"});
    ASSERT_TRUE(Until([&] { return Items() == Paths{unitPath, "/dev/ttyUSB9"}; }));
    EXPECT_EQ(List()->GetText(), unitPath);

    // Opening a USB adapter that ModemManager may probe: the hint and the rule for it, once.
    Open();
    EXPECT_EQ(Logged("ModemManagerHint\r\n"
                     R"(ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523", )"
                     R"(ENV{ID_MM_DEVICE_IGNORE}="1")"
                     "\r\n"),
              1u)
        << window.log;

    // While the port is open the list stays as it is, even when opened.
    devices.Add({.path = "/dev/ttyUSB10"});
    ASSERT_TRUE(Until([&] { return window.link.PortListDue(); }));
    window.link.RefreshPortList();
    EXPECT_EQ(Items(), (Paths{unitPath, "/dev/ttyUSB9"}));

    // The adapter is unplugged: the close rebuilds the list. Its device is still listed for
    // a moment, which is no return.
    unit->Unplug();
    ASSERT_TRUE(Until([&] { return !window.link.PortOpen(); }));
    EXPECT_EQ(Items(), (Paths{unitPath, "/dev/ttyUSB10", "/dev/ttyUSB9"}));
    devices.Remove(unitPath);
    ASSERT_TRUE(Until([&] { return List()->GetItemAt(0)->GetAttribute("tooltip").empty(); }));
    EXPECT_EQ(Logged("PortBack"), 0u);

    // It comes back on another node: told once, selected, not opened.
    devices.Add({.path = "/dev/ttyUSB11", .byIdPath = kById});
    ASSERT_TRUE(Until([&] { return List()->GetText() == "/dev/ttyUSB11"; })) << window.log;
    EXPECT_EQ(Logged("PortBack /dev/ttyUSB11\r\n"), 1u);
    window.link.RefreshPortList();
    EXPECT_EQ(List()->GetText(), "/dev/ttyUSB11");
    EXPECT_EQ(Logged("PortBack"), 1u);
    EXPECT_FALSE(window.link.PortOpen());
}

}  // namespace
}  // namespace devlink::testing
