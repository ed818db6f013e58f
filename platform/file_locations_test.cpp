#include "platform/file_locations.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::TempFolder;

TEST(UserConfigHome, FollowsTheXdgRules) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/srv/cfg", "/home/ann", "/srv/cfg"},        {"/srv/cfg/", "/home/ann", "/srv/cfg"},
        {"", "/home/ann", "/home/ann/.config"},        // unset or empty
        {"cfg", "/home/ann", "/home/ann/.config"},     // relative: ignored
        {"~/cfg", "/home/ann/", "/home/ann/.config"},  // no tilde expansion either
        {"./here", "/home/ann", "/home/ann/.config"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserConfigHome(c.xdg, c.home), c.expected) << "XDG_CONFIG_HOME=" << c.xdg;
    }
}

/// A tree like an installed prefix or a portable copy, and $XDG_CONFIG_HOME pointed into it
/// for the test's duration.
class LocateFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root_.Ok());
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            if (const char* value = getenv(name)) saved_[name] = value;
        }
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", root_.File("xdg").c_str(), 1), 0);
        std::filesystem::create_directories(root_.File("prefix/bin"));
    }
    void TearDown() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const auto saved = saved_.find(name);
            if (saved != saved_.end()) {
                setenv(name, saved->second.c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
    }
    void MakeFolder(const std::string& relative) {
        ASSERT_TRUE(std::filesystem::create_directories(root_.File(relative)));
    }
    std::string Bin() const { return root_.File("prefix/bin/"); }

    TempFolder root_;
    std::map<std::string, std::string> saved_;
};

TEST_F(LocateFilesTest, SkinBesideTheProgramIsPortable) {
    MakeFolder("prefix/bin/skin");
    MakeFolder("prefix/share/dtuconfig/skin");  // the skin beside the program wins
    const FileLocations files = LocateFiles(Bin());
    EXPECT_FALSE(files.installed);
    EXPECT_EQ(files.dataFolder, Bin());
    EXPECT_EQ(files.settingsFolder, Bin());
    EXPECT_EQ(files.iconFile, "");
}

TEST_F(LocateFilesTest, SharedDataIsInstalledWithTheSettingInTheUsersFolder) {
    MakeFolder("prefix/share/dtuconfig/skin");
    const FileLocations files = LocateFiles(Bin());
    EXPECT_TRUE(files.installed);
    EXPECT_EQ(files.dataFolder, root_.File("prefix/share/dtuconfig/"));
    EXPECT_EQ(files.settingsFolder, root_.File("xdg/dtuconfig/"));
    EXPECT_EQ(files.iconFile,
              root_.File("prefix/share/icons/hicolor/128x128/apps/org.example.dtuconfig.png"));

    ASSERT_EQ(setenv("XDG_CONFIG_HOME", "relative/cfg", 1), 0);
    ASSERT_EQ(setenv("HOME", root_.File("home").c_str(), 1), 0);
    EXPECT_EQ(LocateFiles(Bin()).settingsFolder, root_.File("home/.config/dtuconfig/"));
}

TEST_F(LocateFilesTest, NoSkinAnywhereLooksBesideTheProgram) {
    MakeFolder("prefix/share/dtuconfig");  // the data folder without its skin
    const FileLocations files = LocateFiles(Bin());
    EXPECT_FALSE(files.installed);
    EXPECT_EQ(files.dataFolder, Bin());
    EXPECT_EQ(files.settingsFolder, Bin());
}

TEST(MakeFolders, CreatesMissingParentsPrivately) {
    TempFolder root;
    ASSERT_TRUE(root.Ok());
    const mode_t saved = umask(022);
    const std::string folder = root.File("a/b/c/");
    EXPECT_TRUE(MakeFolders(folder));
    EXPECT_TRUE(MakeFolders(folder));  // already there
    umask(saved);
    for (const char* part : {"a", "a/b", "a/b/c"}) {
        struct stat info {};
        ASSERT_EQ(stat(root.File(part).c_str(), &info), 0) << part;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << part;
    }
    testing_support::WriteFile(root.File("file"), "x");
    EXPECT_FALSE(MakeFolders(root.File("file/sub")));
}

}  // namespace
}  // namespace platform
