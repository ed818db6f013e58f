// The window on small and large screens.
#include <QPushButton>
#include <QScreen>

#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

// Runs on the suite's desktop screen and once more on a 1280 x 720 screen.
using ViewScreenTest = ViewTest;

bool ShownWhole(QWidget* widget, const QRect& area) {
    const QRect onScreen(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return !widget->isHidden() && area.contains(onScreen) &&
           widget->window()->geometry().contains(onScreen);
}

TEST_F(ViewScreenTest, WindowFitsTheScreenAndMaximizingGrowsTheForm) {
    Build();
    const QRect area = window->screen()->availableGeometry();
    EXPECT_EQ(window->size(), QSize(1400, 800).boundedTo(area.size()));
    EXPECT_TRUE(area.contains(window->geometry()));
    for (const char* name : {"closebtn", "maxbtn", "minbtn", "richedit", "Clear", "switch"}) {
        EXPECT_TRUE(ShownWhole(WidgetOf<QWidget>(name), area)) << name;
    }
    EXPECT_GE(WidgetOf<QWidget>("richedit")->height(), 60);
    SaveScreenshot(QStringLiteral("screen_%1x%2.png").arg(area.width()).arg(area.height()));

    t->frame->SetScreen(window.get());
    const QRect normal = window->geometry();
    const int formWidth = WidgetOf<QWidget>("switch")->width();
    WidgetOf<QPushButton>("maxbtn")->click();
    Pump();
    Pump();
    EXPECT_EQ(window->geometry(), area);
    EXPECT_EQ(WidgetOf<QWidget>("switch")->width() - formWidth, area.width() - normal.width());
    EXPECT_TRUE(WidgetOf<QWidget>("maxbtn")->isHidden());
    EXPECT_TRUE(ShownWhole(WidgetOf<QWidget>("restorebtn"), area));
    WidgetOf<QPushButton>("restorebtn")->click();
    Pump();
    Pump();
    EXPECT_EQ(window->geometry(), normal);
    t->frame->SetScreen(&t->screen);
}

}  // namespace
}  // namespace view
