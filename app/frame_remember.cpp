// The settings kept between runs of the desktop program: the port (by its by-id path, which
// names the same adapter whichever node the system gives it), the baud rate, the format and
// the folder of the last .cfg file; and the name the save dialog proposes.
#include <cctype>
#include <ctime>
#include <filesystem>

#include "app/frame_wnd.h"
#include "platform/file_locations.h"
#include "platform/profile.h"

namespace app {

namespace {

constexpr std::string_view kSection = "Remembered";
constexpr std::string_view kFolderKey = "CfgFolder";
constexpr std::string_view kConnectionLists[] = {"SerialPort", "BaudRate1", "Checkcode"};
constexpr std::size_t kMaxChars = 4096;

/// `text` with every byte that a file name on some system, a shell or a web link would
/// trip over turned into '_'; UTF-8 beyond ASCII is kept, a leading dot (a hidden file) goes.
std::string SafeForFileName(std::string_view text) {
    std::string safe;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = std::isalnum(byte) || c == '-' || c == '.' || c == '_' || byte >= 0x80;
        safe += keep ? c : '_';
    }
    safe.erase(0, safe.find_first_not_of('.'));
    return safe;
}

/// The local date of `wallMs` as YYYYMMDD.
std::string DateText(ui::Millis wallMs) {
    const time_t seconds = static_cast<time_t>(wallMs / 1000);
    struct tm local {};
    localtime_r(&seconds, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}

void SelectItemText(ui::Combo& list, const std::string& text) {
    for (int i = 0; i < list.GetCount(); ++i) {
        // Without an "itemselect": the list is set as the user left it, nothing reacts.
        if (list.GetItemText(i) == text) return list.SetAttribute("selected", std::to_string(i));
    }
}

}  // namespace

void CK4X30FrameWnd::RememberSettings() {
    const std::string file = settings_.programFolder + "config.ini";
    for (const std::string_view name : kConnectionLists) {
        const std::string value = platform::GetProfileString(file, kSection, name, "", kMaxChars);
        if (value.empty()) continue;
        if (name == "SerialPort") {
            link.Ports().SelectNamed(value);
        } else if (auto* list = paintManager.Find<ui::Combo>(name)) {
            SelectItemText(*list, value);
        }
    }
    const std::string folder =
        platform::GetProfileString(file, kSection, kFolderKey, "", kMaxChars);
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) lastFolder_ = folder;
    keepSettings_ = true;
}

void CK4X30FrameWnd::KeepConnectionChoice(ui::Control& list) {
    if (!keepSettings_) return;
    std::string value = list.GetText();
    if (value.empty()) return;
    if (list.GetName() == "SerialPort") value = link.Ports().StableName(value);
    platform::MakeFolders(settings_.programFolder);
    platform::WriteProfileString(settings_.programFolder + "config.ini", kSection, list.GetName(),
                                 value);
}

void CK4X30FrameWnd::KeepFileFolder(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) return;
    lastFolder_ = folder;
    if (!keepSettings_) return;
    platform::MakeFolders(settings_.programFolder);
    platform::WriteProfileString(settings_.programFolder + "config.ini", kSection, kFolderKey,
                                 folder);
}

std::string CK4X30FrameWnd::ProposedConfigName() const {
    std::string name = SafeForFileName(ModelText());
    // The unit's own ID tells two units' files apart; before a report there is none.
    const model::ParamEntry* id = catalogue.Find("Modem'sID number");
    const std::string device = id ? SafeForFileName(id->value) : std::string();
    if (!device.empty()) name += "_" + device;
    return name + "_" + DateText(GetClock().WallNow()) + ".cfg";
}

}  // namespace app
