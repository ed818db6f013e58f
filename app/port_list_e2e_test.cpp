// The port list following the devices of a fake source while the simulated unit's port is
// opened, lost and closed: the watcher's thread, the window's messages and the rebuild rules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/unit_fixture_for_test.h"
#include "link/fake_device_source_for_test.h"
#include "link/modem_manager.h"

namespace app {
namespace {

const std::string kById = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";

class PortListE2E : public testing::UnitFixture {
  protected:
    void TearDown() override {
        UnitFixture::TearDown();  // the frame and its watcher go before the source
        std::filesystem::remove_all(proc_);
    }
    /// A /proc with ModemManager running.
    std::string ProcWithModemManager() {
        std::filesystem::create_directories(proc_ / "4242");
        std::ofstream(proc_ / "4242" / "comm") << "ModemManager\n";
        return proc_.string();
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        auto* list = t->Find<ui::Combo>("SerialPort");
        for (int i = 0; i < list->GetCount(); ++i) items.push_back(list->GetItemText(i));
        return items;
    }
    std::string Selected() const { return t->Find<ui::Combo>("SerialPort")->GetText(); }
    std::string Tooltip(int item) const {
        return t->Find<ui::Combo>("SerialPort")->GetItemAt(item)->GetAttribute("tooltip");
    }
    void DropDown() { t->frame->paintManager.SendNotify(t->Find("SerialPort"), "dropdown"); }
    size_t Count(const std::string& text) const {
        const std::string log = t->Log();
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
        return n;
    }

    devlink::testing::FakeDeviceSource devices;
    std::filesystem::path proc_ =
        std::filesystem::temp_directory_path() / ("dtuconfig-proc-" + std::to_string(::getpid()));
};

TEST_F(PortListE2E, FollowsTheDevicesLeavesAnOpenPortAloneAndSelectsALostAdapterThatIsBack) {
    Start();
    const std::string unitPath = unit->DevicePath();
    devices.Add({.path = unitPath,
                 .byIdPath = kById,
                 .vendor = "QinHeng Electronics",
                 .model = "CH340 serial converter",
                 .serial = "A5C3",
                 .vendorId = "1a86",
                 .productId = "7523"});
    t->frame->link.UseDeviceSource(&devices);
    t->frame->link.SetProcRoot(ProcWithModemManager());
    ASSERT_TRUE(t->frame->link.StartPortWatcher());
    devices.Add({.path = "/dev/ttyUSB9"});
    using Paths = std::vector<std::string>;
    ASSERT_TRUE(Until([&] { return Items() == Paths{unitPath, "/dev/ttyUSB9"}; })) << t->Log();
    EXPECT_EQ(Selected(), unitPath);
    EXPECT_EQ(Tooltip(0),
              "QinHeng Electronics CH340 serial converter\nSerial number: A5C3\n" + kById);

    // Opening a USB adapter that ModemManager may probe: the hint and the rule for it.
    Click("Open");
    EXPECT_TRUE(LogHas(t->frame->LoadText("OnStartCom", "ModemManagerHint", "\r\n") +
                       R"(ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523", )"
                       R"(ENV{ID_MM_DEVICE_IGNORE}="1")"
                       "\r\n"))
        << t->Log();

    // While the port is open the list stays as it is, even when opened.
    devices.Add({.path = "/dev/ttyUSB10"});
    ASSERT_TRUE(Until([&] { return t->frame->link.PortListDue(); }));
    DropDown();
    EXPECT_EQ(Items(), (Paths{unitPath, "/dev/ttyUSB9"}));

    // The adapter is unplugged: the close rebuilds the list. Its device is still listed for
    // a moment, which is no return.
    unit->Unplug();
    ASSERT_TRUE(Until([&] { return !t->frame->link.PortOpen(); }));
    EXPECT_EQ(Items(), (Paths{unitPath, "/dev/ttyUSB10", "/dev/ttyUSB9"}));
    devices.Remove(unitPath);
    ASSERT_TRUE(Until([&] { return Tooltip(0).empty(); }));  // the --port path stays listed
    const std::string back = t->frame->LoadText("OnStartCom", "PortBack");
    EXPECT_EQ(Count(back), 0u);

    // It comes back on another node: told once, selected, not opened.
    devices.Add({.path = "/dev/ttyUSB11", .byIdPath = kById});
    ASSERT_TRUE(Until([&] { return Selected() == "/dev/ttyUSB11"; })) << t->Log();
    EXPECT_EQ(Count(back + " /dev/ttyUSB11\r\n"), 1u);
    DropDown();
    EXPECT_EQ(Selected(), "/dev/ttyUSB11");
    EXPECT_EQ(Count(back), 1u);
    EXPECT_FALSE(t->frame->link.PortOpen());
}

}  // namespace
}  // namespace app
