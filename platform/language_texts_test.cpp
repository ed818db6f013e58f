#include "platform/language_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

class LanguageTextsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.Ok()); }
    std::string Path() const { return folder_.File("Language.ini"); }
    TempFolder folder_;
};

struct TextCase {
    const char* what;
    std::string section, key, suffix, expected;
};

TEST_F(LanguageTextsTest, LoadsTextsWithSuffix) {
    WriteFile(Path(),
              "[Notice]\r\n"
              "Saved = Settings saved \r\n"
              "Quoted=\"  padded  \"\r\n"
              "Empty=\r\n"
              "Chinese=参数已保存\r\n"
              "[Caption]\r\n"
              "Title=DTU Config\r\n");
    const LanguageTexts texts(Path());
    EXPECT_EQ(texts.IniPath(), Path());
    const TextCase cases[] = {
        {"found, no suffix", "Notice", "Saved", "", "Settings saved"},
        {"found, line end suffix", "Notice", "Saved", "\r\n", "Settings saved\r\n"},
        {"any letter case", "NOTICE", "saved", ":", "Settings saved:"},
        {"quotes removed", "Notice", "Quoted", "|", "  padded  |"},
        {"empty value", "Notice", "Empty", "\r\n", "\r\n"},
        {"UTF-8 text", "Notice", "Chinese", "\r\n", "参数已保存\r\n"},
        {"missing key gives only the suffix", "Notice", "Missing", "\r\n", "\r\n"},
        {"missing section gives only the suffix", "Missing", "Saved", "\r\n", "\r\n"},
        {"missing key without suffix", "Notice", "Missing", "", ""},
        {"another section", "Caption", "Title", "", "DTU Config"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(texts.LoadText(c.section, c.key, c.suffix), c.expected) << c.what;
    }
}

TEST_F(LanguageTextsTest, MissingFileGivesOnlyTheSuffix) {
    const LanguageTexts texts(folder_.File("absent.ini"));
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "\r\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved"), "");
    const LanguageTexts noPath;
    EXPECT_EQ(noPath.IniPath(), "");
    EXPECT_EQ(noPath.LoadText("Notice", "Saved", "\r\n"), "\r\n");
}

TEST_F(LanguageTextsTest, CutsTheTextNotTheSuffix) {
    WriteFile(
        Path(), "[N]\nLong=" + std::string(250, 'x') + "\nWide=" + [] {
            std::string s;
            for (int i = 0; i < 250; ++i) s += "字";
            return s;
        }() + "\n");
    const LanguageTexts texts(Path());
    EXPECT_EQ(texts.LoadText("N", "Long", "\r\n"),
              std::string(LanguageTexts::kMaxChars, 'x') + "\r\n");
    std::string wide;
    for (std::size_t i = 0; i < LanguageTexts::kMaxChars; ++i) wide += "字";
    EXPECT_EQ(texts.LoadText("N", "Wide", "\r\n"), wide + "\r\n");
}

TEST_F(LanguageTextsTest, AnEditedFileTakesEffectAtOnce) {
    const LanguageTexts texts(Path());
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "\r\n");  // no file yet
    WriteFile(Path(), "[Notice]\nSaved=Old text\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "Old text\r\n");
    WriteFile(Path(), "[Notice]\nSaved=New text\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "New text\r\n");
    WriteFile(Path(), "[Notice]\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "\r\n");
}

TEST_F(LanguageTextsTest, ReadsFromManyThreads) {
    WriteFile(Path(), "[Notice]\nSaved=Settings saved\n");
    const LanguageTexts texts(Path());
    std::vector<std::thread> threads;
    std::vector<int> wrong(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&texts, &wrong, t] {
            for (int i = 0; i < 50; ++i) {
                if (texts.LoadText("Notice", "Saved", "!") != "Settings saved!") ++wrong[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(8, 0));
}

}  // namespace
}  // namespace platform
