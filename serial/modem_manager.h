// ModemManager probes USB serial adapters that look like modems with AT commands of its own,
// which can confuse a unit in its start-up window and hold the port for seconds. These say
// whether it runs and how to make it leave an adapter alone.
#pragma once

#include <string>

#include "serial/device_source.h"

namespace serial {

/// Whether a process named "ModemManager" runs: some <pid>/comm under `procRoot` ("/proc"
/// on a running system) reads so.
bool ModemManagerRuns(const std::string& procRoot);

/// The udev rule line that marks the USB adapter of `device` for ModemManager to ignore;
/// empty when the device is not on USB or is marked already.
std::string ModemManagerIgnoreRule(const SerialDevice& device);

}  // namespace serial
