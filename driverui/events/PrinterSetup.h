// What a printer of the driver gets when it is initialised or its driver upgraded: the font
// information of the configuration file as printer values, and its default devmode.
#pragma once

#include <windows.h>

namespace events {

// The four font values built from QVTDX5DD.INI, written through the serialised spooler calls.
void CopyFontValues(HANDLE printer);

// The printer's current devmode, built and stored as the devmode builders store it. False when
// it cannot be built.
bool CreateDefaultDevmode(HANDLE printer);

}  // namespace events
