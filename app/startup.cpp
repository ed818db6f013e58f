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
    const std::string text =
        platform::GetProfileString(programFolder + "config.ini", "Set", "Language", "", 19);
    return platform::ReadDecimal(text);
}

std::string SkinFolder(const std::string& programFolder, int languageCode) {
    return programFolder + (languageCode != 0 ? "skin/ConifgRes" : "skin/ConifgENRes");
}

int RunProgram(Frontend& frontend, const ProgramOptions& options) {
    const platform::FileLocations files = platform::LocateFiles(options.programFolder);
    FrameSettings settings;
    settings.languageCode = ReadLanguageCode(files.settingsFolder);
    const std::string skin = SkinFolder(files.dataFolder, settings.languageCode);
    ui::PaintManager::SetResourcePath(skin);
    settings.programFolder = files.settingsFolder;
    settings.dataFolder = files.dataFolder;
    settings.programPath = options.programPath;
    settings.args = options.args;
    settings.extraPorts = options.extraPorts;

    serial::UdevDeviceSource devices;  // outlives the frame, whose watcher reads it
    CK4X30FrameWnd frame(frontend.Clock(), frontend.Dialogs(), settings);
    frame.texts = platform::LanguageTexts(skin + "/Language.ini");
    frame.link.Ports().UseDeviceSource(&devices);
    std::string error;
    if (!frame.Create(error)) {
        std::fprintf(stderr, "dtuconfig: %s\n", error.c_str());
        frontend.Dialogs().MessageBox(error, "dtuconfig", platform::BoxIcon::Stop);
        return 1;
    }
    if (!frame.link.StartWorker()) frame.AppendLog(frame.LoadText("WinMain", "WorkThread", "\r\n"));
    frame.link.Ports().StartPortWatcher();  // without it the list follows the devices when opened
    return frontend.Run(frame);
}

}  // namespace app
