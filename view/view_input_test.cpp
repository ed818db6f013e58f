// Input that does not come as a click: the keyboard focus, and the window's size on small and
// large screens.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/report_loader.h"
#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

TEST_F(ViewTest, KeyboardFocusChangesReachNotify) {
    Build();
    t->Find<ui::TabLayout>("switch")->SelectItem(1);
    Pump();
    auto* ip = WidgetOf<QLineEdit>("Server's Ip");
    FocusOn(ip);
    EXPECT_EQ(t->frame->paintManager.GetFocus(), t->Find("Server's Ip"));
    ASSERT_FALSE(recorder.FocusEvents().empty());
    EXPECT_EQ(recorder.FocusEvents().back(), "setfocus:Server's Ip");
    recorder.events.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Pump();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    Pump();
    FocusOn(WidgetOf<QComboBox>("SerialPort"));
    const std::vector<std::string> expected = {
        "killfocus:Server's Ip",   "setfocus:Server's Port",  // Tab
        "killfocus:Server's Port", "setfocus:Server's Ip",    // Shift+Tab
        "killfocus:Server's Ip",   "setfocus:SerialPort",     // a click on the port list
    };
    EXPECT_EQ(recorder.FocusEvents(), expected);
}

/// Runs a modal window that takes the keyboard focus while it is open, as the real message
/// box does; returns whether the focus went to it.
bool RunModalDialogThatTakesTheFocus() {
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    bool tookFocus = false;
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        QWidget* focus = QApplication::focusWidget();
        tookFocus = focus && focus->window() == &dialog;
        if (tookFocus || ++ticks > 200) dialog.accept();
    });
    poll.start(5);
    dialog.exec();
    return tookFocus;
}

struct ModalDialogOn : ui::INotifyUI {
    explicit ModalDialogOn(std::string e) : event(std::move(e)) {}
    void Notify(ui::TNotifyUI& msg) override {
        if (std::string(msg.sType) + ":" + msg.pSender->GetName() != event) return;
        ++shown;
        tookFocus = RunModalDialogThatTakesTheFocus() && tookFocus;
    }
    std::string event;
    int shown = 0;
    bool tookFocus = true;
};

TEST_F(ViewTest, LeavingAServerAddressWithABlankShowsTheNoticeOnce) {
    Build();
    app::testing::LoadReport(*t, "base");
    t->Find<ui::TabLayout>("switch")->SelectItem(1);
    Pump();
    ModalDialogOn modal("killfocus:Server's Ip");
    t->frame->paintManager.AddNotifier(&modal);
    auto* ip = WidgetOf<QLineEdit>("Server's Ip");
    FocusOn(ip);
    recorder.events.clear();
    ip->selectAll();
    QTest::keyClicks(ip, QStringLiteral("1.2.3.4 "));
    QTest::keyClick(ip, Qt::Key_Tab);
    Pump();
    ASSERT_EQ(t->dialogs.Boxes().size(), 1u);
    EXPECT_EQ(t->dialogs.Boxes()[0].text, t->frame->LoadText("Notify", "IpNotice"));
    EXPECT_EQ(t->dialogs.Boxes()[0].caption, "7315");
    EXPECT_EQ(t->Find("Server's Ip")->GetText(), "1.2.3.4 ");  // the field keeps its text
    // The box took the focus and gave it back: no second loss, no storm.
    EXPECT_EQ(modal.shown, 1);
    EXPECT_TRUE(modal.tookFocus);
    const std::vector<std::string> once = {"killfocus:Server's Ip", "setfocus:Server's Port"};
    EXPECT_EQ(recorder.FocusEvents(), once);
    // A window of its own taking the focus from a field is not the field losing it.
    FocusOn(ip);
    recorder.events.clear();
    EXPECT_TRUE(RunModalDialogThatTakesTheFocus());
    Pump();
    EXPECT_EQ(recorder.FocusEvents(), std::vector<std::string>{});
    // The same address without the blank passes quietly.
    ip->selectAll();
    QTest::keyClicks(ip, QStringLiteral("1.2.3.4"));
    QTest::keyClick(ip, Qt::Key_Tab);
    Pump();
    EXPECT_EQ(t->dialogs.Boxes().size(), 1u);
    t->frame->paintManager.RemoveNotifier(&modal);
}

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
