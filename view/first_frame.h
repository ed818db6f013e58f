// The start-up measure: with DTU_EXIT_AFTER_FIRST_FRAME=1 in the environment the program
// prints how long after its start the main window showed its first painted frame, then quits
// the ordinary way. bench/startup.sh runs it; nothing else does.
#pragma once

#include <functional>

class QWidget;

namespace view {

/// Does nothing unless DTU_EXIT_AFTER_FIRST_FRAME=1. Otherwise, once `window` has been painted
/// and put on the screen for the first time, prints "first frame: N ms" on standard output
/// (N from the process's start: DTU_LAUNCH_TIME, bash's $EPOCHREALTIME taken before the exec,
/// when set, otherwise the start time the kernel keeps, to 10 ms) and calls `quit`.
void ReportFirstFrame(QWidget& window, std::function<void()> quit);

}  // namespace view
