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

#include "app/test_frame.h"
#include "platform/temp_folder_for_test.h"
#include "view/view_fixture.h"

namespace view {
namespace {

using platform::testing_support::ReadFile;
using platform::testing_support::WriteFile;
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
// without a second loss; a window of the program's own taking the focus is no loss at all.
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
    recorder.events.clear();
    EXPECT_TRUE(RunModalDialogThatTakesTheFocus());
    Pump();
    EXPECT_EQ(recorder.FocusEvents(), std::vector<std::string>{});
    t->frame->paintManager.RemoveNotifier(&modal);
}

TEST_F(ViewTest, PageOptionsOpenThroughTheirToggleActionAsThroughAClick) {
    Build();
    struct Way {
        const char* option;
        int page;
        std::function<void(QPushButton*)> press;
    };
    const Way ways[] = {
        {"Server", 1,
         [](QPushButton* b) {
             QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
                 QAccessibleActionInterface::toggleAction());
         }},
        {"Wireless", 4, [](QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }},
    };
    for (const Way& way : ways) {
        auto* button = WidgetOf<QPushButton>(way.option);
        for (int round = 1; round <= 2; ++round) {  // the second time its page is open already
            way.press(button);
            Pump();
            EXPECT_EQ(recorder.Count(std::string("click:") + way.option), round) << way.option;
            EXPECT_EQ(WidgetOf<QStackedWidget>("switch")->currentIndex(), way.page);
            EXPECT_TRUE(button->isChecked()) << way.option;
        }
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

// A speed and a format chosen in the window's lists are chosen again by the lists at the next
// start (the settings file of the program folder carries them over).
TEST_F(ViewTest, TheSpeedAndFormatChosenAreShownAgainAtTheNextStart) {
    Build();
    t->frame->RememberSettings();
    auto* baud = WidgetOf<QComboBox>("BaudRate1");
    auto* format = WidgetOf<QComboBox>("Checkcode");
    ASSERT_TRUE(baud && format);
    // As a user picks an item: the list shows it and says it was activated.
    for (auto [list, index] : {std::pair{baud, baud->findText(QStringLiteral("9600"))},
                               std::pair{format, format->count() - 1}}) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    const QString chosenFormat = format->currentText();
    Pump();
    const std::string settings = ReadFile(t->settings.programFolder + "config.ini");
    TearDown();
    Build();  // the same program folder, made afresh
    WriteFile(t->settings.programFolder + "config.ini", settings);
    t->frame->RememberSettings();
    Pump();
    EXPECT_EQ(WidgetOf<QComboBox>("BaudRate1")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(WidgetOf<QComboBox>("Checkcode")->currentText(), chosenFormat);
    EXPECT_NE(chosenFormat, QStringLiteral("8N1"));
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
