// Mirrors the control tree into Qt widgets and keeps them in step with it. User input (clicks,
// selections, texts, the keyboard focus) goes into the tree, which raises the events; changes
// the program makes are copied to the widgets with their signals blocked, so they never raise
// a second event.
#pragma once

#include <QMetaObject>
#include <QWidget>

#include <unordered_map>

#include "ui/controls.h"
#include "ui/paint_manager.h"

class QAbstractButton;

namespace view {

class Mirror : public ui::ChangeObserver {
  public:
    /// Builds the widgets for `pm`'s tree and starts observing it.
    explicit Mirror(ui::PaintManager& pm);
    ~Mirror() override;

    /// The widget of the root control (owned by the caller once placed in a window).
    QWidget* RootWidget() const;
    QWidget* WidgetOf(const ui::Control* control) const;
    /// The control shown by `widget` or by its nearest mirrored ancestor; null when none.
    ui::Control* ControlAt(QWidget* widget) const;

    void OnControlChanged(ui::Control& control, ui::Change what, std::string_view detail) override;
    void OnControlDestroyed(ui::Control& control) override;

  private:
    /// The widget of `control` and its children, made inside `parent` (null for the root).
    QWidget* Build(ui::Control& control, QWidget* parent);
    void BuildChildren(ui::Container& box, QWidget* widget);
    void Connect(ui::Control& control, QWidget* widget);
    void ConnectButton(ui::Button& core, QAbstractButton* button);
    /// Gives each field of `row` the label before it as its accessible label.
    void LinkLabels(ui::Container& row);
    /// Moves the tree's focus with the keyboard focus of the window.
    void OnFocusChanged(QWidget* now);
    void ApplyAll(ui::Control& control, QWidget* widget);
    void ApplyText(ui::Control& control, QWidget* widget);
    void ApplySelection(ui::Control& control, QWidget* widget);
    void ApplyAttribute(ui::Control& control, QWidget* widget, std::string_view name);
    void ApplyItems(ui::Control& control, QWidget* widget);
    void UpdateDescription(ui::Control& control, QWidget* widget);
    void UpdateAutoHide(ui::Container& box);
    void Forget(QWidget* widget);

    ui::PaintManager& pm_;
    std::unordered_map<const ui::Control*, QWidget*> widgets_;
    std::unordered_map<const QWidget*, ui::Control*> controls_;
    QWidget* root_ = nullptr;
    QMetaObject::Connection focusConnection_;
};

/// The log and help texts keep the unit's CR LF line ends; the view shows plain lines.
QString DisplayText(std::string_view text);

}  // namespace view
