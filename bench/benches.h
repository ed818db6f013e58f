// The measurements of dtubench. Each adds its figures to the report as it goes; a
// measurement that cannot be made is reported as such instead of a figure.
#pragma once

#include "bench/bench_util.h"

namespace bench {

/// What the loads measured about the user-interface thread, gathered over every load.
struct BusyFigures {
    double longestMs = 0;   // the longest single piece of work
    double handlingMs = 0;  // the longest report handling (parse and fill)
    long pieces = 0;
    int loads = 0;
};

/// "Load" from the click until the form is filled, `repeat` times on a line of `baud`, with
/// the unit pacing its output to the line; bound: the report's line time + 40 ms.
void RunLoadBench(Report& report, long baud, int repeat, BusyFigures& busy);
/// The longest stretch the user-interface thread was busy during the loads; bound 30 ms.
void ReportBusy(Report& report, const BusyFigures& busy);
/// "Save" of 20 changed edit fields at 115200 baud, `repeat` rounds, per write; bound: the
/// unit's answer time + 220 ms.
void RunSaveBench(Report& report, int repeat);
/// Report parsing and form filling on the real window, `iterations` runs; no bound.
void RunParseBench(Report& report, int iterations);

}  // namespace bench
