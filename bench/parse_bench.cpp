// Report parsing and form filling on the real main window, without a line.
#include <string>

#include "app/test_frame.h"
#include "bench/benches.h"
#include "model/report_parser.h"
#include "sim/command_table.h"
#include "sim/unit_state.h"

namespace bench {

namespace {

/// The report of a unit of `profile` holding its factory values, with every free text
/// changed when `changed` is set, so that alternating the two changes the whole form every run.
std::string MakeReport(const sim::Profile& profile, bool changed) {
    sim::UnitState unit(profile);
    if (changed) {
        for (const sim::UnitCommand& command : sim::UnitCommands()) {
            if (command.kind != sim::DomainKind::kText) continue;
            unit.SetValue(command.command, unit.Value(command.command).value_or("") + "9");
        }
    }
    return unit.Report();
}

struct Split {
    double extractUs = 0;
    double fillUs = 0;
    double adaptUs = 0;
};

/// One report handling as the window does it, split into its steps; the adaptations it
/// posts are run afterwards, as the loop would.
void HandleOnce(app::testing::TestFrame& t, const std::string& text, Split& total) {
    app::CK4X30FrameWnd& f = *t.frame;
    const auto start = SteadyClock::now();
    model::ExtractReportValues(text, f.catalogue, f.rfModel);
    const auto extracted = SteadyClock::now();
    model::ReportContext ctx{f.paintManager, f.catalogue, f.pages, f.rfModel, f.baseModel, f};
    model::ApplyReportToForm(ctx);
    const auto filled = SteadyClock::now();
    t.loop->RunUntilIdle();
    const auto adapted = SteadyClock::now();
    total.extractUs += Ms(start, extracted) * 1000.0;
    total.fillUs += Ms(extracted, filled) * 1000.0;
    total.adaptUs += Ms(filled, adapted) * 1000.0;
}

}  // namespace

void RunParseBench(Report& report, int iterations) {
    const std::string name = "parse + form fill of a full report";
    app::testing::TestFrame t;  // the manual clock: no timer fires meanwhile
    if (!t.created) return report.Fail(name, t.error);
    const sim::Profile& profile = *sim::FindProfile("base");
    const std::string reports[2] = {MakeReport(profile, false), MakeReport(profile, true)};
    Split warmUp, total;
    for (int i = 0; i < 20; ++i) HandleOnce(t, reports[i % 2], warmUp);
    for (int i = 0; i < iterations; ++i) HandleOnce(t, reports[i % 2], total);
    const double n = iterations;
    report.Info(name + " (ExtractReportValues + ApplyReportToForm)",
                (total.extractUs + total.fillUs) / n, "µs",
                "mean of " + std::to_string(iterations) + " runs on the real window, report " +
                    std::to_string(reports[0].size()) + " bytes; extract " +
                    Fixed(total.extractUs / n) + " µs, fill " + Fixed(total.fillUs / n) +
                    " µs; the form adaptations it posts take another " + Fixed(total.adaptUs / n) +
                    " µs");
}

}  // namespace bench
