#include "view/first_frame.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace view {

namespace {

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// Seconds since the process started. Out of line, so that a profile can be cut where it is
/// called: valgrind --tool=callgrind --dump-before='*SecondsSinceStart*'.
[[gnu::noinline]] double SecondsSinceStart() {
    if (const char* launch = std::getenv("DTU_LAUNCH_TIME")) {
        std::string text(launch);
        for (char& c : text) c = c == ',' ? '.' : c;  // $EPOCHREALTIME follows the locale
        return Seconds(CLOCK_REALTIME) - std::strtod(text.c_str(), nullptr);
    }
    // Field 22 of /proc/self/stat: the start in clock ticks after boot. The name in field 2
    // may hold blanks, so the count starts after its closing parenthesis (field 3 is next).
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;
    return Seconds(CLOCK_BOOTTIME) - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

/// The first paint of the window happens while Qt handles its first exposure, which also puts
/// the frame on the screen; a call queued from there runs once that is done.
class FirstFrameFilter : public QObject {
  public:
    explicit FirstFrameFilter(std::function<void()> quit) : quit_(std::move(quit)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen_) return false;
        seen_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::printf("first frame: %.1f ms\n", SecondsSinceStart() * 1000.0);
                std::fflush(stdout);
                quit_();
            },
            Qt::QueuedConnection);
        return false;
    }

  private:
    std::function<void()> quit_;
    bool seen_ = false;
};

}  // namespace

void ReportFirstFrame(QWidget& window, std::function<void()> quit) {
    const char* asked = std::getenv("DTU_EXIT_AFTER_FIRST_FRAME");
    if (!asked || std::string(asked) != "1") return;
    auto* filter = new FirstFrameFilter(std::move(quit));
    filter->setParent(&window);
    window.installEventFilter(filter);
}

}  // namespace view
