// CallBackAccess, the pages' one way into the driver library, and the refresh procedure. The
// context and the feature block a page passes are used only when they are an open sheet's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SheetContext.h"
#include "SheetState.h"

namespace sheet {

// The export: types above 36, or a context that is no open sheet's, do nothing.
void CallBack(SheetContext* context, DWORD type, void* data, WORD* result);
// The refresh procedure on an open sheet's current or saved block; always 0.
LONG RefreshBlock(void* block);

// ---- Internal to the callbacks ---------------------------------------------------------------

// Types 0 to 11 and 13 to 21: the record lists. The 16-bit result.
WORD ListRequest(SheetContext* context, SheetState& state, DWORD type, void* data);
// Types 12, 23, 34 and 35: the papers of the model and the printer. The 16-bit result.
WORD PaperRequest(SheetContext* context, DWORD type, void* data);

// Text from a page's buffer: up to its zero or max bytes.
std::string BoundedText(const char* text, std::size_t max);
// Copies text into a field of size bytes, cut to size - 1 and zero-filled.
void PutField(char* field, std::size_t size, const std::string& text);

// A ListAnswer from (number, name) pairs, allocated from the context's heap; the count, or 0 when
// the heap refused (nothing is allocated then).
WORD Answer(SheetContext* context, void* data, const std::vector<std::pair<std::int16_t, std::string>>& items);

}  // namespace sheet
