// Where the program, its working folder and its files are; starting another program.
#include "platform/file_locations.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>

#include "platform/program_folder.h"
#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

TEST(ProgramFolder, NamesTheRunningExecutableAndItsFolder) {
    EXPECT_TRUE(fs::equivalent(ProgramPath(), "/proc/self/exe"));
    EXPECT_EQ(ProgramFolder() + "platform_test", ProgramPath());
}

TEST(CurrentDirectory, HasNoTrailingSlashAndAnyLength) {
    testing_support::TempFolder folder;
    const fs::path saved = fs::current_path();
    std::string expected = fs::canonical(folder.Path()).string();
    for (int i = 0; i < 6; ++i) {  // well past the first buffer size
        expected += "/" + std::string(100, 'd');
        fs::create_directory(expected);
    }
    ASSERT_EQ(chdir(expected.c_str()), 0);
    EXPECT_EQ(CurrentDirectory(), expected);
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(CurrentDirectory(), "/");
    fs::current_path(saved);
}

TEST(StartProcess, StartsTheProgramWithItsArgumentsAndOurEnvironmentOrFails) {
    testing_support::TempFolder folder;
    const std::string out = folder.File("out.txt");
    ASSERT_EQ(setenv("DTU_PLATFORM_TEST_VAR", "from parent", 1), 0);
    const char* script =
        "echo \"$0|$1|$DTU_PLATFORM_TEST_VAR\" > \"$1.part\" && mv \"$1.part\" \"$1\"";
    ASSERT_TRUE(StartProcess("/bin/sh", {"-c", script, "first arg", out}));
    unsetenv("DTU_PLATFORM_TEST_VAR");
    // The child is not waited for; its file appears whole, within a generous time.
    for (int i = 0; i < 3000 && !fs::exists(out); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(testing_support::ReadFile(out), "first arg|" + out + "|from parent\n");
    EXPECT_FALSE(StartProcess(folder.File("missing"), {}));
    testing_support::WriteFile(folder.File("plain.txt"), "not a program\n");
    EXPECT_FALSE(StartProcess(folder.File("plain.txt"), {}));
}

}  // namespace
}  // namespace platform
