// What the document events of QVTDX5DA hand the dialog library QVTDX5DU: the settings state that
// the account dialog reads and fills, and the account and manual-duplex exports, found by name.
// Both libraries compile this declaration.
//
// The settings state lives in memory only and holds a handle, so its handle field is pointer-width;
// the offsets pinned below are those of the shipped 32-bit build.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kSettingsStatePrinterNameBytes = 64;
inline constexpr std::size_t kSettingsStateAccountBytes = 17;  // 16 digits and a zero
inline constexpr std::size_t kSettingsStateDevmodeBytes = 1256;

// The job's settings as the rendering driver and the account dialog see them. The dialog reads
// the printer handle and name and writes only the account ID; the devmode copy (314 32-bit words)
// is the driver data of the rendering driver's settings escape.
struct SettingsState {
    std::uint16_t size;  // of this record
    std::uint16_t reserved;
    HANDLE printer;
    char printerName[kSettingsStatePrinterNameBytes];  // narrow, zero-terminated
    char accountId[kSettingsStateAccountBytes];        // the image of devmode 1125 to 1141
    alignas(4) std::uint8_t devmode[kSettingsStateDevmodeBytes];
};
static_assert(kSettingsStateDevmodeBytes % 4 == 0);
#ifndef _WIN64
static_assert(offsetof(SettingsState, printer) == 4);
static_assert(offsetof(SettingsState, printerName) == 8);
static_assert(offsetof(SettingsState, accountId) == 72);
static_assert(offsetof(SettingsState, devmode) == 92);
static_assert(sizeof(SettingsState) == 1348);
#endif

// The account dialog: 0 when the user cancelled, 1 with the chosen ID in the state otherwise.
using GetAcctTrackFn = int(WINAPI*)(HWND owner, DWORD reserved1, DWORD reserved2, SettingsState* state);
// The manual-duplex instructions, also a rundll32 entry ("showManualDuplexDlg"): the command text
// holds the variant and the instructions library's path.
using ShowManualDuplexDlgWFn = int(WINAPI*)(HWND owner, HINSTANCE module, LPWSTR command, int show);

inline constexpr char kGetAcctTrackExport[] = "fnGetAcctTrack";
inline constexpr char kShowManualDuplexDlgWExport[] = "showManualDuplexDlgW";
inline constexpr char kShowManualDuplexDlgEntry[] = "showManualDuplexDlg";
