#include "view/mirror.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>

#include "ui/controls.h"
#include "view/mirror_widgets.h"

namespace view {

namespace {

void KeepFocusFromMoving(QWidget* widget);

/// Shows or hides `widget` as its control is. A widget that was never hidden shows with its
/// window, so it is not shown by itself: that would lay its box out there and then, before the
/// window has its size, once for every box of the tree.
void SetShown(QWidget* widget, bool shown) {
    const bool hiddenByUs =
        widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
    if (!shown) KeepFocusFromMoving(widget);
    if (!shown || hiddenByUs) widget->setHidden(!shown);
}

/// Qt hands the keyboard focus of a widget that is hidden or disabled to the next one in the
/// tab chain, which would raise "setfocus" there (the network mode query after every button
/// the worker disables): the program's own change leaves the focus nowhere instead.
void KeepFocusFromMoving(QWidget* widget) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == widget || widget->isAncestorOf(focus))) focus->clearFocus();
}

}  // namespace

QString DisplayText(std::string_view text) {
    QString shown = Q(text.substr(0, text.find('\0')));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QChar('\r'));
    return shown;
}

Mirror::Mirror(ui::PaintManager& pm) : pm_(pm) {
    if (pm_.GetRoot()) root_ = Build(*pm_.GetRoot(), nullptr);
    pm_.SetObserver(this);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        focusConnection_ =
            QObject::connect(app, &QApplication::focusChanged,
                             [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    }
}

Mirror::~Mirror() {
    QObject::disconnect(focusConnection_);
    pm_.SetObserver(nullptr);
}

QWidget* Mirror::RootWidget() const {
    return root_;
}

QWidget* Mirror::WidgetOf(const ui::Control* control) const {
    auto it = widgets_.find(control);
    return it == widgets_.end() ? nullptr : it->second;
}

ui::Control* Mirror::ControlAt(QWidget* widget) const {
    for (; widget; widget = widget->parentWidget()) {
        auto it = controls_.find(widget);
        if (it != controls_.end()) return it->second;
    }
    return nullptr;
}

QWidget* Mirror::Build(ui::Control& control, QWidget* parent) {
    // Made inside its parent from the start: a widget without one is a window of its own, and
    // whatever shows it puts it on the screen until its box adopts it.
    QWidget* widget = MakeWidget(control, parent);
    if (!widget) return nullptr;
    widgets_[&control] = widget;
    controls_[widget] = &control;
    QObject::connect(widget, &QObject::destroyed, [this, widget] { Forget(widget); });
    if (auto* box = control.AsContainer(); box && control.GetClass() != "ComboUI") {
        BuildChildren(*box, widget);
    }
    Connect(control, widget);
    ApplyAll(control, widget);
    return widget;
}

void Mirror::BuildChildren(ui::Container& box, QWidget* widget) {
    if (auto* stack = qobject_cast<QStackedWidget*>(widget)) {
        // Each page scrolls when it does not fit.
        for (int i = 0; i < box.GetCount(); ++i) {
            auto* scroll = new QScrollArea(stack);
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes to the page's fields
            if (QWidget* page = Build(*box.GetItemAt(i), scroll->viewport())) {
                scroll->setWidget(page);
            }
            stack->addWidget(scroll);
        }
        return;
    }
    auto* layout = qobject_cast<QBoxLayout*>(widget->layout());
    if (!layout) return;
    const bool horizontal = layout->direction() == QBoxLayout::LeftToRight;
    const bool group = box.GetClass() == "GroupBoxUI";
    layout->setContentsMargins(group ? 4 : 0, 0, group ? 4 : 0, 0);
    layout->setSpacing(group ? 0 : 4);
    QBoxLayout* header =
        group ? qobject_cast<QBoxLayout*>(
                    widget->findChild<QWidget*>(QStringLiteral("groupHeader"))->layout())
              : nullptr;
    bool anyStretch = false;
    for (int i = 0; i < box.GetCount(); ++i) {
        ui::Control& child = *box.GetItemAt(i);
        QWidget* childWidget = Build(child, widget);
        if (!childWidget) continue;
        if (header && child.GetAttribute("header") == "true") {
            header->addWidget(childWidget);
            continue;
        }
        const bool stretch = Stretches(child, horizontal);
        anyStretch = anyStretch || stretch;
        layout->addWidget(childWidget, stretch ? 1 : 0);
    }
    if (header) header->addStretch(1);
    if (!anyStretch) layout->addStretch(1);
    if (horizontal) LinkLabels(box);
    UpdateAutoHide(box);
}

void Mirror::LinkLabels(ui::Container& row) {
    // A field is named by the nearest label before it in its row: screen readers read the
    // label with the field instead of the field's bare value.
    ui::Control* label = nullptr;
    for (int i = 0; i < row.GetCount(); ++i) {
        ui::Control& child = *row.GetItemAt(i);
        const std::string_view cls = child.GetClass();
        if (cls == "LabelUI" || cls == "TextUI") {
            label = &child;
            continue;
        }
        if (cls != "EditUI" && cls != "ComboUI") continue;
        auto* labelWidget = qobject_cast<QLabel*>(WidgetOf(label));
        if (!labelWidget || labelWidget->buddy()) continue;
        labelWidget->setBuddy(WidgetOf(&child));
        ApplyText(*label, labelWidget);
    }
}

void Mirror::Connect(ui::Control& control, QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (auto* core = dynamic_cast<ui::Button*>(&control)) ConnectButton(*core, button);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        auto* core = static_cast<ui::Combo*>(&control);
        QObject::connect(combo, &QComboBox::activated,
                         [core](int index) { core->SelectItem(index); });
        if (auto* list = dynamic_cast<DropDownCombo*>(combo)) {
            list->aboutToOpen = [this, core] { pm_.SendNotify(core, "dropdown"); };
        }
    } else if (auto* box = dynamic_cast<BoxWidget*>(widget)) {
        // A strip that shows part of its children tells the program the room it has.
        box->stripWidthChanged = [this, &control](int width) {
            control.SetAttribute("room", std::to_string(width));
            pm_.SendNotify(&control, "resize");
        };
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (control.GetAttribute("readonly") == "true") edit->setReadOnly(true);
        // Typing, pasting, undo and the accessibility interface all change the text this way;
        // the program's own changes arrive with the signals blocked.
        QObject::connect(
            edit, &QLineEdit::textChanged, [this, &control, edit](const QString& text) {
                if (!edit->isReadOnly()) return control.SetText(text.toStdString());
                ApplyText(control, edit);  // a read-only field shows what the program puts in it
            });
    }
    widget->setAccessibleName(Q(control.GetName()));
}

void Mirror::ConnectButton(ui::Button& core, QAbstractButton* button) {
    auto* option = dynamic_cast<ui::Option*>(&core);
    if (!option) {
        QObject::connect(button, &QAbstractButton::clicked, [&core] { core.Activate(); });
        return;
    }
    // A click, the accessibility toggle action and toggle() from outside all flip the checked
    // state; only a click also emits clicked. The tree decides the selected state, not Qt.
    button->setCheckable(true);
    QObject::connect(button, &QAbstractButton::toggled, [this, option, button] {
        option->Activate();
        if (WidgetOf(option) == button) ApplySelection(*option, button);
    });
}

void Mirror::OnFocusChanged(QWidget* now) {
    // No focus at all, or focus in a dialog or another window (the notice box of a
    // "killfocus" among them): the tree keeps its focus, so the box's coming and going raises
    // nothing. Within the window, a widget that mirrors no control takes the focus from all.
    if (!now || !root_ || now->window() != root_->window()) return;
    auto it = controls_.find(now);
    ui::Control* control = it == controls_.end() ? nullptr : it->second;
    if (pm_.GetFocus() != control) pm_.SetFocus(control);
}

void Mirror::ApplyAll(ui::Control& control, QWidget* widget) {
    SetShown(widget, control.IsVisible());
    if (auto* box = control.AsContainer()) UpdateAutoHide(*box);
    widget->setEnabled(control.IsEnabled());
    for (const auto& [name, value] : control.Attributes()) ApplyAttribute(control, widget, name);
    ApplyItems(control, widget);
    ApplyText(control, widget);
    ApplySelection(control, widget);
}

void Mirror::ApplyText(ui::Control& control, QWidget* widget) {
    const std::string text = control.GetText();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QString shown = DisplayText(text);
        // A label with a buddy would take an ampersand for a shortcut mark.
        if (label->buddy()) shown.replace(QChar('&'), QStringLiteral("&&"));
        label->setText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(Q(text));
    } else if (control.GetClass() == "GroupBoxUI") {
        if (QLabel* title = GroupTitle(widget)) title->setText(Q(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != Q(text)) {
            const QSignalBlocker block(edit);
            edit->setText(Q(text));
        }
    } else if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
        log->setPlainText(DisplayText(text));
    }
    UpdateDescription(control, widget);
}

void Mirror::ApplySelection(ui::Control& control, QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(static_cast<ui::Combo&>(control).GetCurSel());
    } else if (auto* stack = qobject_cast<QStackedWidget*>(widget)) {
        stack->setCurrentIndex(static_cast<ui::TabLayout&>(control).GetCurSel());
    } else if (auto* option = dynamic_cast<ui::Option*>(&control)) {
        const QSignalBlocker block(widget);
        static_cast<QPushButton*>(widget)->setChecked(option->IsSelected());
    } else if (auto* box = dynamic_cast<ui::CheckBox*>(&control)) {
        const QSignalBlocker block(widget);
        static_cast<QAbstractButton*>(widget)->setChecked(box->IsChecked());
    }
    UpdateDescription(control, widget);
}

void Mirror::ApplyItems(ui::Control& control, QWidget* widget) {
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (!combo) return;
    auto& core = static_cast<ui::Combo&>(control);
    const QSignalBlocker block(combo);
    combo->clear();
    for (int i = 0; i < core.GetCount(); ++i) {
        // An item's description (a port's adapter) follows its text; the text is what is used.
        const std::string description = core.GetItemAt(i)->GetAttribute("description");
        combo->addItem(Q(description.empty() ? core.GetItemText(i)
                                             : core.GetItemText(i) + "  (" + description + ")"));
        const std::string tip = core.GetItemAt(i)->GetAttribute("tooltip");
        if (!tip.empty()) combo->setItemData(i, Q(tip), Qt::ToolTipRole);
    }
    combo->setCurrentIndex(core.GetCurSel());
}

void Mirror::ApplyAttribute(ui::Control& control, QWidget* widget, std::string_view name) {
    const std::string value = control.GetAttribute(name);
    if (name == "height") {
        ApplyHeight(control, widget);
    } else if (name == "tabstop") {
        // Off the Tab chain and never focused by a click: the caption's and the page strip's
        // buttons, which the keyboard reaches through shortcuts.
        if (value == "false") widget->setFocusPolicy(Qt::NoFocus);
    } else if (name == "width") {
        ApplyWidth(control, widget);
    } else if (name == "tooltip") {
        // An invalid field shows its reason; its own tooltip comes back with a good value.
        widget->setProperty("ownTip", Q(value));
        if (!widget->property("invalid").toBool()) widget->setToolTip(Q(value));
    } else if (name == "value" || name == "max") {
        if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
            const auto& progress = static_cast<ui::ProgressBar&>(control);
            bar->setRange(0, progress.GetMaximum());
            bar->setValue(progress.GetValue());
        }
    } else if (name == "bkimage") {
        ApplyBackgroundImage(widget, value);
    }
}

void Mirror::UpdateAutoHide(ui::Container& box) {
    // A wrapper row marked autohide takes no room while none of its children is visible.
    if (box.GetAttribute("autohide") != "true") return;
    QWidget* widget = WidgetOf(&box);
    if (!widget) return;
    bool anyVisible = false;
    for (int i = 0; i < box.GetCount() && !anyVisible; ++i) {
        anyVisible = box.GetItemAt(i)->IsVisible();
    }
    SetShown(widget, box.IsVisible() && anyVisible);
}

void Mirror::UpdateDescription(ui::Control& control, QWidget* widget) {
    if (control.GetClass() == "RichEditUI") return;  // the log is read through its text
    if (!control.InvalidReason().empty()) {
        return widget->setAccessibleDescription(Q(control.InvalidReason()));
    }
    widget->setAccessibleDescription(control.IsChanged() ? QStringLiteral("changed")
                                                         : Q(control.GetText()));
}

void Mirror::OnControlChanged(ui::Control& control, ui::Change what, std::string_view detail) {
    QWidget* widget = WidgetOf(&control);
    if (!widget) {
        // A combo's item changed: the combo itself shows it.
        if (what == ui::Change::Text && control.GetParent()) {
            ui::Control* combo = control.GetParent();
            if (QWidget* w = WidgetOf(combo); w && qobject_cast<QComboBox*>(w)) {
                ApplyItems(*combo, w);
            }
        }
        return;
    }
    switch (what) {
        case ui::Change::Text:
            return ApplyText(control, widget);
        case ui::Change::Append: {
            auto* log = qobject_cast<QPlainTextEdit*>(widget);
            if (!log) return;
            QTextCursor cursor(log->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(DisplayText(detail));
            return;
        }
        case ui::Change::Scroll: {
            if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
                log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
            }
            return;
        }
        case ui::Change::Visible:
            SetShown(widget, control.IsVisible());
            // A wrapper row that hides while all its children do follows them.
            if (ui::Container* parent = control.GetParent()) UpdateAutoHide(*parent);
            return;
        case ui::Change::Enabled:
            if (!control.IsEnabled()) KeepFocusFromMoving(widget);
            return widget->setEnabled(control.IsEnabled());
        case ui::Change::Attribute:
            return ApplyAttribute(control, widget, detail);
        case ui::Change::Selection:
            return ApplySelection(control, widget);
        case ui::Change::Items:
        case ui::Change::Children:
            return ApplyItems(control, widget);
        case ui::Change::Marked:
        case ui::Change::Invalid:
            ShowFieldMarks(widget, control.IsChanged(), Q(control.InvalidReason()));
            return UpdateDescription(control, widget);
    }
}

void Mirror::OnControlDestroyed(ui::Control& control) {
    auto it = widgets_.find(&control);
    if (it == widgets_.end()) return;
    controls_.erase(it->second);
    widgets_.erase(it);
}

void Mirror::Forget(QWidget* widget) {
    if (widget == root_) root_ = nullptr;
    auto it = controls_.find(widget);
    if (it == controls_.end()) return;
    widgets_.erase(it->second);
    controls_.erase(it);
}

}  // namespace view
