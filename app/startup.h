// Start-up: the language setting, the skin folder, the main window and its message loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_wnd.h"
#include "platform/dialogs.h"
#include "ui/clock.h"

namespace app {

/// What the program runs on: the Qt window, or the headless loop.
class Frontend {
  public:
    virtual ~Frontend() = default;
    virtual platform::Dialogs& Dialogs() = 0;
    virtual ui::Clock& Clock() = 0;
    /// Shows the window for `frame`, runs the message loop until a quit message and returns
    /// its exit code. The frame's loop has ended when this returns.
    virtual int Run(CK4X30FrameWnd& frame) = 0;
};

struct ProgramOptions {
    std::vector<std::string> args;        // the command line without the program's name
    std::vector<std::string> extraPorts;  // every "--port PATH"
    std::string programFolder;            // ends with '/'
    std::string programPath;
};

/// Parses `--port PATH` (repeatable); other arguments are kept for a restart only.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& args);

/// "Language" of section "Set" in "config.ini" of the folder, as a decimal number: 0 when the
/// file, section or key is missing or the text does not start with a number.
int ReadLanguageCode(const std::string& programFolder);
/// "skin/ConifgENRes" for code 0, "skin/ConifgRes" for any other code, under the folder.
std::string SkinFolder(const std::string& programFolder, int languageCode);

/// Where the program in `programFolder` (ends with '/') keeps its settings file and its
/// skins, and the language it shows: `languageCode` when 0 or more, else the settings file's.
FrameSettings LocateFrameSettings(const std::string& programFolder, int languageCode = -1);

/// The one start-up of both front ends: makes the skin of the settings' language current,
/// builds the main window from it with its texts, after `prepare` has seen the window (an
/// observer, a device source). Null, with the reason in `error`, when the layout cannot be
/// built. The link's worker is not started yet.
std::unique_ptr<CK4X30FrameWnd> MakeFrame(ui::Clock& clock, platform::Dialogs& dialogs,
                                          const FrameSettings& settings, std::string& error,
                                          const std::function<void(CK4X30FrameWnd&)>& prepare = {});

/// Runs the program: settings, window, loop. Returns 0, or 1 when the window's layout could
/// not be built (the reason is shown in a message box and on standard error).
int RunProgram(Frontend& frontend, const ProgramOptions& options);

}  // namespace app
