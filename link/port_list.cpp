#include "link/port_list.h"

#include <algorithm>
#include <memory>
#include <string>

namespace devlink {

namespace {

bool Names(const SerialDevice& device, const std::string& path) {
    return device.path == path || (!device.byIdPath.empty() && device.byIdPath == path);
}

int IndexOf(const std::vector<PortItem>& items, const std::string& text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

/// The item of the device with by-id path `byId`; -1 when it is not listed.
int ItemWithById(const std::vector<PortItem>& items, const std::string& byId) {
    if (byId.empty()) return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].device && items[i].device->byIdPath == byId) return static_cast<int>(i);
    }
    return -1;
}

std::string TooltipOf(const PortItem& item, const std::string& serialLabel) {
    return item.device ? DeviceTooltip(*item.device, serialLabel) : std::string();
}

/// What the list shows beside the path: the adapter as `dtucfg ports` describes it.
std::string DescriptionOf(const PortItem& item) {
    return item.device ? serial::DescribeDevice(*item.device) : std::string();
}

/// Whether `list` shows these items already, tooltips included.
bool Shows(const ui::Combo& list, const PortListPlan& plan, const std::string& serialLabel) {
    if (list.GetCount() != static_cast<int>(plan.items.size())) return false;
    for (int i = 0; i < list.GetCount(); ++i) {
        const PortItem& item = plan.items[static_cast<size_t>(i)];
        const ui::Control* shown = list.GetItemAt(i);
        if (shown->GetText() != item.text ||
            shown->GetAttribute("tooltip") != TooltipOf(item, serialLabel) ||
            shown->GetAttribute("description") != DescriptionOf(item)) {
            return false;
        }
    }
    return true;
}

/// The `extraPorts` first, then every device that none of them names.
std::vector<PortItem> ListedPorts(const std::vector<std::string>& extraPorts,
                                  const std::vector<SerialDevice>& devices) {
    std::vector<PortItem> items;
    for (const std::string& path : extraPorts) {
        if (path.empty() || IndexOf(items, path) >= 0) continue;
        auto named = std::find_if(devices.begin(), devices.end(),
                                  [&](const SerialDevice& d) { return Names(d, path); });
        items.push_back({path, named == devices.end() ? nullptr : &*named});
    }
    for (const SerialDevice& device : devices) {
        const bool listed =
            std::any_of(extraPorts.begin(), extraPorts.end(),
                        [&](const std::string& path) { return Names(device, path); });
        if (!listed && IndexOf(items, device.path) < 0) items.push_back({device.path, &device});
    }
    return items;
}

}  // namespace

PortListPlan PlanPortList(const std::vector<std::string>& extraPorts,
                          const std::vector<SerialDevice>& devices, const std::string& selectedText,
                          const std::string& lostById, WhenNoneSelected whenNone) {
    PortListPlan plan;
    plan.items = ListedPorts(extraPorts, devices);
    if (const int back = ItemWithById(plan.items, lostById); back >= 0) {
        plan.selected = back;
        plan.back = plan.items[static_cast<size_t>(back)].text;
    } else if (!selectedText.empty()) {
        plan.selected = IndexOf(plan.items, selectedText);
        if (plan.selected < 0) plan.gone = selectedText;
    } else if (whenNone == WhenNoneSelected::kSelectFirst && !plan.items.empty()) {
        plan.selected = 0;
    }
    return plan;
}

void ApplyPortList(ui::Combo& list, const PortListPlan& plan, const std::string& serialLabel) {
    if (!Shows(list, plan, serialLabel)) {
        list.RemoveAllItems();
        for (const PortItem& item : plan.items) {
            // The tooltip goes on before the item joins the list, so the list's observer
            // sees each item complete.
            auto element = std::make_unique<ui::ListLabelElement>();
            element->SetText(item.text);
            element->SetAttribute("tooltip", TooltipOf(item, serialLabel));
            // Shown beside the item's text, which stays the path that is opened.
            element->SetAttribute("description", DescriptionOf(item));
            list.Add(std::move(element));
        }
    }
    // Selected without an "itemselect": nothing reacts to this list's, and one raised here
    // would take the place of the list the user chose last, which a form adaptation still
    // waiting in the queue reads.
    list.SetAttribute("selected", std::to_string(plan.selected));
}

}  // namespace devlink
