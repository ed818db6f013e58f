// Which unit a report came from: its device ID ("Modem's ID number") and its radio module
// ("RF MODEL"). Writes kept across a lost port or a restart are only resumed on the unit they
// were meant for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/worker_job.h"

namespace model {

struct UnitIdentity {
    std::string deviceId;
    std::string rfModel;
    /// A report without a device ID names no unit.
    bool Known() const { return !deviceId.empty(); }
    bool operator==(const UnitIdentity&) const = default;
};

/// The identity the report `text` gives; unknown when it has no device ID row.
UnitIdentity IdentityOfReport(std::string_view text);

/// True when `found` is the unit `expected` names: the same radio module, and the same device
/// ID or the one a write among `writes` gives it (that write may have been stored already).
bool SameUnit(const UnitIdentity& expected, const UnitIdentity& found,
              const std::vector<WorkerJob>& writes);

}  // namespace model
