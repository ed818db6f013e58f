#include "platform/language_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::WriteFile;

// The text, cut to 199 characters, then the suffix; only the suffix when the text is missing.
// The file is read on every call, so that an edited file takes effect at once.
TEST(LanguageTexts, LoadTextReadsTheFileEachTimeAndAppendsTheSuffix) {
    testing_support::TempFolder folder;
    const std::string path = folder.File("Language.ini");
    const LanguageTexts texts(path);
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "\r\n");
    WriteFile(path, "[Notice]\nSaved = Settings saved \n");
    EXPECT_EQ(texts.LoadText("notice", "SAVED", "\r\n"), "Settings saved\r\n");
    WriteFile(path, "[Notice]\nSaved=" + std::string(250, 'x') + "\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), std::string(199, 'x') + "\r\n");
    EXPECT_EQ(texts.LoadText("Notice", "Missing"), "");
}

}  // namespace
}  // namespace platform
