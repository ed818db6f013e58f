#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;

TEST(ProgramFolder, PathIsTheRunningExecutable) {
    const std::string path = ProgramPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(std::filesystem::path(path).filename(), "platform_test");
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(ProgramFolder, FolderHoldsThePathAndEndsInSlash) {
    const std::string path = ProgramPath();
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder + "platform_test", path);
}

class CurrentDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Ok());
        saved_ = std::filesystem::current_path();
    }
    void TearDown() override { std::filesystem::current_path(saved_); }
    TempFolder folder_;
    std::filesystem::path saved_;
};

TEST_F(CurrentDirectoryTest, HasNoTrailingSlash) {
    ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
    const std::string expected = std::filesystem::canonical(folder_.Path()).string();
    EXPECT_EQ(CurrentDirectory(), expected);
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(CurrentDirectory(), "/");
}

TEST_F(CurrentDirectoryTest, HandlesLongPaths) {
    ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
    const std::string part(100, 'd');
    for (int i = 0; i < 6; ++i) {  // well past the first buffer size
        ASSERT_TRUE(std::filesystem::create_directory(part));
        ASSERT_EQ(chdir(part.c_str()), 0);
    }
    const std::string current = CurrentDirectory();
    EXPECT_GT(current.size(), 600u);
    EXPECT_EQ(current, std::filesystem::current_path().string());
}

/// Waits up to five seconds for `path` to hold a complete line.
std::string WaitForLine(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        const std::string text = ReadFile(path);
        if (!text.empty() && text.back() == '\n') return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadFile(path);
}

TEST(StartProcess, StartsTheProgramWithArgumentsAndEnvironment) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string out = folder.File("out.txt");
    ASSERT_EQ(setenv("DTU_PLATFORM_TEST_VAR", "from parent", 1), 0);
    ASSERT_TRUE(StartProcess(
        "/bin/sh", {"-c", "echo \"$0|$1|$DTU_PLATFORM_TEST_VAR\" > \"$1\"", "first arg", out}));
    unsetenv("DTU_PLATFORM_TEST_VAR");
    EXPECT_EQ(WaitForLine(out), "first arg|" + out + "|from parent\n");
}

TEST(StartProcess, FailsForAMissingOrNonExecutableFile) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    EXPECT_FALSE(StartProcess(folder.File("no-such-program"), {}));
    const std::string plain = folder.File("plain.txt");
    testing_support::WriteFile(plain, "not a program\n");
    EXPECT_FALSE(StartProcess(plain, {}));
}

}  // namespace
}  // namespace platform
