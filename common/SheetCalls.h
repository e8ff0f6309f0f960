// The calls of a property sheet between the two driver libraries: the driver library's
// DialogControl call into the dialog library, and the exports the pages look up in the driver
// library through the module handle of the sheet context (CallBackAccess with its request
// records, RefreshProc, CallToolKitUtil). Records that carry addresses hold pointer-width
// fields; the offsets the shipped 32-bit build fixes are pinned below. Both libraries compile
// this declaration.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "SheetContext.h"
#include "WatermarkRecord.h"

// ---- DialogControl (QVTDX5DU) ----------------------------------------------------------------

inline constexpr std::size_t kPageTemplates = 16;
inline constexpr WORD kDocumentSheetSlots = 10;  // any other count is a device sheet
inline constexpr WORD kDeviceSheetSlots = 3;

// The model's page-template set (resource type 281): ten document slots, then three device slots.
struct PageTemplates {
    WORD id[kPageTemplates];
};
static_assert(sizeof(PageTemplates) == 32);

// Adds the pages of one sheet through the property-sheet service that the context carries: 0 when
// every page was added, 1 when any addition failed.
using DialogControlFn = DWORD(WINAPI*)(SheetContext* context, void* featureBlock, PageTemplates templates,
                                       WORD slots, HANDLE printer);
inline constexpr char kDialogControlExport[] = "DialogControl";

// ---- Exports of QVTDX5DA the pages call --------------------------------------------------------

// CallBackAccess (context, request type, data block, result word). Types above 36 do nothing; the
// result word is set to 0 first (a null one is replaced by a local word).
using CallBackAccessFn = void(WINAPI*)(SheetContext* context, DWORD type, void* data, WORD* result);
inline constexpr char kCallBackAccessExport[] = "CallBackAccess";
// The refresh procedure, looked up by the name the context holds; always 0.
using RefreshProcFn = LONG(WINAPI*)(void* featureBlock);
// The toolkit: 1 when the toolkit carried the command out.
using CallToolKitUtilFn = int(WINAPI*)(HWND window, LPSTR printerName, DWORD command, DWORD argument, WORD value1,
                                       WORD value2, DWORD flags);
inline constexpr char kCallToolKitUtilExport[] = "CallToolKitUtil";

// The request types.
enum CallBackType : DWORD {
    kCbEnumMacros = 0,           // ListAnswer; result: count
    kCbClearList = 1,            // narrow value name of a record list
    kCbAddNamedRecord = 2,       // NamedRecord
    kCbFindNamedRecord = 3,      // NamedLookup; result: 1 when a record gave the name
    kCbDeleteUserForm = 4,       // i16 form number
    kCbEnumUserForms = 5,        // ListAnswer; result: count
    kCbSetUserForm = 6,          // UserFormRecord
    kCbGetUserForm = 7,          // UserFormRecord; result: 1 when the form exists
    kCbDeleteAssociation = 8,    // i16 association number
    kCbEnumAssociations = 9,     // ListAnswer; result: count
    kCbSetAssociation = 10,      // AssociationRecord
    kCbGetAssociation = 11,      // AssociationRecord
    kCbEnumSpoolerForms = 12,    // ListAnswer; result: count
    kCbOpenWatermarks = 13,      // ListOpen
    kCbCloseList = 14,           // the list handle itself
    kCbNextRecord = 15,          // the list handle; result: 1 while a record remains
    kCbReadWatermarkFields = 16,  // WatermarkFields; result: 1 when a record is current
    kCbEnumWatermarks = 17,      // ListAnswer; result: count
    kCbAddWatermark = 18,        // WatermarkRecord
    kCbGetWatermark = 19,        // WatermarkRecord, number in; result: 1 when found
    kCbUpdateWatermark = 20,     // WatermarkRecord; result: 1 when the number existed
    kCbDeleteRecord = 21,        // the list handle
    kCbTrayWord = 22,            // none
    kCbPaperInfo = 23,           // UserFormRecord, paper code in the number
    kCbCommit = 24,              // none
    kCbSoftwareEnable = 25,      // one byte
    kCbFirstConfig = 26,         // 26 to 33: the configuration request (ConfigEnumTarget for 32)
    kCbEnumConfigs = 32,
    kCbLastConfig = 33,
    kCbPaperList = 34,           // PaperListRequest; result: count
    kCbPaperFormat = 35,         // a 54-byte paper-format record, request words in; result: 1
    kCbDevmode = 36,             // a 1256-byte buffer or none; result: 1256
    kCbLastType = 36,
};

inline constexpr std::size_t kRecordNameBytes = 64;  // narrow names in records, zero included

// Types 0, 5, 9, 12, 17: the numbers (16-bit) and the names (zero-terminated, one after the
// other, ending with an empty name) of a list, both allocated from the sheet context's heap; the
// page frees both with HeapFree(context->heap, 0, ...). The count is the result.
struct ListAnswer {
    WORD* numbers;
    char* names;
};

// Type 2: a record of a named list ("Macro" when list is null): number and name, or with data
// the name written from its first 64 bytes as hexadecimal text.
struct NamedRecord {
    const char* list;
    SHORT number;
    WORD reserved;
    const char* name;
    const BYTE* data;
    DWORD dataLength;
};

// Type 3: the name stored under a number of a named list, copied over the default name in the
// caller's buffer of nameSize bytes; replaced is set to 1 when it was.
struct NamedLookup {
    const char* list;
    SHORT number;
    WORD nameSize;
    char* name;
    DWORD replaced;
};

// Types 6, 7 and 23: bytes 0 to 105 of the dialog's 184-byte user form record (R33).
struct UserFormRecord {
    SHORT number;  // 512 to 519; for type 23 the paper code
    char name[kRecordNameBytes];
    WORD flags;  // 0x1000: entered in millimetres
    WORD width;  // 1/1200 inch
    WORD height;
    WORD reserved;
    WORD areas[16];  // four (printable width, printable height, margin, reserved) quadruples
};
static_assert(sizeof(UserFormRecord) == 106);
static_assert(offsetof(UserFormRecord, flags) == 66 && offsetof(UserFormRecord, areas) == 74);

// Types 10 and 11: the paper association record (R32).
struct AssociationRecord {
    SHORT number;  // 640 to 671
    char name[kRecordNameBytes];
    SHORT form;       // -1: none
    SHORT paperType;  // -1: none
    char firstOverlay[kRecordNameBytes];
    WORD firstOverlayOption;
    char secondOverlay[kRecordNameBytes];
    WORD secondOverlayOption;
    char firstWatermark[kRecordNameBytes];
    WORD firstWatermarkOption;
    char secondWatermark[kRecordNameBytes];
    WORD secondWatermarkOption;
};
static_assert(sizeof(AssociationRecord) == 334);
static_assert(offsetof(AssociationRecord, firstOverlay) == 70 && offsetof(AssociationRecord, secondOverlay) == 136 &&
              offsetof(AssociationRecord, firstWatermark) == 202 && offsetof(AssociationRecord, secondWatermark) == 268);
static_assert(offsetof(AssociationRecord, secondWatermarkOption) == 332);

// Type 13: the watermark list's handle comes back here, never in the 16-bit result word.
struct ListOpen {
    void* list;
};

// Type 16: the fields of the current watermark record, each copied to where the page points
// (a null pointer skips the field): 1 i16 number, 2 name and 3 text (64 bytes each, zero
// included), 4 the 60-byte font block, 5 u32, 6 to 9 u16.
inline constexpr std::size_t kWatermarkFields = 9;
inline constexpr std::size_t kWatermarkBlockBytes = 60;
struct WatermarkFields {
    void* list;
    void* field[kWatermarkFields];
};

// Type 32: the result block carries the listing's callback (a profiles::ConfigEnumProc) and its
// argument after the result word.
struct ConfigEnumTarget {
    WORD result;
    WORD reserved;
    void* callback;
    void* argument;
};

// Type 34: the papers a list offers. Without a buffer only the count comes back; with one, at
// most capacity papers are written: capacity 16-bit codes, then capacity 64-byte narrow names.
inline constexpr std::size_t kPaperListEntryBytes = 2 + kRecordNameBytes;
struct PaperListRequest {
    WORD size;      // of this record
    WORD mode;      // the graphics-mode entry's value (1 when absent); 2 keeps custom forms out
    WORD count;     // out: papers listed (written), or offered (no buffer)
    WORD selector;  // 0 the paper-size list, 1 the output-size list (built-in papers only)
    const void* entry;  // the feature entry the list is for; not read
    void* buffer;
    DWORD capacity;  // papers the buffer holds (its size / kPaperListEntryBytes)
};

#ifndef _WIN64
static_assert(sizeof(ListAnswer) == 8);
static_assert(sizeof(NamedRecord) == 20 && offsetof(NamedRecord, name) == 8 && offsetof(NamedRecord, dataLength) == 16);
static_assert(sizeof(NamedLookup) == 16 && offsetof(NamedLookup, name) == 8 && offsetof(NamedLookup, replaced) == 12);
static_assert(sizeof(ListOpen) == 4);
static_assert(sizeof(WatermarkFields) == 40 && offsetof(WatermarkFields, field) == 4);
static_assert(sizeof(ConfigEnumTarget) == 12 && offsetof(ConfigEnumTarget, callback) == 4);
static_assert(sizeof(PaperListRequest) == 20 && offsetof(PaperListRequest, entry) == 8 &&
              offsetof(PaperListRequest, buffer) == 12 && offsetof(PaperListRequest, capacity) == 16);
#endif

// ---- The feature block's header record, as the pages see it -------------------------------------

struct FeatureBlockHeader {
    WORD size;  // 1540
    WORD id;    // 65
    DWORD zero;
    SheetContext* context;
};
static_assert(offsetof(FeatureBlockHeader, context) == 8);
