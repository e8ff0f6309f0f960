// The summary window docked at the right edge of a document sheet: the current paper, media,
// quality, copies, collation and duplex, a preview of the page layout and the printer picture.
// The first document page that opens asks for it; it follows the sheet's frame through a
// subclass of the frame's window procedure, kept in a table of 16 frames per process.
#pragma once

#include <windows.h>

#include "SheetContext.h"

namespace summary {

// Messages to the frame procedure (MySubclassProc) and to the summary window.
inline constexpr UINT kRegister = 2024;    // wParam: summary window; lParam: context
inline constexpr UINT kUnregister = 2025;  // the frame's slot is freed
inline constexpr UINT kHasFreeSlot = 2026;  // 1 while the table has a free slot
inline constexpr UINT kRefresh = 2029;      // wParam: 0 every row, 1 to 6 that row
inline constexpr int kFrameSlots = 16;
inline constexpr int kRows = 6;

// Creates the sheet's summary window beside its frame, once: nothing when the context has one
// already or the frame table is full (the sheet works without it).
void Request(HWND frame, SheetContext* context);
// The context's summary window, if any: one row again (0: every row), the layout preview filled
// again, the printer picture repainted.
void Refresh(const SheetContext* context, int row);
void RefillPreview(SheetContext* context);
void RepaintPicture(const SheetContext* context);
// Destroys the context's summary window and clears its handle.
void Close(SheetContext* context);

// Fills a QelPaper preview from the current entries, as the Paper page and the summary window
// show the layout: watermarks, pages per sheet and their order, orientation, reversed, borders,
// envelopes and the paper's shape. The watermark records live in the context's work buffers.
void FillPaperPreview(HWND preview, SheetContext* context);

}  // namespace summary

extern "C" {
INT_PTR CALLBACK SummaryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MySubclassProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
}
