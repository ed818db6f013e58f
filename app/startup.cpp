#include "app/startup.h"

#include <cstdio>

#include "platform/decimal.h"
#include "platform/file_locations.h"
#include "platform/profile.h"
#include "serial/udev_device_source.h"
#include "ui/paint_manager.h"

namespace app {

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    options.args = args;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" && i + 1 < args.size()) {
            options.extraPorts.push_back(args[++i]);
        } else if (args[i].rfind("--port=", 0) == 0) {
            options.extraPorts.push_back(args[i].substr(7));
        }
    }
    return options;
}

int ReadLanguageCode(const std::string& programFolder) {
    // The setting is read into a 20-byte buffer: at most 19 characters are seen.
    constexpr int kLanguageSettingSize = 19;
    const std::string text = platform::GetProfileString(programFolder + "config.ini", "Set",
                                                        "Language", "", kLanguageSettingSize);
    return platform::ReadDecimal(text);
}

std::string SkinFolder(const std::string& programFolder, int languageCode) {
    return programFolder + (languageCode != 0 ? "skin/ConifgRes" : "skin/ConifgENRes");
}

FrameSettings LocateFrameSettings(const std::string& programFolder, int languageCode) {
    const platform::FileLocations files = platform::LocateFiles(programFolder);
    FrameSettings settings;
    settings.languageCode =
        languageCode >= 0 ? languageCode : ReadLanguageCode(files.settingsFolder);
    settings.programFolder = files.settingsFolder;
    settings.dataFolder = files.dataFolder;
    return settings;
}

std::unique_ptr<CK4X30FrameWnd> MakeFrame(ui::Clock& clock, platform::Dialogs& dialogs,
                                          const FrameSettings& settings, std::string& error,
                                          const std::function<void(CK4X30FrameWnd&)>& prepare) {
    const std::string skin = SkinFolder(settings.dataFolder, settings.languageCode);
    ui::PaintManager::SetResourcePath(skin);
    auto frame = std::make_unique<CK4X30FrameWnd>(clock, dialogs, settings);
    frame->texts = platform::LanguageTexts(skin + "/Language.ini");
    if (prepare) prepare(*frame);
    if (!frame->Create(error)) return nullptr;
    return frame;
}

int RunProgram(Frontend& frontend, const ProgramOptions& options) {
    FrameSettings settings = LocateFrameSettings(options.programFolder);
    settings.programPath = options.programPath;
    settings.args = options.args;
    settings.extraPorts = options.extraPorts;

    serial::UdevDeviceSource devices;  // outlives the frame, whose watcher reads it
    std::string error;
    const auto frame =
        MakeFrame(frontend.Clock(), frontend.Dialogs(), settings, error,
                  [&](CK4X30FrameWnd& f) { f.link.Ports().UseDeviceSource(&devices); });
    if (!frame) {
        std::fprintf(stderr, "dtuconfig: %s\n", error.c_str());
        frontend.Dialogs().MessageBox(error, "dtuconfig", platform::BoxIcon::Stop);
        return 1;
    }
    frame->LoadWindowOptions();  // the desktop's own: dtucfg never verifies nor stamps
    frame->RememberSettings();   // nor keeps the port or the folder the user chose
    // A knocked cable or a unit that restarts mid-Save: wait for it, and ask before resuming.
    frame->link.SetReconnectPolicy({devlink::kWaitWithoutLimit, false});
    if (!frame->link.StartWorker()) {
        frame->AppendLog(frame->LoadText("WinMain", "WorkThread", "\r\n"));
    }
    frame->link.Ports().StartPortWatcher();  // without it the list follows the devices when opened
    return frontend.Run(*frame);
}

}  // namespace app
