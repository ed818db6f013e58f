#include "link/link_fixture_for_test.h"

namespace devlink::testing {

void LinkTest::TearDown() {
    window.EndLoop();
    window.link.ShutDown();
    window.link.RemoveObserver(&events);
    unit.reset();
}

void LinkTest::StartUnit(sim::UnitOptions options, const char* profile, bool paced) {
    options.paced = paced;
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

bool LinkTest::Run(model::JobKind kind, std::string_view line) {
    const int before = events.idle;
    window.link.QueueJob(kind, line);
    return Until([&] { return events.idle > before; });
}

bool LinkTest::UntilWithoutTime(const std::function<bool()>& pred) {
    for (int wait = 0; wait < 30000; ++wait) {
        loop.RunUntilIdle();
        if (pred()) return true;
        window.WaitForWork(1);
    }
    return pred();
}

}  // namespace devlink::testing
