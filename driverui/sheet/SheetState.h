// What the driver library keeps beside each open sheet's context, which cannot grow (the dialog
// library reads it by offset): the layout its feature block was built from, whether the property
// sheet service sent a result, and the watermark lists the pages hold open. The registry also
// answers, by address alone, whether a context or a feature block the pages pass in is one of
// this process's open sheets, so nothing a page hands over is read before it is known.
#pragma once

#include <memory>
#include <vector>

#include "ModelLayout.h"
#include "PrinterList.h"
#include "SheetContext.h"

namespace sheet {

struct SheetState {
    SheetContext* context = nullptr;
    std::vector<model::FeatureItem> layout;
    bool resultSent = false;  // SET_RESULT arrived
    std::vector<std::unique_ptr<PrinterList>> lists;
    HMODULE settingsLibrary = nullptr;  // QVTDX5UI.DLL while its interface is in use
    bool settingsCallbackGiven = false;
};

// Adds the context; the state lives until Unregister.
SheetState& Register(SheetContext* context);
// Forgets the context; lists still open are freed without being written.
void Unregister(SheetContext* context);
// The state of an open sheet's context, or null; the address is only compared.
SheetState* StateOf(const void* context);
// The open sheet whose current or saved feature block starts at this address, or null.
SheetState* StateOfBlock(const void* block);

}  // namespace sheet
