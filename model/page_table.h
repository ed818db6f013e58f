// The ten pages of the parameter form. The index is the `page` of a catalogue row and the
// item index inside the tab layout "switch".
#pragma once

#include <array>
#include <string>

namespace model {

struct PageRecord {
    std::string name;   // the page's tab header control, "WorkModeTab"
    bool shown = true;  // the page exists for the unit: header visible, rows written
};

using PageTable = std::array<PageRecord, 10>;

/// The page names in page order.
inline constexpr std::array<const char*, 10> kPageNames = {
    "WorkModeTab", "ServerTab", "SerialTab", "IOTab",  "WirelessTab",
    "GlobalTab",   "LoraTab",   "ZigbeeTab", "GPSTab", "OperationTab"};

enum PageIndex {
    kWorkModePage = 0,
    kServerPage,
    kSerialPage,
    kIoPage,
    kWirelessPage,
    kGlobalPage,
    kLoraPage,
    kZigbeePage,
    kGpsPage,
    kOperationPage
};

/// Fills the names in page order and marks every page shown.
inline void InitPageTable(PageTable& pages) {
    for (size_t i = 0; i < pages.size(); ++i) pages[i] = PageRecord{kPageNames[i], true};
}

}  // namespace model
