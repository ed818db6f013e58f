#include "link/port_list.h"

#include <algorithm>

#include "ui/controls.h"

namespace devlink {

bool ListSerialPorts(ui::PaintManager& pm, const std::vector<std::string>& extraPorts) {
    std::vector<std::string> paths = extraPorts;
    for (const PortInfo& port : DiscoverSerialPorts()) paths.push_back(port.path);
    std::vector<std::string> unique;
    for (const std::string& path : paths) {
        if (!path.empty() && std::find(unique.begin(), unique.end(), path) == unique.end()) {
            unique.push_back(path);
        }
    }
    auto* list = pm.Find<ui::Combo>("SerialPort");
    if (unique.empty() || !list) return false;
    list->RemoveAllItems();
    for (const std::string& path : unique) list->AddItem(path);
    return true;
}

}  // namespace devlink
