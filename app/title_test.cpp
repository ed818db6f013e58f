#include "app/title.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/temp_folder_for_test.h"
#include "ui/dialog_builder.h"

namespace app {
namespace {

class TitleFiles : public ::testing::Test {
  protected:
    void Write(const std::string& name, const std::string& text) {
        platform::testing_support::WriteFile(folder + name, text);
    }

    platform::testing_support::TempFolder temp;
    std::string folder = temp.Path() + "/";
    platform::LanguageTexts texts{folder + "Language.ini"};
};

// "Help.txt" of the folder, at most 9999 bytes, else the fallback with its line end, at most 99
// bytes; neither cuts a character in two.
TEST_F(TitleFiles, HelpTextOrItsFallbackCutToTheirLimits) {
    const std::string a(9996, 'a');
    const std::tuple<std::optional<std::string>, std::string, std::string> cases[] = {
        {"How to use\nthe tool\n", "no help", "How to use\nthe tool\n"},
        {a + "a配置", "", a + "a"},  // 9997 + 3 + 3 bytes
        {a + "配置", "", a + "配"},
        {std::nullopt, "no help here", "no help here\r\n"},
        {std::nullopt, std::string(150, 'h'), std::string(99, 'h')},
        {std::nullopt, "", "\r\n"}};
    for (const auto& [help, fallback, shown] : cases) {
        std::filesystem::remove(folder + "Help.txt");
        if (help) Write("Help.txt", *help);
        Write("Language.ini", fallback.empty() ? "" : "[InitValue]\nText=" + fallback + "\n");
        EXPECT_EQ(HelpText(folder.substr(0, folder.size() - 1), texts), shown) << fallback;
    }
}

TEST_F(TitleFiles, RefreshSetsTheHelpOfTheCurrentFolderElseTheSkins) {
    std::filesystem::create_directory(folder + "cwd");
    Write("Help.txt", "skin help\n");
    ui::PaintManager pm;
    pm.AttachDialog(ui::DialogBuilder().CreateFromText(
        "<VerticalLayout><RichEdit name=\"HelpRichEdit\"/><Label name=\"VerDown\"/>"
        "</VerticalLayout>",
        nullptr, &pm));
    const TitleInputs in{true, 0, folder + "cwd", folder};
    RefreshTitle(pm, texts, in);
    EXPECT_EQ(pm.FindControl("HelpRichEdit")->GetText(), "skin help\n");
    Write("cwd/Help.txt", "local help\n");
    RefreshTitle(pm, texts, in);
    RefreshTitle(pm, texts, in);  // set, not appended
    EXPECT_EQ(pm.FindControl("HelpRichEdit")->GetText(), "local help\n");
    EXPECT_EQ(pm.FindControl("VerDown")->GetText(), "Halvorn 2018/12/11 V1.2.3");
}

}  // namespace
}  // namespace app
