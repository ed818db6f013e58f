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

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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
