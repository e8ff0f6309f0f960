// The settings state of a job (DocEventApi.h) built from its devmode: what the account dialog reads
// and fills and what the rendering driver receives as the job's settings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>

#include "DocEventApi.h"
#include "RenderingDriver.h"

namespace docevents {

// The printer's handle and narrow name (cut to 63 characters), the devmode's account ID and a
// copy of the devmode with its checksum recomputed. The devmode is a whole one of this driver's
// size; a shorter span leaves the rest of the copy zero.
std::unique_ptr<SettingsState> BuildSettingsState(HANDLE printer, std::span<const std::uint8_t> devmode);

// The settings state's driver data (the devmode copy) to the rendering driver with 5015 when it
// takes it, then the commit 5016 when it takes that and commit is set.
void SendSettings(const RenderingDriver& driver, const SettingsState& state, bool commit);

}  // namespace docevents
