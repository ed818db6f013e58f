// The port list following the devices of a fake source while the unit's port is opened, lost
// and closed: the watcher's thread, the window's messages and the rebuild rules; and the lost
// notice of a port closed since.
#include <filesystem>

#include "link/link_fixture_for_test.h"
#include "platform/temp_folder_for_test.h"
#include "serial/fake_device_source_for_test.h"

namespace devlink::testing {
namespace {

using serial::testing::FakeDeviceSource;

const std::string kById = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
using Paths = std::vector<std::string>;

/// Makes the source hold exactly the devices at `paths`, as plugging and unplugging would.
void MakeDevices(FakeDeviceSource& source, const Paths& paths) {
    for (const SerialDevice& device : source.Devices()) source.Remove(device.path);
    for (const std::string& path : paths) source.Add({.path = path});
}

class PortEvents : public LinkTest {
  protected:
    ui::Combo* List() { return window.form.Find<ui::Combo>("SerialPort"); }
    Paths Items() {
        Paths items;
        for (int i = 0; i < List()->GetCount(); ++i) items.push_back(List()->GetItemText(i));
        return items;
    }

    FakeDeviceSource devices;  // outlives the watcher: LinkTest::TearDown stops it
    platform::testing_support::TempFolder proc;
};

TEST_F(PortEvents, TheListFollowsTheDevicesWaitsForTheCloseAndSelectsALostAdapterThatIsBack) {
    StartUnit();
    const std::string unitPath = unit->DevicePath();
    window.link.Ports().SetExtraPorts({unitPath});  // as "--port" lists it
    devices.Add({.path = unitPath, .byIdPath = kById, .vendorId = "1a86", .productId = "7523"});
    window.link.Ports().UseDeviceSource(&devices);
    std::filesystem::create_directories(proc.File("4242"));  // ModemManager runs
    platform::testing_support::WriteFile(proc.File("4242/comm"), "ModemManager\n");
    window.link.Ports().SetProcRoot(proc.Path());
    ASSERT_TRUE(window.link.Ports().StartPortWatcher());
    devices.Add({.path = "/dev/ttyUSB9"});
    ASSERT_TRUE(Until([&] { return Items() == Paths{unitPath, "/dev/ttyUSB9"}; }));
    EXPECT_EQ(List()->GetText(), unitPath);

    // Opening a USB adapter that ModemManager may probe: the hint and the rule for it, once.
    Open();
    EXPECT_EQ(Logged("ModemManagerHint\r\n"
                     R"(ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523")"),
              1u);

    // While the port is open the list stays as it is, even when opened.
    devices.Add({.path = "/dev/ttyUSB10"});
    ASSERT_TRUE(Until([&] { return window.link.Ports().PortListDue(); }));
    window.link.Ports().RefreshPortList();
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
    window.link.Ports().RefreshPortList();
    EXPECT_EQ(Logged("PortBack"), 1u);
    EXPECT_FALSE(window.link.PortOpen());
}

struct SelectionCase {
    const char* what;
    Paths atStart;            // the devices when the window lists them first
    const char* chosen;       // the item the user selects then; empty: none chosen
    std::vector<Paths> then;  // the devices after each change that follows
    const char* selected;     // expected at the end; empty: none
    const char* log;          // expected at the end
};

// The adapters change while the port is closed: the port the user chose stays selected while it
// is there, and when it goes no other port takes its place; "Open" then opens nothing.
TEST(PortSelection, AChosenPortThatGoesLeavesNoSelectionAndIsNamed) {
    const std::string usb0 = "/dev/ttyUSB0", usb1 = "/dev/ttyUSB1", usb2 = "/dev/ttyUSB2";
    const std::string gone0 = "PortGone " + usb0 + "\r\n";
    const SelectionCase cases[] = {
        {"the first at window start", {usb0, usb1}, "", {{usb0, usb1, usb2}}, usb0.c_str(), ""},
        {"the first to come when none was there", {}, "", {{usb1, usb2}}, usb1.c_str(), ""},
        {"kept while listed", {usb0, usb1}, usb1.c_str(), {{usb0, usb1, usb2}}, usb1.c_str(), ""},
        {"the chosen one goes", {usb0, usb1}, usb0.c_str(), {{usb1}}, "", gone0.c_str()},
        {"all go, then one comes", {usb0}, usb0.c_str(), {{}, {usb1}}, "", gone0.c_str()},
        {"the first at start goes", {usb0, usb1}, "", {{usb1}, {usb1, usb2}}, "", gone0.c_str()},
    };
    for (const SelectionCase& c : cases) {
        FakeDeviceSource devices;
        ui::ManualClock clock;
        HostWindow window(clock);
        ui::HeadlessLoop loop(window);
        auto* list = window.form.Find<ui::Combo>("SerialPort");
        MakeDevices(devices, c.atStart);
        window.link.Ports().UseDeviceSource(&devices);
        window.link.Ports().ListSerialPorts();
        for (int i = 0; i < list->GetCount(); ++i) {
            if (list->GetItemText(i) == c.chosen) list->SelectItem(i);
        }
        for (const Paths& now : c.then) {
            MakeDevices(devices, now);
            window.PostMessage(UM_PORTS_CHANGED);  // as the port watcher does
            loop.RunUntilIdle();
        }
        EXPECT_EQ(list->GetText(), c.selected) << c.what;
        EXPECT_EQ(window.log, c.log) << c.what;
        if (list->GetCurSel() >= 0) continue;
        // "Open" without a port says so and opens nothing.
        window.link.OnStartCom();
        loop.RunUntilIdle();
        EXPECT_EQ(window.log, std::string(c.log) + "NoPort\r\n") << c.what;
        EXPECT_FALSE(window.link.PortOpen()) << c.what;
        EXPECT_FALSE(window.HasTimer(kHandshakeTimer)) << c.what;
    }
}

// The adapter of the open port is unplugged and its device goes: no port is selected, the
// other unit's adapter does not take its place, and "Open" writes to no unit.
TEST_F(PortEvents, ALostAdapterThatGoesLeavesNoSelectionAndOpenReachesNoOtherUnit) {
    StartUnit();
    sim::SimulatedUnit other(*sim::FindProfile("base"), {.paced = false});
    ASSERT_TRUE(other.Start());
    const std::string unitPath = unit->DevicePath();
    devices.Add({.path = unitPath, .byIdPath = kById});
    devices.Add({.path = other.DevicePath()});
    window.link.Ports().UseDeviceSource(&devices);
    window.link.Ports().RefreshPortList();
    ASSERT_EQ(List()->GetText(), unitPath);
    OpenAndLogIn();

    unit->Unplug();
    ASSERT_TRUE(Until([&] { return events.lost == 1; }));
    devices.Remove(unitPath);
    window.PostMessage(UM_PORTS_CHANGED);
    loop.RunUntilIdle();
    EXPECT_EQ(Items(), Paths{other.DevicePath()});
    EXPECT_EQ(List()->GetCurSel(), -1);
    EXPECT_EQ(Logged("PortGone " + unitPath + "\r\n"), 1u) << window.log;

    Open();
    loop.RunFor(1000);  // the handshake would write meanwhile
    EXPECT_EQ(Logged("NoPort\r\n"), 1u);
    EXPECT_FALSE(window.link.PortOpen());
    EXPECT_EQ(other.Received(), "");
}

// A port's lost notice may still be on its way when the user has closed that port and opened
// another: it is news of the old port and leaves the new one open.
TEST_F(PortEvents, ALostNoticeOfAPortClosedSinceLeavesThePortOpenedAfterIt) {
    StartUnit();
    Open();
    window.holdPortLost = true;
    unit->Unplug();
    ASSERT_TRUE(UntilWithoutTime([&] { return window.heldPortLost.size() == 1; }));
    Open();  // closes it
    sim::SimulatedUnit other(*sim::FindProfile("base"), {.paced = false});
    ASSERT_TRUE(other.Start());
    List()->AddItem(other.DevicePath());
    List()->SelectItem(1);
    Open();
    ASSERT_EQ(window.link.PortPath(), other.DevicePath());

    window.holdPortLost = false;
    const ui::Message late = window.heldPortLost.front();
    window.PostMessage(late.id, late.wParam, late.lParam);
    loop.RunUntilIdle();
    EXPECT_TRUE(window.link.PortOpen());
    EXPECT_EQ(events.lost, 0);
    EXPECT_EQ(Logged("PortLost"), 0u);
    // The port still works: the handshake brings the other unit into configuration mode.
    EXPECT_TRUE(Until([&] { return window.link.LoggedIn(); })) << window.log;
    Open();  // closed before the other unit goes
}

}  // namespace
}  // namespace devlink::testing
