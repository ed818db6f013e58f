// The rules of the port list, and the ModemManager hint, without threads or devices.
#include "link/port_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "link/modem_manager.h"
#include "platform/temp_folder_for_test.h"

namespace devlink {
namespace {

const std::string kById = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";

struct PlanCase {
    const char* what;
    std::vector<std::string> extraPorts;
    std::vector<SerialDevice> devices;  // path and by-id path only
    std::string selected;               // the text selected before
    std::string backById;               // a lost adapter that is back
    std::vector<std::string> items;     // expected
    std::string selectedAfter;          // expected; empty: none
    std::string back;                   // expected
};

TEST(PlanPortList, ExtraPortsFirstSelectionKeptOrMovedToTheAdapterThatIsBack) {
    const SerialDevice s0{.path = "/dev/ttyS0"}, usb0{.path = "/dev/ttyUSB0"},
        usb1{.path = "/dev/ttyUSB1"};
    const SerialDevice ch340{.path = "/dev/ttyUSB0", .byIdPath = kById};
    const SerialDevice ch340Again{.path = "/dev/ttyUSB3", .byIdPath = kById};
    const PlanCase cases[] = {
        {"selection kept",
         {},
         {usb0, usb1},
         "/dev/ttyUSB1",
         "",
         {"/dev/ttyUSB0", "/dev/ttyUSB1"},
         "/dev/ttyUSB1",
         ""},
        {"selection gone: the first item",
         {},
         {usb0},
         "/dev/ttyUSB1",
         "",
         {"/dev/ttyUSB0"},
         "/dev/ttyUSB0",
         ""},
        {"--port paths first, listed while absent",
         {"/dev/pts/7", "/dev/pts/2"},
         {s0, usb0},
         "/dev/ttyUSB0",
         "",
         {"/dev/pts/7", "/dev/pts/2", "/dev/ttyS0", "/dev/ttyUSB0"},
         "/dev/ttyUSB0",
         ""},
        {"a --port node is not listed twice",
         {"/dev/ttyUSB0", "/dev/ttyUSB0"},
         {s0, usb0},
         "",
         "",
         {"/dev/ttyUSB0", "/dev/ttyS0"},
         "/dev/ttyUSB0",
         ""},
        {"a --port by-id path stands for its node",
         {kById},
         {ch340, usb1},
         "/dev/ttyUSB0",
         "",
         {kById, "/dev/ttyUSB1"},
         kById,
         ""},
        {"the adapter back is selected",
         {},
         {s0, ch340Again},
         "/dev/ttyS0",
         kById,
         {"/dev/ttyS0", "/dev/ttyUSB3"},
         "/dev/ttyUSB3",
         "/dev/ttyUSB3"},
        {"back under its --port by-id path",
         {kById},
         {s0, ch340Again},
         "/dev/ttyS0",
         kById,
         {kById, "/dev/ttyS0"},
         kById,
         kById},
        {"nothing to list", {}, {}, "/dev/ttyUSB0", kById, {}, "", ""},
    };
    for (const PlanCase& c : cases) {
        const PortListPlan plan = PlanPortList(c.extraPorts, c.devices, c.selected, c.backById);
        std::vector<std::string> items;
        for (const PortItem& item : plan.items) items.push_back(item.text);
        EXPECT_EQ(items, c.items) << c.what;
        const std::string selected =
            plan.selected < 0 ? "" : plan.items.at(static_cast<size_t>(plan.selected)).text;
        EXPECT_EQ(selected, c.selectedAfter) << c.what;
        EXPECT_EQ(plan.back, c.back) << c.what;
        for (const PortItem& item : plan.items) {  // each item knows the device it names
            const auto device = FindDevice(c.devices, item.text);
            EXPECT_EQ(item.device ? item.device->path : "", device ? device->path : "") << c.what;
        }
    }
}

TEST(ModemManager, RunsWhenAProcessOfThatNameIsListed) {
    using platform::testing_support::WriteFile;
    platform::testing_support::TempFolder proc;
    ASSERT_TRUE(proc.Ok());
    auto process = [&](const char* pid, const char* comm) {
        std::filesystem::create_directories(proc.File(pid));
        WriteFile(proc.File(pid) + "/comm", comm);
    };
    process("1", "systemd\n");
    process("self", "ModemManager\n");  // not a process number
    process("52", "ModemManagerX\n");
    process("53", "modemmanager\n");
    std::filesystem::create_directories(proc.File("54"));  // gone: no comm
    EXPECT_FALSE(ModemManagerRuns(proc.Path()));
    process("977", "ModemManager\n");
    EXPECT_TRUE(ModemManagerRuns(proc.Path()));
    EXPECT_FALSE(ModemManagerRuns(proc.File("missing")));
}

TEST(ModemManager, RuleOnlyForAUsbAdapterThatIsNotMarked) {
    SerialDevice ch340{.path = "/dev/ttyUSB0", .vendorId = "1a86", .productId = "7523"};
    EXPECT_EQ(ModemManagerIgnoreRule(ch340),
              R"(ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523", ENV{ID_MM_DEVICE_IGNORE}="1")");
    ch340.mmIgnore = true;
    EXPECT_EQ(ModemManagerIgnoreRule(ch340), "");
    const SerialDevice uart{.path = "/dev/ttyS0", .driver = "serial8250"};
    EXPECT_EQ(ModemManagerIgnoreRule(uart), "");
}

}  // namespace
}  // namespace devlink
