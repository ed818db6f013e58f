// Test support: a frame filled from a simulated unit's report without a serial link.
#pragma once

#include <functional>

#include "app/test_frame.h"
#include "sim/default_values.h"
#include "sim/report.h"

namespace app::testing {

/// Fills the frame from the report of a unit of `profile` whose values `tweak` may change,
/// as a "Load" does, and lets the form settle.
inline void LoadReport(TestFrame& t, const char* profile,
                       const std::function<void(model::ParamCatalogue&)>& tweak = {}) {
    const sim::Profile& p = *sim::FindProfile(profile);
    model::ParamCatalogue values;
    model::InitParamCatalogue(values);
    sim::ApplyDefaults(p, values);
    if (tweak) tweak(values);
    t.frame->link.rxBuffer.Assign(sim::BuildReport(p, values));
    t.frame->ParseReport();
    t.loop->RunUntilIdle();
}

}  // namespace app::testing
