// The stand-in's devmode: defaults, merging a caller's devmode, and the document-properties
// protocol around them.
#include "TestCfg.h"

#include <cstddef>
#include <cstring>

namespace testcfg {
namespace {

short LocalePaper()
{
    DWORD paper = 0;
    // LOCALE_IPAPERSIZE: 9 is A4; everything else gets Letter, the stand-in's only other paper.
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&paper), sizeof(paper) / sizeof(WCHAR)) &&
        paper == 9)
        return DMPAPER_A4;
    return DMPAPER_LETTER;
}

// A caller's devmode holds a field only when its dmSize reaches the field's end.
#define QV_HOLDS(dm, field) ((dm).dmSize >= offsetof(DEVMODEW, field) + sizeof((dm).field))

bool ValidHeader(const DOCUMENTPROPERTYHEADER* header)
{
    return header && header->cbSize >= sizeof(DOCUMENTPROPERTYHEADER);
}

// Writes the devmode a header asks for into its output buffer, which the caller sized from the
// size query. cbOut says nothing about that buffer: Wine passes the output devmode's own dmSize,
// which DocumentPropertiesA leaves uninitialised.
void WriteOutput(DOCUMENTPROPERTYHEADER& header)
{
    if (!(header.fMode & DM_OUT_BUFFER) || !header.pdmOut)
        return;
    DEVMODEW dm;
    FillDefaultDevmode(dm, header.pszPrinterName);
    if ((header.fMode & DM_IN_BUFFER) && header.pdmIn)
        MergeDevmode(dm, *header.pdmIn);
    std::memcpy(header.pdmOut, &dm, sizeof(dm));
}

LONG DocumentPropertiesWithoutUi(DOCUMENTPROPERTYHEADER* header)
{
    if (!ValidHeader(header)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (header->fMode == 0 || !header->pdmOut) {
        header->cbOut = kDevmodeSize;
        return static_cast<LONG>(kDevmodeSize);
    }
    WriteOutput(*header);
    return CPSUI_OK;
}

}  // namespace

void FillDefaultDevmode(DEVMODEW& dm, const WCHAR* deviceName)
{
    std::memset(&dm, 0, sizeof(dm));
    if (deviceName)
        lstrcpynW(dm.dmDeviceName, deviceName, CCHDEVICENAME);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmDriverVersion = kDriverVersion;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = 0;
    dm.dmFields = kDevmodeFields;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = LocalePaper();
    dm.dmCopies = 1;
}

void MergeDevmode(DEVMODEW& dm, const DEVMODEW& in)
{
    if ((in.dmFields & DM_ORIENTATION) && QV_HOLDS(in, dmOrientation) &&
        (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
        dm.dmOrientation = in.dmOrientation;
    if ((in.dmFields & DM_PAPERSIZE) && QV_HOLDS(in, dmPaperSize) &&
        (in.dmPaperSize == DMPAPER_LETTER || in.dmPaperSize == DMPAPER_A4))
        dm.dmPaperSize = in.dmPaperSize;
    if ((in.dmFields & DM_COPIES) && QV_HOLDS(in, dmCopies) && in.dmCopies >= 1 &&
        in.dmCopies <= kMaxCopies)
        dm.dmCopies = in.dmCopies;
}

LONG DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam)
{
    if (!info)
        return DocumentPropertiesWithoutUi(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));

    // No pages: the sheet accepts the settings as they come in.
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
        if (!ValidHeader(header)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERR_CPSUI_GETLASTERROR;
        }
        WriteOutput(*header);
        info->Result = CPSUI_OK;
    }
    return CPSUI_OK;
}

BOOL ConvertDevmode(const WCHAR* printerName, const DEVMODEW*, DEVMODEW* out, LONG* needed, DWORD mode)
{
    // One layout only: there is nothing to convert between versions.
    if (mode != CDM_DRIVER_DEFAULT || !needed) {
        SetLastError(mode == CDM_DRIVER_DEFAULT ? ERROR_INVALID_PARAMETER : ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    LONG available = *needed;
    *needed = static_cast<LONG>(kDevmodeSize);
    if (!out || available < static_cast<LONG>(kDevmodeSize)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    FillDefaultDevmode(*out, printerName);
    return TRUE;
}

}  // namespace testcfg
