// A job redirected into a temporary file for a later conversion: at the start of the document when
// the rendering driver takes part in conversions and the conversion library is there; the
// application's output name back in its DOCINFOW once the document started; and after the
// document, the conversion of the file (in a rundll32 process, or in this one) and the end of
// the record.
#pragma once

#include <windows.h>

#include "ConversionApi.h"
#include "RenderingDriver.h"

namespace docevents {

// The start of the document: the DOCINFOW's output becomes a new temporary file and the record is
// registered with the rendering driver (5017). Nothing changes when any step is missing.
void RedirectJob(HANDLE printer, const RenderingDriver& driver, DOCINFOW* docInfo);

// The record the rendering driver reports (5018), when it is one this library made and has not
// ended: an address from outside is never followed otherwise.
ConversionRecord* RegisteredRecord(const RenderingDriver& driver);

// After the document started: the application's output name back in its DOCINFOW.
void RestoreOutputName(const RenderingDriver& driver);

// After the document: the conversion started, the record, its names and the library freed, the
// registration cleared.
void ConvertJob(HANDLE printer, const RenderingDriver& driver);

}  // namespace docevents
