#include "platform/file_locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

/// $HOME, or the home folder of the user's password entry when $HOME is unset or empty.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        return found->pw_dir;
    }
    return {};
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::string UserConfigHome(std::string_view xdgConfigHome, std::string_view home) {
    const bool absolute = !xdgConfigHome.empty() && xdgConfigHome.front() == '/';
    std::string folder = std::filesystem::path(absolute ? std::string(xdgConfigHome)
                                                        : std::string(home) + "/.config")
                             .lexically_normal()
                             .string();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

FileLocations LocateFiles(const std::string& programFolder) {
    FileLocations portable{false, programFolder, programFolder, {}};
    if (IsFolder(programFolder + "skin")) return portable;
    const std::string shared =
        std::filesystem::path(programFolder + "../share/dtuconfig/").lexically_normal().string();
    if (!IsFolder(shared + "skin")) return portable;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string config = UserConfigHome(xdg ? xdg : "", HomeFolder());
    const std::filesystem::path icon =
        shared + "../icons/hicolor/128x128/apps/org.example.dtuconfig.png";
    return {true, WithSlash(shared), config + "/dtuconfig/", icon.lexically_normal().string()};
}

bool MakeFolders(const std::string& folder) {
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::path(folder).lexically_normal();
    std::filesystem::path partial;
    for (const std::filesystem::path& part : path) {
        partial /= part;
        if (part.empty() || IsFolder(partial)) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return IsFolder(path);
}

}  // namespace platform
