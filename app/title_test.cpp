#include "app/title.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/test_frame.h"
#include "ui/dialog_builder.h"

namespace app {
namespace {

struct LabelCase {
    bool baseModel;
    int languageCode;
    const char* ver;
    const char* verDown;
};

TEST(Title, LabelsByModelAndLanguage) {
    const LabelCase cases[] = {
        {false, 0, "7315_E ConfigureTool V1.2.3", "Halvorn 2018/12/11 V1.2.3"},
        {true, 0, "7315 ConfigureTool V1.2.3", "Halvorn 2018/12/11 V1.2.3"},
        {false, 1, "7315_E 配置工具 V1.2.3", "Halvorn 2018年12月11日 V1.2.3"},
        {true, 7, "7315 配置工具 V1.2.3", "Halvorn 2018年12月11日 V1.2.3"},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(VersionLabel(c.baseModel, c.languageCode), c.ver);
        EXPECT_EQ(DateLabel(c.languageCode), c.verDown);
    }
}

class TitleFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testing::MakeProgramFolder("title");
        ini = folder + "Language.ini";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder + name, std::ios::binary) << text;
    }
    std::string folder, ini;
};

TEST_F(TitleFiles, HelpComesFromTheGivenFolder) {
    Write("Help.txt", "How to use\nthe tool\n");
    Write("Language.ini", "[InitValue]\nText=no help\n");
    EXPECT_EQ(HelpText(folder.substr(0, folder.size() - 1), platform::LanguageTexts(ini)),
              "How to use\nthe tool\n");
}

TEST_F(TitleFiles, MissingHelpGivesTheFallbackWithItsLineEndCutTo99Bytes) {
    Write("Language.ini", "[InitValue]\nText=no help here\n");
    const platform::LanguageTexts texts(ini);
    EXPECT_EQ(HelpText(folder + "elsewhere", texts), "no help here\r\n");
    Write("Language.ini", "[InitValue]\nText=" + std::string(150, 'h') + "\n");
    EXPECT_EQ(HelpText(folder + "elsewhere", texts), std::string(99, 'h'));
    Write("Language.ini", "[Other]\nx=1\n");
    EXPECT_EQ(HelpText(folder + "elsewhere", texts), "\r\n");
}

TEST_F(TitleFiles, LongHelpIsCutAt9999BytesWithoutASplitCharacter) {
    Write("Help.txt", std::string(9997, 'a') + "配置");  // 9997 + 3 + 3 bytes
    const std::string help =
        HelpText(folder.substr(0, folder.size() - 1), platform::LanguageTexts(ini));
    EXPECT_EQ(help, std::string(9997, 'a'));
    Write("Help.txt", std::string(9996, 'a') + "配置");
    EXPECT_EQ(HelpText(folder.substr(0, folder.size() - 1), platform::LanguageTexts(ini)),
              std::string(9996, 'a') + "配");
}

TEST_F(TitleFiles, RefreshSetsTheHelpInsteadOfAppendingAndSkipsMissingControls) {
    Write("Help.txt", "help\n");
    ui::PaintManager pm;
    ui::DialogBuilder builder;
    pm.AttachDialog(builder.CreateFromText(
        "<VerticalLayout><RichEdit name=\"HelpRichEdit\"/><Label name=\"VerDown\"/>"
        "</VerticalLayout>",
        nullptr, &pm));
    const TitleInputs in{true, 0, folder.substr(0, folder.size() - 1)};
    RefreshTitle(pm, platform::LanguageTexts(ini), in);
    RefreshTitle(pm, platform::LanguageTexts(ini), in);
    EXPECT_EQ(pm.FindControl("HelpRichEdit")->GetText(), "help\n");
    EXPECT_EQ(pm.FindControl("VerDown")->GetText(), "Halvorn 2018/12/11 V1.2.3");
}

TEST_F(TitleFiles, HelpFromTheCurrentDirectoryFirstThenTheDataFolder) {
    const std::string current = folder + "cwd";
    std::filesystem::create_directory(current);
    Write("Help.txt", "installed help\n");
    ui::PaintManager pm;
    ui::DialogBuilder builder;
    pm.AttachDialog(builder.CreateFromText(
        "<VerticalLayout><RichEdit name=\"HelpRichEdit\"/></VerticalLayout>", nullptr, &pm));
    RefreshTitle(pm, platform::LanguageTexts(ini), TitleInputs{true, 0, current, folder});
    EXPECT_EQ(pm.FindControl("HelpRichEdit")->GetText(), "installed help\n");
    Write("cwd/Help.txt", "local help\n");
    RefreshTitle(pm, platform::LanguageTexts(ini), TitleInputs{true, 0, current, folder});
    EXPECT_EQ(pm.FindControl("HelpRichEdit")->GetText(), "local help\n");
}

}  // namespace
}  // namespace app
