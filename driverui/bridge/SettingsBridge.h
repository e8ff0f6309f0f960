// The settings interface's callback on a sheet context: the bridge over the context's feature
// entries, with the driver's facts read from the spooler and the system.
#pragma once

#include "SettingsTree.h"

namespace bridge {

// The callback QVTDX5DA gives the settings interface; the request's context is the sheet context.
std::uint32_t QV_SETTINGS_CALL SettingsCallback(settingsui::Request* request);

}  // namespace bridge
