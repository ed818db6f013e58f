// The frameless top-level window that shows the mirrored tree: the caption area of the
// layout drags it, its edges resize it, its close paths post the quit, and it carries out
// window commands.
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include "app/frame_wnd.h"
#include "view/mirror.h"

namespace view {

class MainWindow : public QWidget, public app::FrameScreen {
  public:
    MainWindow(app::CK4X30FrameWnd& frame, Mirror& mirror);
    ~MainWindow() override;

    /// Shows the window at the layout's size, centred on the screen; on a screen too small for
    /// it, at the size of the screen's available area.
    void ShowCentred();

    void SystemCommand(std::uintptr_t command) override;
    bool IsMaximized() const override { return isMaximized(); }
    void Hide() override { hide(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool StartDrag(QWidget* target, const QPoint& globalPos);
    /// The window's edges within reach of `globalPos`; none while maximized.
    Qt::Edges EdgesAt(const QPoint& globalPos) const;
    void ShowEdgeCursor(Qt::Edges edges);
    /// Hands a press on an edge to the window system, which resizes the window from there.
    bool StartResize(const QPoint& globalPos);
    void FollowResize(const QPoint& globalPos);

    app::CK4X30FrameWnd& frame_;
    Mirror& mirror_;
    QRect normalGeometry_;  // before maximizing
    bool manualDrag_ = false;
    QPoint dragOffset_;
    Qt::Edges manualResize_;  // the edges the pointer moves, where the system does not
    QPoint resizeFrom_;
    QRect resizeStart_;
    QWidget* firstFocus_ = nullptr;  // the first stop of the Tab chain
};

}  // namespace view
