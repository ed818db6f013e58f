// dtuconfig: the desktop configuration tool.
#include <QApplication>

#include "app/startup.h"
#include "platform/program_folder.h"
#include "view/qt_frontend.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dtuconfig"));
    std::vector<std::string> args(argv + 1, argv + argc);
    app::ProgramOptions options = app::ParseProgramOptions(args);
    options.programFolder = platform::ProgramFolder();
    options.programPath = platform::ProgramPath();
    view::QtFrontend frontend;
    return app::RunProgram(frontend, options);
}
