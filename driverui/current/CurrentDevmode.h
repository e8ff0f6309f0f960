// The printer's current devmode: the devmode builders (devmode/) with the driver configuration
// (profiles/) applied and the printer's stored values. This layer sits above both, so neither of
// them calls back up into it; printer values go through the serialised spooler wrappers.
#pragma once

#include <windows.h>

#include "DevmodeBuild.h"

namespace devmode {

// A fresh default devmode for a printer of the driver, with the installed configuration and the
// printer's driver configuration data applied: what the hardware-following values are taken
// from. Whether any configuration applied.
bool BuildFreshDefaults(HANDLE printer, const wchar_t* driverName, const wchar_t* printerName, Buffer& fresh);

// The devmode the printer uses now, from its stored "CurrentDevmode" when that is a valid
// devmode of this driver, else rebuilt from the defaults, its driver configuration data and the
// spooler's devmode, and stored. A null driver name takes the printer's. False when the printer's
// information cannot be read.
bool BuildCurrentDevmode(HANDLE printer, Buffer& out, const wchar_t* driverName);

// Both builders keep what they built inside a call scope (SpoolerCache.h) and hand it out again
// while nothing it was built from has changed.

// The current devmode of the printer by that name (its own driver), when one is kept; false
// when none is, without asking the spooler.
bool KeptCurrentDevmode(const wchar_t* printerName, Buffer& out);

}  // namespace devmode
