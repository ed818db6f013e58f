// The widget the mirror makes for each class of control, and how a box takes the width the
// layout gives it.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QString>

#include <functional>
#include <string_view>

#include "ui/control.h"

namespace view {

QString Q(std::string_view text);

/// The widget of a container, row, column or group box.
class BoxWidget : public QFrame {
  public:
    using QFrame::QFrame;
    /// How a box holds the width its layout gives it.
    enum class Width {
        Fixed,  ///< exactly that width
        Grows,  ///< that width at first; it grows with the window and shrinks to its content
        Clips,  ///< at most that width; narrower, it cuts off what does not fit
    };
    void SetLayoutWidth(int width, Width how);
    /// The layout's height as the least the box takes: it grows with rows it comes to show.
    void SetLeastHeight(int height);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /// Told, after the resize, the width a clipping strip has on the screen.
    std::function<void(int)> stripWidthChanged;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int width_ = 0;
    Width how_ = Width::Fixed;
    int leastHeight_ = 0;  // 0: the height its layout asks for
};

/// A drop-down list that tells before it opens, so the program can fill it first.
class DropDownCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> aboutToOpen;
    void showPopup() override {
        if (aboutToOpen) aboutToOpen();
        QComboBox::showPopup();
    }
};

bool IsBox(std::string_view cls);
/// A new widget for `control` inside `parent`; null for the items of a drop-down, which the
/// drop-down shows.
QWidget* MakeWidget(const ui::Control& control, QWidget* parent);
/// The title label of a group box's widget.
QLabel* GroupTitle(QWidget* frame);
/// The layout's "width" of `control`, applied to its widget.
void ApplyWidth(ui::Control& control, QWidget* widget);
/// The layout's "height" of `control`, applied to its widget.
void ApplyHeight(ui::Control& control, QWidget* widget);
/// A "bkimage" as the widget's background: "name.png", or "file='name.png' corner='l,t,r,b'"
/// whose corners keep their size while the middle stretches, the text kept between them.
void ApplyBackgroundImage(QWidget* widget, std::string_view value);
/// Draws or clears the marks of a field: changed, a coloured left edge on the field and its
/// label in bold; invalid (a reason given), a red frame and the reason as its tooltip.
void ShowFieldMarks(QWidget* field, bool changed, const QString& invalidReason);
/// Whether `child` takes the room its box has to spare along the box's direction.
bool Stretches(ui::Control& child, bool horizontal);

}  // namespace view
