// Test support: a main window built from the real skin on the headless loop and a virtual
// clock, with scripted dialogs.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/frame_wnd.h"
#include "app/startup.h"
#include "platform/dialogs.h"
#include "ui/headless_loop.h"

namespace app::testing {

class FakeScreen : public FrameScreen {
  public:
    void SystemCommand(std::uintptr_t command) override {
        if (command == ui::SC_MAXIMIZE) maximized = true;
        if (command == ui::SC_RESTORE) maximized = false;
        lastCommand = command;
    }
    bool IsMaximized() const override { return maximized; }
    void Hide() override { hidden = true; }

    bool maximized = false;
    bool hidden = false;
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

}  // namespace app::testing
