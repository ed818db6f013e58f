// Test support: a frame filled from a simulated unit's report without a serial link.
#pragma once

#include <functional>

#include "app/test_frame.h"
#include "sim/unit_state.h"

namespace app::testing {

/// Fills the frame from the report of a unit of `profile` whose state `tweak` may change
/// (addressing the unit's values by command, such as "AT+PORT"), as a "Load" does, and lets
/// the form settle.
inline void LoadReport(TestFrame& t, const char* profile,
                       const std::function<void(sim::UnitState&)>& tweak = {}) {
    sim::UnitState unit(*sim::FindProfile(profile));
    if (tweak) tweak(unit);
    t.frame->link.rxBuffer.Assign(unit.Report());
    t.frame->ParseReport();
    t.loop->RunUntilIdle();
}

}  // namespace app::testing
