// The window's own buttons on Wayland, where the compositor grants a new window state after
// the request: run by tools/test.sh under a headless Weston (QT_QPA_PLATFORM=wayland).
#include <QElapsedTimer>
#include <QPushButton>
#include <QWindow>

#include "view/view_fixture.h"

namespace view {
namespace {

class ViewWaylandTest : public testing::ViewTest {
  protected:
    /// Runs the window's messages and the compositor's answers until `done` or five seconds.
    template <class Done>
    bool WaitFor(Done done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000) Pump(10);
        return done();
    }
};

TEST_F(ViewWaylandTest, MaximiseAndRestoreAreGrantedByTheCompositorAndTheButtonsFollow) {
    if (qgetenv("QT_QPA_PLATFORM") != "wayland") GTEST_SKIP() << "not on Wayland";
    Build();
    t->frame->SetScreen(window.get());
    ASSERT_TRUE(WaitFor([&] { return window->windowHandle()->isExposed(); }));
    const QSize normal = window->size();
    WidgetOf<QPushButton>("maxbtn")->click();
    // Granted once the compositor has sized the window, not when Qt has asked for it.
    EXPECT_TRUE(WaitFor([&] { return window->isMaximized() && window->size() != normal; }));
    EXPECT_TRUE(WaitFor([&] { return WidgetOf<QWidget>("maxbtn")->isHidden(); }));
    EXPECT_FALSE(WidgetOf<QWidget>("restorebtn")->isHidden());
    WidgetOf<QPushButton>("restorebtn")->click();
    EXPECT_TRUE(WaitFor([&] { return !window->isMaximized() && window->size() == normal; }));
    EXPECT_FALSE(WidgetOf<QWidget>("maxbtn")->isHidden());
    t->frame->SetScreen(&t->screen);
}

}  // namespace
}  // namespace view
