// "Load" from the click to the filled form on a paced line, and the longest stretch the
// user-interface thread is busy meanwhile.
#include <algorithm>
#include <string>
#include <vector>

#include "bench/benches.h"
#include "model/catalogue.h"

namespace bench {

namespace {

struct OneLoad {
    double toFilledMs = 0;   // click until the report handling has filled the form
    double handlingMs = 0;   // the piece of work that parsed the report and filled the form
    double longestMs = 0;    // the longest piece of user-interface work, click to idle
    long pieces = 0;         // pieces of user-interface work, click to idle
    size_t reportBytes = 0;  // what the unit sent for the report
};

bool MeasureOneLoad(LiveSession& s, OneLoad& out) {
    model::ParamEntry* ip = s.Frame().catalogue.Find("Server's Ip");
    if (!ip) {
        s.error = "the catalogue has no \"Server's Ip\"";
        return false;
    }
    ip->value.clear();
    TimedLoop& loop = s.Loop();
    loop.ResetLongest();
    const auto click = SteadyClock::now();
    if (!s.Click("Load")) return false;
    if (!loop.RunUntil([&] { return !ip->value.empty(); }, 60000)) {
        s.error = "the form was not filled within 60 s";
        return false;
    }
    out.toFilledMs = Ms(click, loop.SatisfiedAt());
    out.handlingMs = loop.SatisfyingWorkMs();
    out.reportBytes = static_cast<size_t>(s.Frame().link.ReceivedText().size());
    if (!s.WaitIdle()) return false;
    out.longestMs = loop.LongestMs();
    out.pieces = loop.Pieces();
    return true;
}

}  // namespace

void RunLoadBench(Report& report, long baud, int repeat, BusyFigures& busy) {
    const std::string name = "load at " + std::to_string(baud) + " baud, click to form";
    LiveSession s;
    if (!s.Start(baud)) return report.Fail(name, s.error);
    std::vector<double> times, ratios;
    OneLoad worst;
    for (int i = 0; i < repeat; ++i) {
        OneLoad one;
        if (!MeasureOneLoad(s, one)) return report.Fail(name, s.error);
        const double lineMs = static_cast<double>(one.reportBytes) * 10.0 * 1000.0 / baud;
        times.push_back(one.toFilledMs);
        ratios.push_back(one.toFilledMs / lineMs);
        if (one.toFilledMs >= worst.toFilledMs) worst = one;
        busy.longestMs = std::max(busy.longestMs, one.longestMs);
        busy.handlingMs = std::max(busy.handlingMs, one.handlingMs);
        busy.pieces += one.pieces;
        ++busy.loads;
    }
    const double lineMs = static_cast<double>(worst.reportBytes) * 10.0 * 1000.0 / baud;
    report.Add(
        {name + " (worst of " + std::to_string(repeat) + ")", worst.toFilledMs, lineMs + 40.0, "ms",
         "report " + std::to_string(worst.reportBytes) + " bytes, line time " + Fixed(lineMs) +
             " ms; worst " + Fixed(worst.toFilledMs / lineMs, 2) + " x line time, median " +
             Fixed(Median(times)) + " ms = " + Fixed(Median(ratios), 2) +
             " x line time; bound = line time + 40 ms"});
}

void ReportBusy(Report& report, const BusyFigures& busy) {
    const std::string name = "longest busy stretch of the UI thread";
    if (busy.loads == 0) return report.Fail(name, "no load was measured");
    report.Add({name, busy.longestMs, 30.0, "ms",
                "over " + std::to_string(busy.loads) + " loads (" + std::to_string(busy.pieces) +
                    " messages and timer ticks, click to idle); the report handling itself "
                    "took at most " +
                    Fixed(busy.handlingMs, 2) + " ms"});
}

}  // namespace bench
