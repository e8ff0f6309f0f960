// The device-capability entry points: DrvDeviceCapabilities, GetPaperFormat and isUSA.
#pragma once

#include <windows.h>

namespace caps {

// The answer to one capability query (Capabilities.h names the indexes); kCapFailed for an
// index the driver does not answer, or when the printer's devmode cannot be built. A null
// printer handle (the spooler passes none) opens the printer by the device name.
DWORD DeviceCapabilities(HANDLE printer, const wchar_t* deviceName, WORD index, void* output,
                         const DEVMODEW* devmode);

// Fills the 54-byte paper-format record for a paper of the devmode's model (the model name is not
// needed: the devmode carries the model); the printer (or, without a handle, the devmode's printer
// name) supplies the forms. FALSE, with the record untouched, for a paper neither the driver nor
// the printer has, or a missing argument.
BOOL PaperFormat(const char* modelName, HANDLE printer, void* record, const DEVMODEW* devmode,
                 WORD paperCode, WORD orientation, BYTE flag, WORD resolution, DWORD mode);

// 1 when the system's country uses Letter paper, else 0.
int IsUsa();

}  // namespace caps
