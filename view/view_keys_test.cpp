// The keyboard and the window's edges, offscreen: each shortcut raises the event a click on
// its button raises (and nothing while the button is disabled), Tab walks connection,
// operations, then the page, and a drag on an edge or a corner resizes the window.
#include <QApplication>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <algorithm>

#include "link/messages.h"
#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

struct Keys {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void Press(Keys keys) {
    QTest::keyClick(QApplication::focusWidget(), keys.key, keys.modifiers);
}

// Logged in, each key raises its button's click (what the click queues is the window's,
// tested there); logged out, the same keys find their buttons disabled and raise nothing.
TEST_F(ViewTest, ShortcutsRaiseTheClickOfTheirButton) {
    Build();
    const std::pair<Keys, const char*> cases[] = {
        {{Qt::Key_F5, Qt::NoModifier}, "click:Load"},
        {{Qt::Key_S, Qt::ControlModifier}, "click:Save"},
        {{Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier}, "click:SaveToFile"},
        {{Qt::Key_O, Qt::ControlModifier}, "click:LoadFromFile"},
    };
    for (const bool loggedIn : {true, false}) {
        t->dialogs.SetNextFileName("/nonexistent/unit.cfg");  // the save dialog's answer
        devlink::ButtonStateMsg::Post(*t->frame, loggedIn, devlink::kLoginGroup);
        Pump();
        FocusOn(WidgetOf<QWidget>("SerialPort"));
        for (const auto& [keys, event] : cases) {
            recorder.events.clear();
            Press(keys);
            Pump();
            EXPECT_EQ(recorder.Count(event), loggedIn ? 1 : 0) << event;
        }
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab click the next and the previous page button shown, round the
// ends; F1 takes the focus to the help; Enter presses the focused button.
TEST_F(ViewTest, PageKeysHelpAndEnter) {
    Build();
    auto* pages = WidgetOf<QStackedWidget>("switch");
    FocusOn(WidgetOf<QWidget>("SerialPort"));
    Press({Qt::Key_Tab, Qt::ControlModifier});
    Pump();
    EXPECT_EQ(recorder.Count("click:Server"), 1);
    EXPECT_EQ(pages->currentIndex(), 1);
    Press({Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier});
    Press({Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier});
    Pump();
    EXPECT_EQ(recorder.Count("click:WorkMode"), 1);
    EXPECT_EQ(recorder.Count("click:Operation"), 1);  // round the start to the last page
    EXPECT_EQ(pages->currentIndex(), 9);
    Press({Qt::Key_F1, Qt::NoModifier});
    Pump();
    EXPECT_EQ(recorder.Count("setfocus:HelpRichEdit"), 1);
    FocusOn(WidgetOf<QPushButton>("Clear"));
    Press({Qt::Key_Return, Qt::NoModifier});
    Pump();
    EXPECT_EQ(recorder.Count("click:Clear"), 1);
}

/// Where a control sits in the Tab order's regions: the connection box, the operations box,
/// the pages, the rest of the side panel.
int Region(ui::Control* control) {
    const std::vector<std::string> regions = {"PortGroupBox", "OperationGroupBox", "switch"};
    for (; control; control = control->GetParent()) {
        for (size_t i = 0; i < regions.size(); ++i) {
            if (control->GetName() == regions[i]) return static_cast<int>(i);
        }
    }
    return static_cast<int>(regions.size());
}

// The port list has the first focus; a round of Tab visits the connection, the operations,
// the page and the rest of the side panel in that order, never a caption or page button.
TEST_F(ViewTest, TabWalksConnectionOperationsThenThePage) {
    Build();
    devlink::ButtonStateMsg::Post(*t->frame, true, devlink::kLoginGroup);
    Pump();
    window->activateWindow();
    Pump();
    QWidget* first = WidgetOf<QWidget>("SerialPort");
    ASSERT_EQ(QApplication::focusWidget(), first);
    std::vector<int> regions;
    for (int i = 0; i < 300 && (regions.empty() || QApplication::focusWidget() != first); ++i) {
        ui::Control* control = mirror->ControlAt(QApplication::focusWidget());
        ASSERT_NE(control, nullptr);
        const auto* option = dynamic_cast<ui::Option*>(control);
        EXPECT_FALSE(option && option->GetGroup() == "pagetabs") << control->GetName();
        EXPECT_FALSE(control->GetName().ends_with("btn")) << control->GetName();  // caption
        regions.push_back(Region(control));
        Press({Qt::Key_Tab, Qt::NoModifier});
        Pump();
    }
    EXPECT_TRUE(std::is_sorted(regions.begin(), regions.end()));
    for (int region : {0, 1, 2, 3}) {
        EXPECT_NE(std::find(regions.begin(), regions.end(), region), regions.end()) << region;
    }
}

// The offscreen platform has no window manager to hand the resize to: the window follows the
// pointer itself, from the edge or corner pressed, never below its least size.
TEST_F(ViewTest, EdgesAndCornersResizeTheWindow) {
    Build();
    const struct {
        QPoint press;  // from the window's bottom right corner
        QPoint move;
        QMargins grown;  // left, top, right, bottom
    } cases[] = {
        {{-1, -1}, {-100, -40}, {0, 0, -100, -40}},
        {{-1, -300}, {30, 500}, {0, 0, 30, 0}},
        {{-600, -1}, {9, 20}, {0, 0, 0, 20}},
    };
    for (const auto& c : cases) {
        const QRect before = window->geometry();
        const QPoint at = QPoint(window->width(), window->height()) + c.press;
        QTest::mousePress(window.get(), Qt::LeftButton, {}, at);
        QTest::mouseMove(window.get(), at + c.move);
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, at + c.move);
        Pump();
        EXPECT_EQ(window->geometry(), before + c.grown) << c.press.x() << "," << c.press.y();
    }
    const QRect before = window->geometry();
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(0, 200));
    QTest::mouseMove(window.get(), QPoint(5000, 200));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(5000, 200));
    EXPECT_EQ(window->geometry().right(), before.right());
    EXPECT_EQ(window->width(), window->minimumSizeHint().width());
}

}  // namespace
}  // namespace view
