#include "view/qt_frontend.h"

#include "link/messages.h"
#include "view/first_frame.h"
#include "view/main_window.h"
#include "view/mirror.h"
#include "view/qt_loop.h"
#include "view/qt_translations.h"

namespace view {

int QtFrontend::Run(app::CK4X30FrameWnd& frame) {
    QTranslator qtTexts;
    InstallQtTranslation(qtTexts, frame.languageCode);
    QtLoop loop(frame);
    Mirror mirror(frame.paintManager);
    MainWindow window(frame, mirror);
    frame.SetScreen(&window);
    ReportFirstFrame(window, [&frame] { devlink::SysCommandMsg::Post(frame, ui::SC_CLOSE); });
    window.ShowCentred();
    const int code = loop.Run();
    // The worker and the port's thread wake the loop: they stop while it still exists.
    frame.ShutDown();
    frame.SetScreen(nullptr);
    window.hide();
    return code;
}

}  // namespace view
