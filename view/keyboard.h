// The window's keyboard: shortcuts that press the buttons they name, Enter on a focused button,
// the page shortcuts and the order Tab walks. Every key goes through the button's own click,
// so it raises the events a mouse click raises and does nothing while the button is disabled.
#pragma once

#include <QKeyEvent>
#include <QWidget>

#include "ui/paint_manager.h"
#include "view/mirror.h"

namespace view {

/// Adds the shortcuts of the skin's buttons and pages to `window`.
void InstallShortcuts(QWidget& window, Mirror& mirror, ui::PaintManager& pm);

/// Orders the Tab chain: the boxes the skin numbers with "taborder" first, by their number,
/// then the rest in the order of the tree. Returns the first widget of the chain.
QWidget* ArrangeTabOrder(Mirror& mirror, ui::PaintManager& pm);

/// Enter or Return on a focused button presses it; returns whether the key was used.
bool PressFocusedButton(QWidget* target, const QKeyEvent& key);

}  // namespace view
