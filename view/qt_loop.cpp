#include "view/qt_loop.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>

namespace view {

namespace {
// Messages handled per pass before Qt gets to paint and read input again.
constexpr int kBatch = 64;
}  // namespace

QtLoop::QtLoop(ui::Window& window) : window_(window) {
    window_.BindToCurrentThread();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Drain(); });
    window_.SetWakeHandler([this] {
        QMetaObject::invokeMethod(
            this, [this] { Drain(); }, Qt::QueuedConnection);
    });
}

QtLoop::~QtLoop() {
    window_.SetWakeHandler(nullptr);
}

int QtLoop::Run() {
    running_ = true;
    Drain();
    if (!window_.QuitRequested()) QCoreApplication::exec();
    running_ = false;
    window_.EndLoop();
    return window_.ExitCode();
}

void QtLoop::Drain() {
    if (!running_) return;
    int handled = 0;
    while (handled < kBatch && !window_.QuitRequested() && window_.DispatchOne()) ++handled;
    if (!window_.QuitRequested()) window_.FireDueTimers();
    if (window_.QuitRequested()) {
        QCoreApplication::exit(window_.ExitCode());
        return;
    }
    if (handled == kBatch) {
        QMetaObject::invokeMethod(
            this, [this] { Drain(); }, Qt::QueuedConnection);
    }
    Reschedule();
}

void QtLoop::Reschedule() {
    auto due = window_.NextTimerDue();
    if (!due) {
        timer_.stop();
        return;
    }
    const ui::Millis wait = std::max<ui::Millis>(0, *due - window_.GetClock().Now());
    timer_.start(static_cast<int>(std::min<ui::Millis>(wait, 1 << 30)));
}

}  // namespace view
