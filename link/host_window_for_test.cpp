#include "link/host_window_for_test.h"

#include <unistd.h>

#include <fstream>

namespace devlink::testing {

namespace {

const char* const kButtons[] = {"Open",         "Login",      "Save",    "Load",   "RestoreFactory",
                                "LoadFromFile", "SaveToFile", "SetTime", "GetVer", "READFILELOG",
                                "CPIN",         "CSQ",        "quit"};

template <class T>
T* AddControl(ui::Container& box, const char* name) {
    auto control = std::make_unique<T>();
    control->SetName(name);
    return static_cast<T*>(box.Add(std::move(control)));
}

}  // namespace

/// A language file whose texts are their keys, written once per test process.
std::string KeyTexts() {
    static const std::string path = [] {
        const std::string file = "/tmp/dtu-link-texts-" + std::to_string(::getpid()) + ".ini";
        std::ofstream out(file);
        const auto keys = [&](const char* section, std::initializer_list<const char*> names) {
            out << "[" << section << "]\n";
            for (const char* name : names) out << name << "=" << name << "\n";
        };
        keys("OnStartCom", {"Open", "Close", "OpenNotice", "CloseNotice", "OpenError", "PortBusy",
                            "PermissionDenied", "BadSettings", "PortLost", "PortBack", "NoPort",
                            "ModemManagerHint", "IdleLogout", "NoAnswerOpen", "NoAnswerLogin"});
        out << "PortGone=PortGone {port}\n";
        keys("WorkerJobThreadProc", {"SaveSuccess", "SaveError", "FactorySuccess", "FactoryError",
                                     "OutTime", "ReportIncomplete"});
        keys("ComSend", {"send"});
        keys("Resume", {"Waiting", "State", "Cancel", "Reconnected", "RestartedIdle", "Restarted",
                        "Checking", "Resuming", "Declined", "OtherUnit", "Unreadable", "Unknown",
                        "AdapterNotBack", "UnitNotBack", "Cancelled"});
        out << "[SetDeviceState]\nszLoginOn=on\nszLoginOff=off\nszPortClosed=closed\n"
            << "[Summary]\nAcknowledged={ok}/{total}\nRefused=refused:\nNotAnswered=silent:\n"
            << "NotSent=unsent:\n";
        return file;
    }();
    return path;
}

HostWindow::HostWindow(ui::Clock& clock) : ui::Window(clock), texts_(KeyTexts()) {
    auto root = std::make_unique<ui::VerticalLayout>();
    for (const char* name : kButtons) AddControl<ui::Button>(*root, name);
    AddControl<ui::Combo>(*root, "SerialPort");
    auto* baud = AddControl<ui::Combo>(*root, "BaudRate1");
    for (const char* rate : {"1200", "9600", "115200"}) baud->AddItem(rate);
    AddControl<ui::Combo>(*root, "Checkcode")->AddItem("8N1");
    AddControl<ui::Edit>(*root, "FINDNETMODE");
    AddControl<ui::Label>(*root, "DeviceState");
    form.AttachDialog(std::move(root));
}

std::intptr_t HostWindow::HandleMessage(const ui::Message& msg, bool& handled) {
    if (msg.id == UM_PORT_LOST && holdPortLost) {
        heldPortLost.push_back(msg);
        return 0;
    }
    if (msg.id == UM_LOG_TEXT) {
        log += LogTextMsg::From(msg);
        return 0;
    }
    if (msg.id == UM_PARSE_REPORT) {
        ++reportsParsed;
        handedReports.emplace_back(link.ReceivedText());
        return 0;
    }
    return link.HandleMessage(msg, handled);
}

}  // namespace devlink::testing
