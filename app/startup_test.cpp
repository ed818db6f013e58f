#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/test_frame.h"

namespace app {
namespace {

struct CodeCase {
    const char* config;  // nullptr: no config.ini at all
    int code;
    const char* skin;
};

TEST(Startup, LanguageCodeChoosesTheSkin) {
    const CodeCase cases[] = {
        {nullptr, 0, "skin/ConifgENRes"},
        {"[Other]\nLanguage=1\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=0\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=1\n", 1, "skin/ConifgRes"},
        {"[set]\nlanguage=7\n", 7, "skin/ConifgRes"},
        {"[Set]\nLanguage=  -2x\n", -2, "skin/ConifgRes"},
        {"[Set]\nLanguage=abc\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=\n", 0, "skin/ConifgENRes"},
        // Only 19 characters are read: the 20th digit is not part of the number.
        {"[Set]\nLanguage=0000000000000000001\n", 1, "skin/ConifgRes"},
        {"[Set]\nLanguage=00000000000000000001\n", 0, "skin/ConifgENRes"},
    };
    for (const CodeCase& c : cases) {
        const std::string folder = testing::MakeProgramFolder("code");
        if (c.config) std::ofstream(folder + "config.ini") << c.config;
        const int code = ReadLanguageCode(folder);
        EXPECT_EQ(code, c.code) << (c.config ? c.config : "(none)");
        EXPECT_EQ(SkinFolder(folder, code), folder + c.skin);
        std::filesystem::remove_all(folder);
    }
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
        ran = true;
        ui::HeadlessLoop loop(frame);
        frame.PostQuitMessage(3);
        return loop.Run();
    }
    platform::ScriptedDialogs dialogs;
    ui::ManualClock clock;
    bool ran = false;
};

TEST(Startup, BrokenSkinEndsWithAMessageAndExitCodeOne) {
    ProgramOptions options;
    options.programFolder = testing::MakeProgramFolder("noskin");
    HeadlessFrontend frontend;
    EXPECT_EQ(RunProgram(frontend, options), 1);
    EXPECT_FALSE(frontend.ran);
    ASSERT_EQ(frontend.dialogs.Boxes().size(), 1u);
    EXPECT_NE(frontend.dialogs.Boxes()[0].text.find("skin/ConifgENRes"), std::string::npos);
    std::filesystem::remove_all(options.programFolder);
}

TEST(Startup, RunsTheLoopOnTheSkinOfTheStoredLanguage) {
    ProgramOptions options;
    options.programFolder = testing::MakeProgramFolder("run");
    std::filesystem::create_directories(options.programFolder + "skin");
    std::filesystem::create_directory_symlink(std::string(DTU_SKIN_DIR) + "/ConifgRes",
                                              options.programFolder + "skin/ConifgRes");
    std::ofstream(options.programFolder + "config.ini") << "[Set]\nLanguage=1\n";
    HeadlessFrontend frontend;
    EXPECT_EQ(RunProgram(frontend, options), 3);
    EXPECT_TRUE(frontend.ran);
    EXPECT_EQ(ui::PaintManager::GetResourcePath(), options.programFolder + "skin/ConifgRes");
    std::filesystem::remove_all(options.programFolder);
}

}  // namespace
}  // namespace app
