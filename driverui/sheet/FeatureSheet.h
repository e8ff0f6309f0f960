// The feature blocks of an open sheet: built from the model's layout into two global-memory blocks
// with the context's pointer arrays, reloaded after a configuration request changed the working
// devmode, written back, and freed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "FeatureBlock.h"
#include "SheetContext.h"
#include "SheetState.h"

namespace sheet {

// Reads the model's feature layout (named by the working devmode) and builds the current and the
// saved block. False, with no blocks, when the layout is missing or refused or memory is short.
bool BuildFeatureBlocks(SheetContext* context, SheetState& state);

// Rebuilds the current block's entries from the working devmode, in place.
void ReloadFeatureEntries(SheetContext* context, const SheetState& state);

// The current block's entries into a devmode of 1256 bytes; nothing without a block.
void WriteBackEntries(const SheetContext* context, std::span<std::uint8_t> devmode);

void FreeFeatureBlocks(SheetContext* context);

std::span<std::uint8_t> CurrentBlock(const SheetContext* context);

// The model flag words the refresh procedure reads, from the context's copies.
feature::RefreshModel RefreshModelOf(const SheetContext* context);

}  // namespace sheet
