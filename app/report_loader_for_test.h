// Test support: a frame filled from a simulated unit's report without a serial link.
#pragma once

#include <functional>

#include "app/test_frame.h"
#include "model/command_builder.h"
#include "sim/unit_state.h"

namespace app::testing {

/// Fills the frame from the report of a unit of `profile` whose state `tweak` may change
/// (addressing the unit's values by command, such as "AT+PORT"), as a "Load" does, and lets
/// the form settle.
inline void LoadReport(TestFrame& t, const char* profile,
                       const std::function<void(sim::UnitState&)>& tweak = {}) {
    sim::UnitState unit(*sim::FindProfile(profile));
    if (tweak) tweak(unit);
    t.frame->ParseReport(unit.Report());
    t.loop->RunUntilIdle();
}

/// The writes a click on "Save" would queue now, without queueing them.
inline std::vector<model::WorkerJob> PendingWrites(TestFrame& t) {
    std::vector<model::WorkerJob> jobs;
    model::BuildContext ctx{
        t.frame->paintManager,   t.frame->catalogue,
        t.frame->pages,          t.frame->texts,
        [](std::string_view) {}, [&](const model::WorkerJob& job) { jobs.push_back(job); }};
    model::BuildWriteJobs(ctx);
    return jobs;
}

/// Their lines.
inline std::vector<std::string> SaveLines(TestFrame& t) {
    std::vector<std::string> lines;
    for (const model::WorkerJob& job : PendingWrites(t)) lines.push_back(job.line);
    return lines;
}

}  // namespace app::testing
