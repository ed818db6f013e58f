#include "view/keyboard.h"

#include <QAbstractButton>
#include <QShortcut>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <vector>

#include "ui/controls.h"

namespace view {

namespace {

/// The option group of the page buttons above the form.
constexpr std::string_view kPageGroup = "pagetabs";

enum class KeyAction { Press, Focus, NextPage, PreviousPage };

struct KeyRow {
    QList<QKeySequence> keys;
    KeyAction action;
    const char* control;  // the control pressed or focused
};

const std::vector<KeyRow>& KeyTable() {
    static const std::vector<KeyRow> table = {
        {{QKeySequence(Qt::Key_F5)}, KeyAction::Press, "Load"},
        {{QKeySequence(Qt::CTRL | Qt::Key_S)}, KeyAction::Press, "Save"},
        {{QKeySequence(Qt::CTRL | Qt::Key_O)}, KeyAction::Press, "LoadFromFile"},
        {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, KeyAction::Press, "SaveToFile"},
        {{QKeySequence(Qt::Key_F1)}, KeyAction::Focus, "HelpRichEdit"},
        {{QKeySequence(Qt::CTRL | Qt::Key_Tab)}, KeyAction::NextPage, nullptr},
        // Shift turns Tab into Backtab on most keyboards; some still report Tab.
        {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
         KeyAction::PreviousPage,
         nullptr},
    };
    return table;
}

/// Calls `visit` for `control` and every control below it, in the order of the tree, with
/// the "taborder" of the nearest box that has one (INT_MAX where none has).
void Walk(ui::Control& control, int rank, const std::function<void(ui::Control&, int)>& visit) {
    const std::string order = control.GetAttribute("taborder");
    if (!order.empty()) rank = std::atoi(order.c_str());
    visit(control, rank);
    ui::Container* box = control.AsContainer();
    if (!box || control.GetClass() == "ComboUI") return;
    for (int i = 0; i < box->GetCount(); ++i) Walk(*box->GetItemAt(i), rank, visit);
}

/// Opens the page `step` places after the open one among the page buttons shown, round the
/// end, by clicking its button.
void OpenNeighbourPage(Mirror& mirror, ui::PaintManager& pm, int step) {
    if (!pm.GetRoot()) return;
    std::vector<QAbstractButton*> buttons;
    int open = -1;
    Walk(*pm.GetRoot(), INT_MAX, [&](ui::Control& control, int) {
        auto* option = dynamic_cast<ui::Option*>(&control);
        if (!option || option->GetGroup() != kPageGroup) return;
        auto* button = qobject_cast<QAbstractButton*>(mirror.WidgetOf(option));
        if (!button || !button->isEnabled() || !button->isVisibleTo(button->window())) return;
        if (option->IsSelected()) open = static_cast<int>(buttons.size());
        buttons.push_back(button);
    });
    const int count = static_cast<int>(buttons.size());
    if (count == 0) return;
    const int next = open < 0 ? 0 : ((open + step) % count + count) % count;
    if (next != open) buttons[static_cast<size_t>(next)]->click();
}

void Act(const KeyRow& row, Mirror& mirror, ui::PaintManager& pm) {
    QWidget* widget = row.control ? mirror.WidgetOf(pm.FindControl(row.control)) : nullptr;
    switch (row.action) {
        case KeyAction::Press:
            // click() does nothing on a disabled button, as a mouse click would not.
            if (auto* button = qobject_cast<QAbstractButton*>(widget);
                button && button->isVisibleTo(button->window())) {
                button->click();
            }
            return;
        case KeyAction::Focus:
            if (widget) widget->setFocus(Qt::ShortcutFocusReason);
            return;
        case KeyAction::NextPage:
            return OpenNeighbourPage(mirror, pm, 1);
        case KeyAction::PreviousPage:
            return OpenNeighbourPage(mirror, pm, -1);
    }
}

}  // namespace

void InstallShortcuts(QWidget& window, Mirror& mirror, ui::PaintManager& pm) {
    for (const KeyRow& row : KeyTable()) {
        auto* shortcut = new QShortcut(&window);
        shortcut->setKeys(row.keys);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        QObject::connect(shortcut, &QShortcut::activated, &window,
                         [&row, &mirror, &pm] { Act(row, mirror, pm); });
    }
}

QWidget* ArrangeTabOrder(Mirror& mirror, ui::PaintManager& pm) {
    if (!pm.GetRoot()) return nullptr;
    struct Stop {
        int rank;
        QWidget* widget;
    };
    std::vector<Stop> stops;
    Walk(*pm.GetRoot(), INT_MAX, [&](ui::Control& control, int rank) {
        QWidget* widget = mirror.WidgetOf(&control);
        if (widget && (widget->focusPolicy() & Qt::TabFocus)) stops.push_back({rank, widget});
    });
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.rank < b.rank; });
    for (size_t i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i - 1].widget, stops[i].widget);
    }
    return stops.empty() ? nullptr : stops.front().widget;
}

bool PressFocusedButton(QWidget* target, const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    if (key.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) return false;
    auto* button = qobject_cast<QAbstractButton*>(target);
    if (!button || !button->hasFocus()) return false;
    // A held key presses once.
    if (!key.isAutoRepeat()) button->click();
    return true;
}

}  // namespace view
