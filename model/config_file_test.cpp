#include "model/config_file.h"

#include <gtest/gtest.h>

#include "platform/temp_folder_for_test.h"

namespace model {
namespace {

// Text-mode line ends: a received report's CR LF is stored as CR CR LF and read back; a file
// of another program reads its CR LF as LF, and a byte 26 ends its text.
TEST(ConfigFileText, LineEndsTranslateByteForByte) {
    // As received (or read back), as on disk, whether the tool writes it so.
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"\r\nAccess Point Name: cmnet\r\n", "\r\r\nAccess Point Name: cmnet\r\r\n", true},
        {"a\nb", "a\r\nb", true},
        {"\r", "\r", true},
        {"x\r\r\n", "x\r\r\r\n", true},
        {"\n\n", "\r\n\r\n", true},
        {"", "", true},
        {"abc", "abc\032def\r\n", false},
        {"", "\032", false},
    };
    for (const auto& [text, bytes, written] : cases) {
        if (written) {
            EXPECT_EQ(ToFileText(text), bytes);
        }
        EXPECT_EQ(FromFileText(bytes), text);
    }
}

TEST(ConfigFileText, AtMostTheReceiveTextsSizeAfterTranslation) {
    std::string bytes;
    for (int i = 0; i < 6000; ++i) bytes += "ab\r\n";  // 24000 bytes, 18000 after translation
    const std::string text = FromFileText(bytes);
    EXPECT_EQ(text.size(), 16000u);
    EXPECT_EQ(text.substr(text.size() - 4), "ab\na");
    EXPECT_EQ(FromFileText(bytes, 5), "ab\nab");
}

// A whole report as large as the receive text holds reads back as received: the file's extra
// CR bytes do not cut it short.
TEST(ConfigFile, AWrittenReportReadsBackIdentical) {
    std::string report = "RF MODEL: BG96\r\nAccess Point Name: cmnet\r\n";
    while (report.size() < 15990) report += "\r\nLabel: value\r\n";
    report.resize(15994);
    report += "\r\nOK\r\n";
    const platform::testing_support::TempFolder folder;
    const std::string path = folder.File("7315.cfg");
    ASSERT_TRUE(WriteConfigFile(path, report));
    EXPECT_EQ(ReadConfigFile(path).value_or("?"), report);
}

}  // namespace
}  // namespace model
