// Input that does not come as a click: the keyboard focus, the accessibility interface (screen
// readers, automation) and the window's size on small and large screens.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

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

// Tab, Shift+Tab and a click move the focus, each change raising one killfocus and one
// setfocus. The notice box of a blank in an address takes the focus and gives it back
// without a second loss: a window of the program's own taking the focus is no loss at all.
TEST_F(ViewTest, FocusChangesReachNotifyOnceEach) {
    Build();
    t->Find<ui::TabLayout>("switch")->SelectItem(1);
    Pump();
    auto* ip = WidgetOf<QLineEdit>("Server's Ip");
    FocusOn(ip);
    recorder.events.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Pump();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    Pump();
    ModalDialogOn modal("killfocus:Server's Ip");
    t->frame->paintManager.AddNotifier(&modal);
    ip->selectAll();
    QTest::keyClicks(ip, QStringLiteral("1.2.3.4 "));
    QTest::keyClick(ip, Qt::Key_Tab);
    Pump();
    FocusOn(WidgetOf<QComboBox>("SerialPort"));
    const std::vector<std::string> expected = {
        "killfocus:Server's Ip",   "setfocus:Server's Port",  // Tab
        "killfocus:Server's Port", "setfocus:Server's Ip",    // Shift+Tab
        "killfocus:Server's Ip",   "setfocus:Server's Port",  // Tab, the notice box between
        "killfocus:Server's Port", "setfocus:SerialPort",     // a click on the port list
    };
    EXPECT_EQ(recorder.FocusEvents(), expected);
    EXPECT_EQ(t->dialogs.Boxes().size(), 1u);
    EXPECT_EQ(modal.shown, 1);
    EXPECT_TRUE(modal.tookFocus);
    t->frame->paintManager.RemoveNotifier(&modal);
}

// The toggle action flips the checked state as a click does, and the tree decides it: a
// second press on the open page's button keeps it checked.
TEST_F(ViewTest, PageOptionsOpenAndStayCheckedThroughTheirToggleAction) {
    Build();
    auto* button = WidgetOf<QPushButton>("Server");
    for (int round = 1; round <= 2; ++round) {  // the second time its page is open already
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        Pump();
        EXPECT_EQ(recorder.Count("click:Server"), round);
        EXPECT_EQ(WidgetOf<QStackedWidget>("switch")->currentIndex(), 1);
        EXPECT_TRUE(button->isChecked());
    }
    EXPECT_FALSE(WidgetOf<QPushButton>("WorkMode")->isChecked());
}

TEST_F(ViewTest, TextSetThroughTheAccessibleInterfaceReachesTheTree) {
    Build();
    QAccessible::queryAccessibleInterface(WidgetOf<QLineEdit>("Server's Ip"))
        ->setText(QAccessible::Value, QStringLiteral("10.1.2.3"));
    QAccessibleInterface* port =
        QAccessible::queryAccessibleInterface(WidgetOf<QLineEdit>("Server's Port"));
    port->editableTextInterface()->replaceText(0, port->textInterface()->characterCount(),
                                               QStringLiteral("6123"));
    Pump();
    EXPECT_EQ(t->Find("Server's Ip")->GetText(), "10.1.2.3");
    EXPECT_EQ(t->Find("Server's Port")->GetText(), "6123");
    // A text the program sets does not come back: bytes that are no UTF-8 stay as they are.
    t->Find("Secondary Server's Ip")->SetText("\xB2\xE2");
    Pump();
    EXPECT_EQ(t->Find("Secondary Server's Ip")->GetText(), "\xB2\xE2");
}

TEST_F(ViewTest, FieldsAreLabelledByTheLabelBeforeThemInTheirRow) {
    Build();
    // "DeviceModel" sits in a row nested in a row.
    const std::pair<const char*, const char*> rows[] = {{"SerialPort", "Serial port:"},
                                                        {"FINDNETMODE", "Network mode:"},
                                                        {"Server's Port", "Port:"},
                                                        {"DeviceModel", "Device role:"}};
    for (const auto& [field, label] : rows) {
        QAccessibleInterface* iface =
            QAccessible::queryAccessibleInterface(WidgetOf<QWidget>(field));
        const auto relations = iface->relations(QAccessible::Label);
        ASSERT_EQ(relations.size(), 1) << field;
        EXPECT_EQ(relations[0].first->text(QAccessible::Name).toStdString(), label) << field;
    }
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
    EXPECT_TRUE(ShownWhole(WidgetOf<QWidget>("restorebtn"), area));
    WidgetOf<QPushButton>("restorebtn")->click();
    Pump();
    Pump();
    EXPECT_EQ(window->geometry(), normal);
    t->frame->SetScreen(&t->screen);
}

}  // namespace
}  // namespace view
