// The driver-configuration exports of QVTDX5DA, for configuration tools: a devmode's settings as
// configuration data, configuration data forced onto a printer, what a model supports, and the
// enumeration callback that finds the data for a devmode's model. Records: DrvCfgRecords.h.
#pragma once

#include <windows.h>

#include "DrvCfgRecords.h"

namespace profiles {

// kResultOk with the record filled; kResultBadRecord for a null or short record, a record without
// its flag, or a devmode that is not this driver's; kResultFailed or kResultNothingBuilt as the
// build gives.
DWORD ConvertPrtIntoDcd(DcdConvertRecord* record);

// kResultOk when the data was applied to the printer's current devmode and stored as the
// printer's settings; kResultBadRecord when the record is unusable or does not apply (content
// flags, model or profile name); kResultNoMemory, kResultFailed (the data did not apply) or
// kResultNoDevmode (the printer could not be opened or its devmode built).
DWORD ForceDcdIntoPrinter(DcdForceRecord* record);

// kResultOk after filling the record's fields that lie within its size; kResultBadRecord for a null
// record or one too short for the identification block.
DWORD ReportSupport(DrvCfgSupportRecord* record);

// Stores the entry's data size into the search record when the entry is a whole set of settings
// for the search devmode's model and model record; always 0, so the enumeration goes on.
DWORD EnumSpecificDrvCfg(DrvCfgSearchRecord* search, const ConfigEntry* entry);

}  // namespace profiles
