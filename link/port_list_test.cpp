// The rules of the port list, without threads or devices.
#include "link/port_list.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace devlink {
namespace {

const std::string kById = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";

/// Paths from short words: "USB0" is /dev/ttyUSB0, "pts/7" /dev/pts/7, "by-id" the
/// adapter's by-id path.
std::vector<std::string> Paths(std::string_view words) {
    std::vector<std::string> paths;
    for (size_t at = 0; at < words.size();) {
        const size_t end = std::min(words.find(' ', at), words.size());
        const std::string word(words.substr(at, end - at));
        const bool pts = word.find('/') != std::string::npos;
        paths.push_back(word == "by-id" ? kById : (pts ? "/dev/" : "/dev/tty") + word);
        at = end + 1;
    }
    return paths;
}
std::string Path(std::string_view word) {
    return word.empty() ? "" : Paths(word).at(0);
}
/// Devices from such words; a trailing "@" gives the device the adapter's by-id path.
std::vector<SerialDevice> Devices(std::string_view words) {
    std::vector<SerialDevice> devices;
    for (std::string path : Paths(words)) {
        const bool byId = path.ends_with('@');
        if (byId) path.pop_back();
        devices.push_back({.path = path, .byIdPath = byId ? kById : ""});
    }
    return devices;
}

struct PlanCase {
    const char* what;
    const char* extraPorts;
    const char* devices;
    const char* selected;  // the text selected before
    bool firstList;        // the window's first list
    const char* backById;  // a lost adapter that is back
    const char* items;     // expected, then the selection (empty: none), back and gone
    const char* selectedAfter;
    const char* back;
    const char* gone;
};

// A selection stays on its port while it is listed and never passes to another port: only the
// window's first list selects an item by itself, and only the adapter that is back takes it.
TEST(PlanPortList, ExtraPortsFirstSelectionKeptGoneOrMovedToTheAdapterThatIsBack) {
    const bool first = true, later = false;
    const PlanCase cases[] = {
        {"selection kept", "", "USB0 USB1", "USB1", later, "", "USB0 USB1", "USB1", "", ""},
        {"gone: none", "", "USB0", "USB1", later, "", "USB0", "", "", "USB1"},
        {"gone in the first list", "", "USB0", "USB1", first, "", "USB0", "", "", "USB1"},
        {"first list: the first", "", "USB0 USB1", "", first, "", "USB0 USB1", "USB0", "", ""},
        {"none later: none", "", "USB0 USB1", "", later, "", "USB0 USB1", "", "", ""},
        {"--port first", "pts/7 pts/2", "S0", "S0", later, "", "pts/7 pts/2 S0", "S0", "", ""},
        {"--port listed when gone", "USB1", "USB0", "USB1", later, "", "USB1 USB0", "USB1", "", ""},
        {"--port once", "USB0 USB0", "S0 USB0", "", first, "", "USB0 S0", "USB0", "", ""},
        {"--port by-id", "by-id", "USB0@ USB1", "by-id", later, "", "by-id USB1", "by-id", "", ""},
        {"back", "", "S0 USB3@", "S0", later, "by-id", "S0 USB3", "USB3", "USB3", ""},
        {"back after gone", "", "S0 USB3@", "", later, "by-id", "S0 USB3", "USB3", "USB3", ""},
        {"back, new node", "", "S0 USB3@", "USB0", later, "by-id", "S0 USB3", "USB3", "USB3", ""},
        {"back by-id", "by-id", "S0 USB3@", "S0", later, "by-id", "by-id S0", "by-id", "by-id", ""},
        {"nothing", "", "", "USB0", later, "by-id", "", "", "", "USB0"},
        {"nothing at first", "", "", "", first, "", "", "", "", ""},
    };
    for (const PlanCase& c : cases) {
        const std::vector<SerialDevice> devices = Devices(c.devices);
        const PortListPlan plan = PlanPortList(
            Paths(c.extraPorts), devices, Path(c.selected), Path(c.backById),
            c.firstList ? WhenNoneSelected::kSelectFirst : WhenNoneSelected::kSelectNone);
        std::vector<std::string> items;
        for (const PortItem& item : plan.items) items.push_back(item.text);
        EXPECT_EQ(items, Paths(c.items)) << c.what;
        const std::string selected =
            plan.selected < 0 ? "" : plan.items.at(static_cast<size_t>(plan.selected)).text;
        EXPECT_EQ(selected, Path(c.selectedAfter)) << c.what;
        EXPECT_EQ(plan.back, Path(c.back)) << c.what;
        EXPECT_EQ(plan.gone, Path(c.gone)) << c.what;
        for (const PortItem& item : plan.items) {  // each item knows the device it names
            const auto device = FindDevice(devices, item.text);
            EXPECT_EQ(item.device ? item.device->path : "", device ? device->path : "") << c.what;
        }
    }
}

}  // namespace
}  // namespace devlink
