// Where the program finds its data (the skins, "Help.txt") and keeps its setting
// ("config.ini"), by the layout it runs from:
//   portable  - the skin folder "skin" lies beside the executable (the build tree, or a copy
//               of it): data and setting both beside the executable;
//   installed - the executable is in bin/ of an installed tree and the data in
//               ../share/dtuconfig/: the setting goes to the user's configuration folder, so
//               nothing is ever written beside the executable.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct FileLocations {
    bool installed = false;
    std::string dataFolder;      ///< ends with '/'; holds "skin/..." and "Help.txt"
    std::string settingsFolder;  ///< ends with '/'; holds "config.ini"
    std::string iconFile;        ///< the window icon the install put in place; "" when portable
};

/// The user's configuration folder by the XDG base directory rules: `xdgConfigHome` when it
/// is an absolute path, else `home` + "/.config". Without a trailing '/'.
std::string UserConfigHome(std::string_view xdgConfigHome, std::string_view home);

/// The locations for the executable in `programFolder` (ends with '/'). Portable when the
/// folder holds "skin"; installed when it does not and "../share/dtuconfig/skin" exists
/// (the setting then in UserConfigHome of $XDG_CONFIG_HOME and $HOME, + "dtuconfig/");
/// portable when neither exists, so a missing skin is reported where it was looked for first.
/// Installed, the icon is "../share/icons/hicolor/128x128/apps/org.example.dtuconfig.png".
FileLocations LocateFiles(const std::string& programFolder);

/// Creates `folder` and its missing parents, each with mode 0700 (before the umask), as the
/// XDG rules ask for a configuration folder. True when the folder exists afterwards.
bool MakeFolders(const std::string& folder);

}  // namespace platform
