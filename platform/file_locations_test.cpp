// Where the program, its working folder and its files are; starting another program; files
// replaced whole or not at all.
#include "platform/file_locations.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <tuple>

#include "platform/atomic_file.h"
#include "platform/program_folder.h"
#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_support::ReadFile;
using testing_support::TempFolder;

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
    TempFolder root;
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
    TempFolder root;
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
    TempFolder folder;
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
    TempFolder folder;
    const std::string out = folder.File("out.txt");
    ASSERT_EQ(setenv("DTU_PLATFORM_TEST_VAR", "from parent", 1), 0);
    const char* script =
        "echo \"$0|$1|$DTU_PLATFORM_TEST_VAR\" > \"$1.part\" && mv \"$1.part\" \"$1\"";
    ASSERT_TRUE(StartProcess("/bin/sh", {"-c", script, "first arg", out}));
    unsetenv("DTU_PLATFORM_TEST_VAR");
    // The child is not waited for; its file appears whole, within a generous time.
    for (int i = 0; i < 3000 && !fs::exists(out); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ReadFile(out), "first arg|" + out + "|from parent\n");
    EXPECT_FALSE(StartProcess(folder.File("missing"), {}));
    testing_support::WriteFile(folder.File("plain.txt"), "not a program\n");
    EXPECT_FALSE(StartProcess(folder.File("plain.txt"), {}));
}

/// A folder's content: each name with "folder", "link to TARGET", or a file's mode in octal
/// and its content ("644 old"); the payload below shows as "new".
using Listing = std::map<std::string, std::string>;

/// Every byte value, in a length that is no multiple of any buffer size.
const std::string kPayload = [] {
    std::string bytes(300001, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}();

void Make(const TempFolder& folder, const Listing& listing) {
    for (const auto& [name, what] : listing) {
        const std::string path = folder.File(name);
        if (what == "folder") fs::create_directories(path);
        if (what.starts_with("link to ")) fs::create_symlink(what.substr(8), path);
        if (std::isdigit(what[0])) {
            testing_support::WriteFile(path, what.substr(4));
            fs::permissions(path, fs::perms(std::stoi(what.substr(0, 3), nullptr, 8)));
        }
    }
}

Listing Snapshot(const TempFolder& folder) {
    Listing seen;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        const std::string path = entry.path().string();
        std::string& what = seen[path.substr(folder.Path().size() + 1)];
        if (entry.is_symlink() || entry.is_directory()) {
            what = entry.is_symlink() ? "link to " + fs::read_symlink(path).string() : "folder";
            continue;
        }
        char mode[8];
        std::snprintf(mode, sizeof mode, "%03o ", unsigned(entry.status().permissions()));
        what = mode + (ReadFile(path) == kPayload ? std::string("new") : ReadFile(path));
    }
    return seen;
}

// The bytes go in place with the mode a create gives (not the temporary file's 0600) or the
// old file's; a link stays a link to the file replaced or created (a relative target counts
// from its link's folder). A failure changes nothing and says why. Nothing is left beside.
TEST(ReplaceFileAtomically, ReplacesOrChangesNothing) {
    // clang-format off
    const struct {
        mode_t umask;
        Listing before;
        const char* path;
        int error;
        Listing after;  // on failure: as before
    } kCases[] = {
        {022, {}, "f", 0, {{"f", "644 new"}}},
        {077, {{"f", "640 old"}}, "f", 0, {{"f", "640 new"}}},
        {022, {{"link", "link to real"}, {"real", "604 old"}}, "link", 0,
              {{"link", "link to real"}, {"real", "604 new"}}},
        {022, {{"outer", "link to sub/inner"}, {"sub", "folder"}, {"sub/inner", "link to ../real"}},
         "outer", 0, {{"outer", "link to sub/inner"}, {"real", "644 new"}, {"sub", "folder"},
                      {"sub/inner", "link to ../real"}}},
        {027, {{"link", "link to made"}}, "link", 0, {{"link", "link to made"}, {"made", "640 new"}}},
        // The new content is complete when the rename fails: a folder stands in the way.
        {022, {{"f", "folder"}, {"f/in", "folder"}}, "f", EISDIR, {}},
        {022, {{"keep", "644 old"}}, "keep/f", ENOTDIR, {}},
        {022, {{"a", "link to b"}, {"b", "link to a"}}, "a", ELOOP, {}},
        // The disk fills up halfway (the size limit below): the write is cut short, then refused.
        {022, {{"keep", "644 old"}}, "keep", EFBIG, {}}};
    // clang-format on
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the size limit fails instead
    for (const auto& c : kCases) {
        TempFolder folder;
        Make(folder, c.before);
        rlimit old{}, limit{};
        getrlimit(RLIMIT_FSIZE, &old);
        limit = {c.error == EFBIG ? 1000 : old.rlim_cur, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        const mode_t mask = umask(c.umask);
        // A bare name is a file of the working folder, as in "dtucfg save site.cfg".
        const fs::path workingFolder = fs::current_path();
        fs::current_path(folder.Path());
        const bool bare = std::string_view(c.path).find('/') == std::string_view::npos;
        int error = -1;
        const bool ok =
            ReplaceFileAtomically(bare ? c.path : folder.File(c.path), kPayload, &error);
        const int errnoAfter = errno;
        fs::current_path(workingFolder);
        umask(mask);
        setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(ok, c.error == 0) << c.path;
        EXPECT_EQ(error, c.error == 0 ? -1 : c.error) << c.path;  // untouched on success
        EXPECT_EQ(ok ? c.error : errnoAfter, c.error) << "errno, " << c.path;
        EXPECT_EQ(Snapshot(folder), c.error ? c.before : c.after) << c.path;
    }
}

}  // namespace
}  // namespace platform
