// The sheet context: the working record of one open property sheet (or of one devmode request
// without a user interface). QVTDX5DA builds it in a private heap; the pages of the dialog
// library receive it and read it by member, so both libraries compile this one declaration.
// Destroying the heap frees the context and everything allocated for it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr int kFeatureSlots = 126;
inline constexpr int kPrinterConfigWords = 7;
inline constexpr int kPageSlots = 10;
inline constexpr std::size_t kWorkDevmodeBytes = 1257;  // one devmode and a spare byte
inline constexpr std::size_t kWorkBufferBytes = 204;

struct SheetContext {
    SheetContext* self;  // the context's own address; checked with selfAgain
    std::uint32_t permission;
    HANDLE printer;
    HANDLE heap;
    void* sheetService;         // the property-sheet service's callback
    HANDLE sheetServiceHandle;  // passed back to that callback
    wchar_t* printerName;
    wchar_t* driverName;
    char* printerNameA;
    std::uint32_t opened;
    std::uint16_t pageBookkeeping[4];
    std::uint16_t changeCount;
    std::uint32_t swEnableWriteFailed;
    std::uint32_t helpRequested;
    wchar_t* helpFile;
    HMODULE instructionLibrary;  // QVTDX5B1.DLL
    HMODULE pictureLibrary;      // QVTDX5BT.DLL
    void* paintPrinter;          // "PaintPrt"
    void* managePalette;         // "ManagePal"
    HWND summaryWindow;
    std::uint32_t printerConfig[kPrinterConfigWords];
    std::uint32_t savedPrinterConfig[kPrinterConfigWords];
    std::uint32_t defaultPrinterConfig[kPrinterConfigWords];
    std::uint16_t pageDisplay[kPageSlots];
    std::uint32_t okPressed[2];
    std::uint32_t fontSetMasks[2];
    std::uint32_t sheetResult;
    std::uint32_t devmodeChanged;
    std::uint16_t modelFamily;  // 255: none
    std::uint16_t outsideUsa;
    void* settingsInterface;
    std::uint32_t sheetKind;  // 0 document, 1 device
    std::uint16_t customPaperLimits[4];  // max width, min width, max length, min length; 1/1200 in
    char refreshProcName[128];
    HGLOBAL featureBlock;
    HGLOBAL savedFeatureBlock;
    std::uint32_t featureBlockSize;
    void* featureEntries[kFeatureSlots];
    void* savedFeatureEntries[kFeatureSlots];
    std::uint8_t* workingDevmode;   // kWorkDevmodeBytes
    std::uint8_t* defaultsDevmode;  // kWorkDevmodeBytes
    HMODULE module;                 // QVTDX5DA
    HMODULE dialogLibrary;          // QVTDX5DU.DLL
    void* savedFrameProc;
    std::uint8_t* workBuffers[2];  // kWorkBufferBytes each
    std::uint32_t administrator;
    std::uint32_t started;
    std::uint16_t devmodeCopies[7];  // model words 400, 392, 394, 416, 412, 350, 354
    char modelName[32];
    std::uint16_t lastPaperUnit;  // the unit of the last new user paper size: 0 inches, 1 millimetres
    std::uint32_t settingsChanged;
    SheetContext* selfAgain;
};

// The dialog library reads members by their offsets in the shipped 32-bit build.
#ifndef _WIN64
static_assert(offsetof(SheetContext, printer) == 8);
static_assert(offsetof(SheetContext, pageBookkeeping) == 40);
static_assert(offsetof(SheetContext, printerConfig) == 84);
static_assert(offsetof(SheetContext, pageDisplay) == 168);
static_assert(offsetof(SheetContext, modelFamily) == 212);
static_assert(offsetof(SheetContext, customPaperLimits) == 224);
static_assert(offsetof(SheetContext, refreshProcName) == 232);
static_assert(offsetof(SheetContext, featureEntries) == 372);
static_assert(offsetof(SheetContext, workingDevmode) == 1380);
static_assert(offsetof(SheetContext, devmodeCopies) == 1416);
static_assert(offsetof(SheetContext, modelName) == 1430);
static_assert(offsetof(SheetContext, lastPaperUnit) == 1462);
static_assert(offsetof(SheetContext, selfAgain) == 1468);
static_assert(sizeof(SheetContext) == 1472);
#endif

// Both self references name the context.
inline bool IsSheetContext(const SheetContext* context)
{
    return context && context->self == context && context->selfAgain == context;
}
