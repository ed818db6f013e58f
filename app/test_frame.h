// Test support: a main window built from the real skin on the headless loop and a virtual
// clock, with scripted dialogs; and the form filled from a simulated unit's report.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/frame_wnd.h"
#include "model/command_builder.h"
#include "platform/dialogs.h"
#include "sim/unit_state.h"
#include "ui/headless_loop.h"

namespace app::testing {

/// A screen that maximizes and restores at once.
struct FakeScreen : FrameScreen {
    void SystemCommand(std::uintptr_t command) override {
        maximized = command == ui::SC_MAXIMIZE || (maximized && command != ui::SC_RESTORE);
        lastCommand = command;
    }
    bool IsMaximized() const override { return maximized; }
    void Hide() override { hidden = true; }
    bool maximized = false, hidden = false;
    std::uintptr_t lastCommand = 0;
};

/// A fresh program folder under the test's temporary folder.
inline std::string MakeProgramFolder(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("dtuconfig-test-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

struct TestFrame {
    /// Builds the window on the skin of `languageCode` from the build's skin folder.
    explicit TestFrame(int languageCode = 0, ui::Clock* clockToUse = nullptr,
                       std::vector<std::string> ports = {})
        : clock(clockToUse ? *clockToUse : manualClock) {
        settings.languageCode = languageCode;
        settings.extraPorts = std::move(ports);
        settings.programFolder = MakeProgramFolder("frame");
        settings.programPath = "/bin/true";
        const std::string skin =
            std::string(DTU_SKIN_DIR) + (languageCode != 0 ? "/ConifgRes" : "/ConifgENRes");
        ui::PaintManager::SetResourcePath(skin);
        frame = std::make_unique<CK4X30FrameWnd>(clock, dialogs, settings);
        frame->texts = platform::LanguageTexts(skin + "/Language.ini");
        frame->SetScreen(&screen);
        loop = std::make_unique<ui::HeadlessLoop>(*frame);
        created = frame->Create(error);
    }
    ~TestFrame() { std::filesystem::remove_all(settings.programFolder); }

    ui::Control* Find(std::string_view name) const { return frame->paintManager.FindControl(name); }
    template <class T>
    T* Find(std::string_view name) const {
        return frame->paintManager.Find<T>(name);
    }
    std::string Log() const { return frame->logView ? frame->logView->GetText() : std::string(); }
    /// Runs the loop until `done` holds; at most a minute of the window's time passes.
    bool Until(const std::function<bool()>& done) { return loop->RunUntil(done, 60000); }

    ui::ManualClock manualClock;
    ui::Clock& clock;
    platform::ScriptedDialogs dialogs;
    FakeScreen screen;
    FrameSettings settings;
    std::unique_ptr<CK4X30FrameWnd> frame;
    std::unique_ptr<ui::HeadlessLoop> loop;
    std::string error;
    bool created = false;
};

/// Fills the form from the report of a unit of `profile`, its state changed by `tweak` (the
/// unit's values by command, such as "AT+PORT"), as a "Load" does, and lets it settle.
inline void LoadReport(TestFrame& t, const char* profile,
                       const std::function<void(sim::UnitState&)>& tweak = {}) {
    sim::UnitState unit(*sim::FindProfile(profile));
    if (tweak) tweak(unit);
    t.frame->ParseReport(unit.Report());
    t.loop->RunUntilIdle();
}

/// The writes "Save" would queue now (of `onlyRows` when given), without queueing them.
inline std::vector<model::WorkerJob> PendingWrites(TestFrame& t,
                                                   const std::set<std::string>* onlyRows = {}) {
    std::vector<model::WorkerJob> jobs;
    model::BuildContext ctx{
        t.frame->paintManager,   t.frame->catalogue,
        t.frame->pages,          t.frame->texts,
        [](std::string_view) {}, [&](const model::WorkerJob& job) { jobs.push_back(job); }};
    ctx.onlyRows = onlyRows;
    model::BuildWriteJobs(ctx);
    return jobs;
}

/// Their lines.
inline std::vector<std::string> SaveLines(TestFrame& t) {
    std::vector<std::string> lines;
    for (const model::WorkerJob& job : PendingWrites(t)) lines.push_back(job.line);
    return lines;
}

}  // namespace app::testing
