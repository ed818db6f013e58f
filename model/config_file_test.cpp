#include "model/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace model {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

struct LineEndCase {
    std::string text;   // as received
    std::string bytes;  // as on disk
};

TEST(ConfigFileText, LineEndsTranslateBothWaysByteForByte) {
    const LineEndCase cases[] = {
        {"\r\nAccess Point Name: cmnet\r\n", "\r\r\nAccess Point Name: cmnet\r\r\n"},
        {"a\nb", "a\r\nb"},
        {"no line end", "no line end"},
        {"\r", "\r"},
        {"\n\n", "\r\n\r\n"},
        {"", ""},
    };
    for (const LineEndCase& c : cases) {
        EXPECT_EQ(ToFileText(c.text), c.bytes);
        EXPECT_EQ(FromFileText(c.bytes), c.text);
    }
}

TEST(ConfigFileText, OtherToolsCrLfFilesReadAsPlainLinesAndCtrlZEnds) {
    EXPECT_EQ(FromFileText("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(FromFileText(std::string("abc\x1A"
                                       "def",
                                       7)),
              "abc");
    EXPECT_EQ(FromFileText("x\r\r\r\n"), "x\r\r\n");
}

TEST(ConfigFileText, AtMostTheReceiveTextsSizeAfterTranslation) {
    std::string bytes;
    for (int i = 0; i < 6000; ++i) bytes += "ab\r\n";  // 24000 bytes, 18000 after translation
    const std::string text = FromFileText(bytes);
    EXPECT_EQ(text.size(), 16000u);
    EXPECT_EQ(text.substr(0, 6), "ab\nab\n");
}

class ConfigFileDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("cfgtest-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        path = (dir / "7315.cfg").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    size_t FilesInDir() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                 std::filesystem::directory_iterator()));
    }
    std::filesystem::path dir;
    std::string path;
};

TEST_F(ConfigFileDisk, WrittenReportReadsBackIdentical) {
    std::string report = "RF MODEL: BG96\r\nAccess Point Name: cmnet\r\n";
    for (int i = 0; i < 200; ++i) report += "\r\nLabel" + std::to_string(i) + ": value\r\n";
    report += "\r\nOK\r\n";
    ASSERT_TRUE(WriteConfigFile(path, report));
    EXPECT_EQ(Slurp(path), ToFileText(report));
    EXPECT_EQ(ReadConfigFile(path).value_or("?"), report);
}

// The file is replaced whole (see platform/atomic_file_test.cpp); that a save goes that way
// shows in the mode the user gave the file, which stays, and no file left beside it.
TEST_F(ConfigFileDisk, ReplacesTheFileWholeKeepingItsMode) {
    ASSERT_TRUE(WriteConfigFile(path, "old\n"));
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(WriteConfigFile(path, "new\n"));
    EXPECT_EQ(Slurp(path), "new\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(ConfigFileDisk, MissingFolderOrFileFails) {
    EXPECT_FALSE(WriteConfigFile((dir / "none" / "x.cfg").string(), "x"));
    EXPECT_EQ(errno, ENOENT);  // errno says why
    EXPECT_FALSE(ReadConfigFile((dir / "absent.cfg").string()).has_value());
}

}  // namespace
}  // namespace model
