// The stand-in configuration DLL's internals: one devmode layout (the public DEVMODEW, no
// private part), its defaults, and the capabilities that describe it.
#pragma once

#include "DrvUiDecls.h"

namespace testcfg {

constexpr WORD kDriverVersion = 0x0100;
constexpr DWORD kDevmodeSize = sizeof(DEVMODEW);
constexpr DWORD kDevmodeFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
constexpr short kMaxCopies = 99;

// The defaults for the named device: the locale's paper (A4 or Letter), portrait, one copy.
void FillDefaultDevmode(DEVMODEW& dm, const WCHAR* deviceName);
// Takes the fields the stand-in supports from a caller's devmode, reading only what its dmSize
// covers and only values the stand-in offers.
void MergeDevmode(DEVMODEW& dm, const DEVMODEW& in);

LONG DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam);
BOOL ConvertDevmode(const WCHAR* printerName, const DEVMODEW* in, DEVMODEW* out, LONG* needed,
                    DWORD mode);
DWORD DeviceCapability(WORD capability, void* output);

}  // namespace testcfg
