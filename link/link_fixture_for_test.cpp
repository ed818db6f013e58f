#include "link/link_fixture_for_test.h"

#include <unistd.h>

#include <algorithm>
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
        out << "[OnStartCom]\n";
        for (const char* key : {"Open", "Close", "OpenNotice", "CloseNotice", "OpenError",
                                "PortBusy", "PermissionDenied", "BadSettings", "PortLost"}) {
            out << key << "=" << key << "\n";
        }
        out << "[WorkerJobThreadProc]\n";
        for (const char* key :
             {"SaveSuccess", "SaveError", "FactorySuccess", "FactoryError", "OutTime"}) {
            out << key << "=" << key << "\n";
        }
        out << "[ComSend]\nsend=send\n[SetDeviceState]\nszLoginOn=on\nszLoginOff=off\n";
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
    if (msg.id == UM_LOG_TEXT) {
        log += msg.payload;
        return 0;
    }
    if (msg.id == UM_PARSE_REPORT) {
        ++reportsParsed;
        return 0;
    }
    return link.HandleMessage(msg, handled);
}

void LinkTest::TearDown() {
    window.EndLoop();
    window.link.ShutDown();
    window.link.RemoveObserver(&events);
    unit.reset();
}

void LinkTest::StartUnit(sim::UnitOptions options, const char* profile) {
    options.paced = false;
    unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(profile), options);
    ASSERT_TRUE(unit->Start());
    auto* ports = window.form.Find<ui::Combo>("SerialPort");
    ports->AddItem(unit->DevicePath());
    ports->SelectItem(0);
    window.link.AddObserver(&events);
    ASSERT_TRUE(window.link.StartWorker());
    loop.RunUntilIdle();
}

void LinkTest::Open(const char* baud) {
    auto* rates = window.form.Find<ui::Combo>("BaudRate1");
    for (int i = 0; i < rates->GetCount(); ++i) {
        if (rates->GetItemText(i) == baud) rates->SelectItem(i);
    }
    window.form.Find<ui::Combo>("Checkcode")->SelectItem(0);
    window.link.OnStartCom();
    loop.RunUntilIdle();
}

void LinkTest::OpenAndLogIn() {
    Open();
    ASSERT_TRUE(Until([&] { return window.link.LoggedIn(); })) << window.log;
    loop.RunUntilIdle();
}

bool LinkTest::Run(int kind, std::string_view line, std::string paramName, std::string paramValue) {
    const int before = events.idle;
    window.link.QueueJob(kind, line, std::move(paramName), std::move(paramValue));
    return UntilIdleAfter(before);
}

bool LinkTest::UntilWithoutTime(const std::function<bool()>& pred) {
    for (int wait = 0; wait < 30000; ++wait) {
        loop.RunUntilIdle();
        if (pred()) return true;
        window.WaitForWork(1);
    }
    return pred();
}

size_t LinkTest::Count(std::string_view line) const {
    std::vector<std::string> lines = unit->ReceivedLines();
    // The handshake bytes "s" may stand before the first command on its line.
    for (std::string& l : lines) {
        const size_t start = l.find_first_not_of('s');
        if (start != std::string::npos && start > 0) l.erase(0, start);
    }
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace devlink::testing
