#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

/// Every byte value, in a length that is no multiple of any buffer size.
std::string Payload() {
    std::string bytes;
    for (int i = 0; i < 300001; ++i) bytes.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    return bytes;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

/// Sets the umask for one test and puts the old one back.
class UmaskFor {
  public:
    explicit UmaskFor(mode_t mask) : old_(umask(mask)) {}
    ~UmaskFor() { umask(old_); }
    UmaskFor(const UmaskFor&) = delete;
    UmaskFor& operator=(const UmaskFor&) = delete;

  private:
    mode_t old_;
};

/// What a folder holds, recursively: each name with its kind and, for files, its content.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> seen;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        if (entry.is_symlink()) {
            seen[name] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            seen[name] = "folder";
        } else {
            seen[name] = ReadFile(entry.path().string());
        }
    }
    return seen;
}

struct ReplaceCase {
    const char* what;
    mode_t umask;
    std::function<void(const TempFolder&)> prepare;
    const char* path;    // the name written to
    const char* file;    // the regular file that must hold the bytes afterwards
    mode_t mode;         // its mode afterwards
    const char* link;    // a name that must still be a symbolic link, or nullptr
    const char* listed;  // every name in the folder afterwards, sorted, joined by blanks
};

void PrintTo(const ReplaceCase& c, std::ostream* out) {
    *out << c.what;
}

class ReplaceFileTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceFileTest, PutsTheBytesInPlace) {
    const ReplaceCase& c = GetParam();
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const UmaskFor mask(c.umask);
    ASSERT_NO_FATAL_FAILURE(c.prepare(folder));
    const std::string bytes = Payload();

    int error = -1;
    ASSERT_TRUE(ReplaceFileAtomically(folder.File(c.path), bytes, &error)) << strerror(error);
    EXPECT_EQ(error, -1);  // untouched on success
    EXPECT_TRUE(ReadFile(folder.File(c.file)) == bytes);
    EXPECT_EQ(ModeOf(folder.File(c.file)), c.mode);
    if (c.link) {
        EXPECT_TRUE(fs::is_symlink(folder.File(c.link)));
    }
    std::string listed;
    for (const auto& [name, content] : Snapshot(folder.Path())) {
        listed += (listed.empty() ? "" : " ") + name;
    }
    EXPECT_EQ(listed, c.listed);  // no temporary file left
}

void Nothing(const TempFolder&) {}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceFileTest,
    ::testing::Values(
        // A new file gets what a plain create gives, not the temporary file's 0600.
        ReplaceCase{"new", 022, Nothing, "f", "f", 0644, nullptr, "f"},
        ReplaceCase{"new, no mask", 0, Nothing, "f", "f", 0666, nullptr, "f"},
        ReplaceCase{"new, strict mask", 077, Nothing, "f", "f", 0600, nullptr, "f"},
        ReplaceCase{"existing keeps its mode whatever the mask", 077,
                    [](const TempFolder& d) {
                        WriteFile(d.File("f"), "old");
                        ASSERT_EQ(chmod(d.File("f").c_str(), 0640), 0);
                    },
                    "f", "f", 0640, nullptr, "f"},
        ReplaceCase{"through a link", 022,
                    [](const TempFolder& d) {
                        WriteFile(d.File("real"), "old");
                        ASSERT_EQ(chmod(d.File("real").c_str(), 0604), 0);
                        ASSERT_EQ(symlink(d.File("real").c_str(), d.File("link").c_str()), 0);
                    },
                    "link", "real", 0604, "link", "link real"},
        // Relative targets count from the folder of the link that holds them.
        ReplaceCase{"through a chain of relative links", 022,
                    [](const TempFolder& d) {
                        fs::create_directory(d.File("sub"));
                        WriteFile(d.File("real"), "old");
                        ASSERT_EQ(symlink("sub/inner", d.File("outer").c_str()), 0);
                        ASSERT_EQ(symlink("../real", d.File("sub/inner").c_str()), 0);
                    },
                    "outer", "real", 0644, "sub/inner", "outer real sub sub/inner"},
        ReplaceCase{
            "a dangling link creates its target", 027,
            [](const TempFolder& d) { ASSERT_EQ(symlink("made", d.File("link").c_str()), 0); },
            "link", "made", 0640, "link", "link made"}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) {
        return "Case" + std::to_string(info.index);
    });

/// Lets writes past `bytes` fail with EFBIG, as a full disk would fail them.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

struct FailureCase {
    const char* what;
    std::function<void(const TempFolder&)> prepare;
    const char* path;
    int error;
    bool needsPermissions;  // a test that root passes through
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.what;
}

class ReplaceFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReplaceFailureTest, LeavesEverythingAsItWas) {
    const FailureCase& c = GetParam();
    if (c.needsPermissions && geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    WriteFile(folder.File("keep"), "old content");
    ASSERT_NO_FATAL_FAILURE(c.prepare(folder));
    const auto before = Snapshot(folder.Path());

    int error = 0;
    bool ok = true;
    {
        std::optional<FileSizeLimit> limit;
        if (c.error == EFBIG) limit.emplace(1000);
        ok = ReplaceFileAtomically(folder.File(c.path), Payload(), &error);
    }
    const int errnoAfter = errno;
    chmod(folder.File("ro").c_str(), 0755);  // so that the folder can be removed
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, c.error) << strerror(error);
    EXPECT_EQ(errnoAfter, c.error);
    EXPECT_EQ(Snapshot(folder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceFailureTest,
    ::testing::Values(
        FailureCase{"folder that cannot be written",
                    [](const TempFolder& d) {
                        fs::create_directory(d.File("ro"));
                        WriteFile(d.File("ro/f"), "old");
                        ASSERT_EQ(chmod(d.File("ro").c_str(), 0555), 0);
                    },
                    "ro/f", EACCES, true},
        // The new content is complete when the rename fails: a folder stands in the way.
        FailureCase{"a folder where the file should be",
                    [](const TempFolder& d) { fs::create_directories(d.File("f/inside")); }, "f",
                    EISDIR, false},
        FailureCase{"a file where a folder should be", Nothing, "keep/f", ENOTDIR, false},
        FailureCase{"links in a loop",
                    [](const TempFolder& d) {
                        ASSERT_EQ(symlink("b", d.File("a").c_str()), 0);
                        ASSERT_EQ(symlink("a", d.File("b").c_str()), 0);
                    },
                    "a", ELOOP, false},
        // The disk fills up halfway: the write is cut short, then refused.
        FailureCase{"the file cannot grow", Nothing, "keep", EFBIG, false}),
    [](const ::testing::TestParamInfo<FailureCase>& info) {
        return "Case" + std::to_string(info.index);
    });

}  // namespace
}  // namespace platform
