#include "app/startup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/test_frame.h"

namespace app {
namespace {

// Section "Set", key "Language", 19 characters at most; a code other than 0 is Chinese.
TEST(Startup, LanguageCodeChoosesTheSkin) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"[set]\nlanguage=7\n", 7, "skin/ConifgRes"},
        {"[Set]\nLanguage=0000000000000000001\n", 1, "skin/ConifgRes"},
        {"[Set]\nLanguage=00000000000000000001\n", 0, "skin/ConifgENRes"}};
    const std::string folder = testing::MakeProgramFolder("code");
    for (const auto& [config, code, skin] : cases) {
        std::ofstream(folder + "config.ini") << config;
        EXPECT_EQ(ReadLanguageCode(folder), code) << config;
        EXPECT_EQ(SkinFolder(folder, code), folder + skin);
    }
    std::filesystem::remove_all(folder);
}

TEST(Startup, PortOptionsAreCollectedAndEverythingKeptForARestart) {
    const std::vector<std::string> args = {"--port", "/dev/pts/3", "--simulate",
                                           "--port=/dev/ttyUSB1", "--port"};
    const ProgramOptions options = ParseProgramOptions(args);
    EXPECT_EQ(options.extraPorts, (std::vector<std::string>{"/dev/pts/3", "/dev/ttyUSB1"}));
    EXPECT_EQ(options.args, args);
}

class HeadlessFrontend : public Frontend {
  public:
    platform::Dialogs& Dialogs() override { return dialogs; }
    ui::Clock& Clock() override { return clock; }
    int Run(CK4X30FrameWnd& frame) override {
        ui::HeadlessLoop loop(frame);
        frame.PostQuitMessage(3);
        return loop.Run();
    }
    platform::ScriptedDialogs dialogs;
    ui::ManualClock clock;
};

// The stored language's skin runs the loop (the build's Chinese skin); without a layout, or
// with one that has no log view, the program ends with 1 and a message naming what is wrong.
TEST(Startup, RunsOnTheSkinOfTheStoredLanguageOrEndsWithAMessage) {
    // "Language", the English skin's layout, the skin used, the exit code, the box's word.
    const std::tuple<const char*, const char*, const char*, int, const char*> cases[] = {
        {"1", nullptr, "ConifgRes", 3, nullptr},
        {nullptr, nullptr, "ConifgENRes", 1, "skin/ConifgENRes"},
        {"0", "<Window><VerticalLayout/></Window>", "ConifgENRes", 1, "richedit"}};
    for (const auto& [language, layout, used, code, named] : cases) {
        ProgramOptions options;
        options.programFolder = testing::MakeProgramFolder("run");
        const std::string skin = options.programFolder + "skin/";
        std::filesystem::create_directories(skin);
        std::filesystem::create_directory_symlink(std::string(DTU_SKIN_DIR) + "/ConifgRes",
                                                  skin + "ConifgRes");
        if (language)
            std::ofstream(options.programFolder + "config.ini") << "[Set]\nLanguage=" << language;
        if (layout) {
            std::filesystem::create_directories(skin + "ConifgENRes");
            std::ofstream(skin + "ConifgENRes/skin.xml") << layout;
        }
        HeadlessFrontend frontend;
        EXPECT_EQ(RunProgram(frontend, options), code);
        EXPECT_EQ(ui::PaintManager::GetResourcePath(), skin + used);
        ASSERT_EQ(frontend.dialogs.Boxes().size(), named ? 1u : 0u);
        const std::string box = named ? frontend.dialogs.Boxes()[0].text : "";
        EXPECT_NE(box.find(named ? named : ""), std::string::npos) << box;
        std::filesystem::remove_all(options.programFolder);
    }
}

}  // namespace
}  // namespace app
