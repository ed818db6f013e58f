#include "platform/file_locations.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// An absolute $XDG_CONFIG_HOME, else $HOME/.config: a relative one is ignored, and a tilde
// is no home; without a trailing '/'.
TEST(UserConfigHome, FollowsTheXdgRules) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*> kCases[] = {
        {"/srv/cfg", "/home/ann", "/srv/cfg"}, {"/srv/cfg/", "/home/ann", "/srv/cfg"},
        {"", "/home/ann", "/home/ann/.config"}, {"cfg", "/home/ann", "/home/ann/.config"},
        {"~/cfg", "/home/ann/", "/home/ann/.config"}};
    // clang-format on
    for (const auto& [xdg, home, expected] : kCases) {
        EXPECT_EQ(UserConfigHome(xdg, home), expected) << "XDG_CONFIG_HOME=" << xdg;
    }
}

// Folders added one by one: a skin beside the program makes it portable, else one in
// ../share/dtuconfig installed, with the setting in the user's configuration folder.
TEST(LocateFiles, PortableWithASkinBesideTheProgramInstalledWithOneInShare) {
    testing_support::TempFolder root;
    const std::string bin = root.File("prefix/bin/");
    const std::pair<const char*, bool> kSteps[] = {{"prefix/bin", false},
                                                   {"prefix/share/dtuconfig", false},
                                                   {"prefix/share/dtuconfig/skin", true},
                                                   {"prefix/bin/skin", false}};
    setenv("XDG_CONFIG_HOME", root.File("xdg").c_str(), 1);
    for (const auto& [folder, installed] : kSteps) {
        fs::create_directories(root.File(folder));
        const FileLocations files = LocateFiles(bin);
        EXPECT_EQ(files.installed, installed) << folder;
        EXPECT_EQ(files.dataFolder, installed ? root.File("prefix/share/dtuconfig/") : bin);
        EXPECT_EQ(files.settingsFolder, installed ? root.File("xdg/dtuconfig/") : bin);
        EXPECT_EQ(files.iconFile, installed ? root.File("prefix/share/icons/hicolor/128x128/apps/"
                                                        "org.example.dtuconfig.png")
                                            : "");
    }
    unsetenv("XDG_CONFIG_HOME");
}

TEST(MakeFolders, CreatesMissingParentsPrivately) {
    testing_support::TempFolder root;
    const mode_t saved = umask(022);
    EXPECT_TRUE(MakeFolders(root.File("a/b/c/")));
    EXPECT_TRUE(MakeFolders(root.File("a/b/c/")));  // already there
    umask(saved);
    for (const char* part : {"a", "a/b", "a/b/c"}) {
        EXPECT_EQ(fs::status(root.File(part)).permissions(), fs::perms::owner_all) << part;
    }
    testing_support::WriteFile(root.File("file"), "x");
    EXPECT_FALSE(MakeFolders(root.File("file/sub")));
}

}  // namespace
}  // namespace platform
