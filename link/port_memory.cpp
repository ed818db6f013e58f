// The port chooser's side of the remembered port: a port is remembered by its by-id path,
// which names the same adapter whichever node the system gives it next time.
#include "link/link.h"
#include "link/port_list.h"

namespace devlink {

bool PortChooser::SelectNamed(const std::string& name) {
    auto* list = host_.Form().Find<ui::Combo>("SerialPort");
    if (!list || name.empty()) return false;
    const std::optional<SerialDevice> device = serial::FindDevice(CurrentDevices(), name);
    for (int i = 0; i < list->GetCount(); ++i) {
        const std::string text = list->GetItemText(i);
        if (text == name || (device && (text == device->path || text == device->byIdPath))) {
            list->SetAttribute("selected", std::to_string(i));
            return true;
        }
    }
    return false;
}

std::string PortChooser::StableName(const std::string& path) const {
    const std::optional<SerialDevice> device = serial::FindDevice(CurrentDevices(), path);
    return device && !device->byIdPath.empty() ? device->byIdPath : path;
}

}  // namespace devlink
