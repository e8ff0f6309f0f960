// The port monitors installed on this computer.
#pragma once

#include "../engine/StdStr.h"

namespace MonitorAction {

// An installed monitor has exactly this name (letter case counts).
bool MonitorExists(const CStdStr& name);

}  // namespace MonitorAction
