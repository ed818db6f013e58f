// dtuconfig: the desktop configuration tool. With --simulate[=PROFILE] a simulated unit runs
// on a pseudo-terminal inside the program and is listed first among the ports, so the whole
// exchange can be tried without hardware.
#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <memory>
#include <string_view>

#include "app/startup.h"
#include "dtu_version.h"
#include "platform/file_locations.h"
#include "platform/program_folder.h"
#include "sim/simulated_unit.h"
#include "view/qt_frontend.h"

namespace {

/// The profile named by "--simulate" or "--simulate=NAME"; empty when not asked for.
std::string SimulateOption(const std::vector<std::string>& args, bool& asked) {
    asked = false;
    for (const std::string& arg : args) {
        if (arg == "--simulate") {
            asked = true;
            return sim::DefaultProfile().name;
        }
        if (arg.rfind("--simulate=", 0) == 0) {
            asked = true;
            return arg.substr(11);
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // Answered without a display, so they work over ssh and in scripts.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("dtuconfig %s\n", dtu::kVersion);
        return 0;
    }
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::printf(
            "usage: dtuconfig [--port PATH]... [--simulate[=PROFILE]]\n"
            "       dtuconfig --version\n"
            "profiles:");
        for (const std::string& name : sim::ProfileNames()) std::printf(" %s", name.c_str());
        std::printf("\nSee dtuconfig(1).\n");
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dtuconfig"));
    std::vector<std::string> args(argv + 1, argv + argc);
    app::ProgramOptions options = app::ParseProgramOptions(args);
    options.programFolder = platform::ProgramFolder();
    // The menu entry's name and icon, so the desktop shows the window as that entry's. The
    // icon is read from where the install put it: asked for by name, Qt parses the icon
    // theme's whole index first (hicolor's lists over a thousand folders): milliseconds of
    // each start.
    QApplication::setDesktopFileName(QStringLiteral("org.example.dtuconfig"));
    const std::string icon = platform::LocateFiles(options.programFolder).iconFile;
    if (!icon.empty()) QApplication::setWindowIcon(QIcon(QString::fromStdString(icon)));
    options.programPath = platform::ProgramPath();

    bool simulate = false;
    const std::string profileName = SimulateOption(args, simulate);
    std::unique_ptr<sim::SimulatedUnit> unit;
    if (simulate) {
        const sim::Profile* profile = sim::FindProfile(profileName);
        if (!profile) {
            std::fprintf(stderr,
                         "dtuconfig: no simulated unit named \"%s\"; known:", profileName.c_str());
            for (const std::string& name : sim::ProfileNames())
                std::fprintf(stderr, " %s", name.c_str());
            std::fprintf(stderr, "\n");
            return 2;
        }
        // A unit that is still starting when the user gets to "Open", as one powered from the
        // adapter is: the handshake brings it into configuration mode without "Login".
        sim::UnitOptions unitOptions;
        unitOptions.startWindowMs = 10 * 60 * 1000;
        unit = std::make_unique<sim::SimulatedUnit>(*profile, unitOptions);
        if (!unit->Start()) {
            std::fprintf(stderr, "dtuconfig: the simulated unit could not start\n");
            return 1;
        }
        options.extraPorts.insert(options.extraPorts.begin(), unit->DevicePath());
    }
    view::QtFrontend frontend;
    return app::RunProgram(frontend, options);
}
