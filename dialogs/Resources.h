// Translated resources: the exports QVTDX5DA asks for single strings and custom resources, and
// the loaders the pages and controls take their strings, pictures and templates from. Everything
// comes from the language library.
#pragma once

#include <windows.h>

#include <string>

#include "DialogLibraryApi.h"

namespace dialogs {

// LoadXlatedString: the string of a direct ID or a logical number, copied as narrow text; the
// characters copied, 0 when the number has no string or the request is unusable.
int LoadXlatedStringA(XlatedStringRequest* request);
// LoadXlatedResource and GetSizeofXlatedResource for a direct ID or a logical number.
HGLOBAL LoadXlatedResourceOf(const XlatedResourceRequest* request);
DWORD SizeofXlatedResource(const XlatedResourceRequest* request);
// GetTrayID: 0 past the table.
WORD TrayId(WORD index);

// A string of the language library; empty when it has none.
std::wstring LoadDlString(UINT id);
// A bitmap of the language library as a device-independent section; null when missing.
HBITMAP LoadDlBitmap(UINT id);
// An icon of the language library at the given size (0: the system's icon size).
HICON LoadDlIcon(UINT id, int size = 0);
// A dialog template of the language library, for CreateDialogIndirectParam and the like.
const DLGTEMPLATE* LoadDlTemplate(UINT id);

// The active ANSI code page when it is an East-Asian double-byte one, else 0.
UINT ActiveDoubleByteCodePage();

}  // namespace dialogs
