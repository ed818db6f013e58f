#include "view/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include "link/messages.h"
#include "view/keyboard.h"

namespace view {

namespace {

/// Where a window of `wanted` size opens in `area`: at that size where the area allows,
/// otherwise as large as the area (never below `minimum`), centred, its top left corner
/// inside the area so the caption stays in reach.
QRect PlaceInArea(QSize wanted, QSize minimum, const QRect& area) {
    const QSize size = wanted.boundedTo(area.size()).expandedTo(minimum);
    const int x = area.x() + std::max(0, (area.width() - size.width()) / 2);
    const int y = area.y() + std::max(0, (area.height() - size.height()) / 2);
    return QRect(QPoint(x, y), size);
}

}  // namespace

MainWindow::MainWindow(app::CK4X30FrameWnd& frame, Mirror& mirror)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), frame_(frame), mirror_(mirror) {
    setWindowTitle(QStringLiteral("7315"));
    setAccessibleName(QStringLiteral("7315"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 0, 3, 3);
    // A screen shorter than the layout's least height (1024 x 600) scrolls the window's
    // content; on a taller one the area holds it whole and shows no scroll bar.
    auto* content = new QScrollArea(this);
    content->setWidgetResizable(true);
    content->setFrameShape(QFrame::NoFrame);
    content->setFocusPolicy(Qt::NoFocus);
    if (QWidget* root = mirror_.RootWidget()) content->setWidget(root);
    layout->addWidget(content);
    InstallShortcuts(*this, mirror_, frame_.paintManager);
    firstFocus_ = ArrangeTabOrder(mirror_, frame_.paintManager);
    setMouseTracking(true);  // the resize cursor over the edges
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::ShowCentred() {
    const int w = frame_.paintManager.InitWidth() > 0 ? frame_.paintManager.InitWidth() : 1400;
    const int h = frame_.paintManager.InitHeight() > 0 ? frame_.paintManager.InitHeight() : 800;
    QRect area(QPoint(0, 0), QSize(w, h));
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    setGeometry(PlaceInArea(QSize(w, h), minimumSizeHint(), area));
    if (firstFocus_) firstFocus_->setFocus(Qt::OtherFocusReason);
    show();
}

void MainWindow::SystemCommand(std::uintptr_t command) {
    // A Wayland compositor sizes the window it maximizes and restores, and refuses a size of
    // the program's own while the window is maximized.
    const bool compositorSizes = QGuiApplication::platformName() == QStringLiteral("wayland");
    if (command == ui::SC_MINIMIZE) {
        showMinimized();
    } else if (command == ui::SC_MAXIMIZE) {
        // Not every X11 window manager sizes a frameless window it maximizes, and without one
        // nothing does: fill the available area first (a new geometry ends the maximized
        // state, so not after).
        normalGeometry_ = geometry();
        QScreen* shown = screen();
        if (shown && !compositorSizes) setGeometry(shown->availableGeometry());
        showMaximized();
    } else if (command == ui::SC_RESTORE) {
        showNormal();
        if (normalGeometry_.isValid() && !compositorSizes) setGeometry(normalGeometry_);
        normalGeometry_ = QRect();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    // On Wayland the compositor grants a maximize or restore after the request: the buttons
    // follow the state the window has, not the one asked for.
    if (event->type() == QEvent::WindowStateChange) frame_.ShowWindowState(isMaximized());
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Alt+F4 and the window manager's close end the program through the frame's quit path;
    // the window itself is not destroyed here.
    event->ignore();
    devlink::SysCommandMsg::Post(frame_, ui::SC_CLOSE);
}

Qt::Edges MainWindow::EdgesAt(const QPoint& globalPos) const {
    // A frameless window has no border of its own: a few pixels along each side stand for it.
    constexpr int kGrip = 4;
    if (isMaximized() || isFullScreen()) return {};
    const QPoint p = mapFromGlobal(globalPos);
    Qt::Edges edges;
    if (p.x() < kGrip) edges |= Qt::LeftEdge;
    if (p.x() >= width() - kGrip) edges |= Qt::RightEdge;
    if (p.y() < kGrip) edges |= Qt::TopEdge;
    if (p.y() >= height() - kGrip) edges |= Qt::BottomEdge;
    return edges;
}

void MainWindow::ShowEdgeCursor(Qt::Edges edges) {
    const bool diagonal =
        (edges & (Qt::LeftEdge | Qt::RightEdge)) && (edges & (Qt::TopEdge | Qt::BottomEdge));
    const bool falling =
        edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
    if (!edges) return unsetCursor();
    if (diagonal) return setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    setCursor(edges & (Qt::LeftEdge | Qt::RightEdge) ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

bool MainWindow::StartResize(const QPoint& globalPos) {
    const Qt::Edges edges = EdgesAt(globalPos);
    if (!edges) return false;
    if (windowHandle() && windowHandle()->startSystemResize(edges)) return true;
    // No window manager that resizes on request: the window follows the pointer itself.
    manualResize_ = edges;
    resizeFrom_ = globalPos;
    resizeStart_ = geometry();
    return true;
}

void MainWindow::FollowResize(const QPoint& globalPos) {
    const QPoint moved = globalPos - resizeFrom_;
    const QSize least = minimumSizeHint().expandedTo(minimumSize());
    QRect r = resizeStart_;
    if (manualResize_ & Qt::LeftEdge)
        r.setLeft(std::min(r.left() + moved.x(), r.right() - least.width() + 1));
    if (manualResize_ & Qt::RightEdge)
        r.setRight(std::max(r.right() + moved.x(), r.left() + least.width() - 1));
    if (manualResize_ & Qt::TopEdge)
        r.setTop(std::min(r.top() + moved.y(), r.bottom() - least.height() + 1));
    if (manualResize_ & Qt::BottomEdge)
        r.setBottom(std::max(r.bottom() + moved.y(), r.top() + least.height() - 1));
    setGeometry(r);
}

bool MainWindow::StartDrag(QWidget* target, const QPoint& globalPos) {
    const QPoint client = mapFromGlobal(globalPos);
    const ui::Control* control = mirror_.ControlAt(target);
    if (frame_.OnNcHitTest(client.x(), client.y(), width(), control) != app::HTCAPTION) {
        return false;
    }
    if (windowHandle() && windowHandle()->startSystemMove()) return true;
    manualDrag_ = true;
    dragOffset_ = globalPos - frameGeometry().topLeft();
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::KeyPress && type != QEvent::Enter) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != this) return false;
    if (type == QEvent::KeyPress)
        return PressFocusedButton(target, *static_cast<QKeyEvent*>(event));
    // Children take the window's cursor where they have none: off the edge it is the arrow.
    if (type == QEvent::Enter) {
        if (target != this && !manualResize_) unsetCursor();
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    switch (type) {
        case QEvent::MouseButtonPress:
            return mouse->button() == Qt::LeftButton &&
                   (StartResize(global) || StartDrag(target, global));
        case QEvent::MouseMove:
            if (manualResize_) {
                FollowResize(global);
                return true;
            }
            if (target == this && !manualDrag_) ShowEdgeCursor(EdgesAt(global));
            if (!manualDrag_) return false;
            move(global - dragOffset_);
            return true;
        case QEvent::MouseButtonRelease:
            if (!manualDrag_ && !manualResize_) return false;
            manualDrag_ = false;
            manualResize_ = {};
            return true;
        default:
            return false;
    }
}

}  // namespace view
