// Calls between the two driver libraries by export name: the dialog library's translated strings
// and tray-name IDs that the driver library asks for single requests, and the driver library's
// paper exports that the dialog pages look up. Both libraries compile this declaration.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A request for one translated string, copied as narrow text into the caller's buffer.
struct XlatedStringRequest {
    std::uint16_t size;  // of this record
    std::uint16_t reserved0;
    std::uint32_t direct;  // non-zero: number is a string ID of the resource library
    std::uint16_t number;  // a string ID, or a logical string number
    std::uint16_t reserved1;
    char* buffer;
    std::uint16_t length;  // of the buffer, in characters
    std::uint16_t reserved2;
};
#ifndef _WIN64
static_assert(sizeof(XlatedStringRequest) == 20);
static_assert(offsetof(XlatedStringRequest, number) == 8);
static_assert(offsetof(XlatedStringRequest, buffer) == 12);
static_assert(offsetof(XlatedStringRequest, length) == 16);
#endif

// The number of characters copied; 0 when the number has no string.
using LoadXlatedStringFn = int(WINAPI*)(XlatedStringRequest* request);
// The string ID of the display name of tray number `index` (0 to kLastTrayNumber).
using GetTrayIDFn = WORD(WINAPI*)(WORD index);
inline constexpr WORD kLastTrayNumber = 14;

inline constexpr char kLoadXlatedStringExport[] = "LoadXlatedString";
inline constexpr char kGetTrayIdExport[] = "GetTrayID";

// QVTDX5DA: the paper-format record (PaperFormatRecord.h, 54 bytes) of a paper of the devmode's
// model; non-zero on success. The model comes with the devmode; the name is kept for callers.
using GetPaperFormatFn = BOOL(WINAPI*)(LPSTR modelName, HANDLE printer, LPVOID record, PDEVMODEW devmode,
                                       WORD paperCode, WORD orientation, BYTE flag, WORD resolution,
                                       DWORD mode);
// QVTDX5DA: 1 when the system's country uses Letter paper, else 0.
using IsUsaFn = int(WINAPI*)();

inline constexpr char kGetPaperFormatExport[] = "GetPaperFormat";
inline constexpr char kIsUsaExport[] = "isUSA";

// A request for one translated custom resource of the resource library, by resource name and
// integer type (the custom types 258 to 286, or a platform type such as 2 for a bitmap).
struct XlatedResourceRequest {
    std::uint16_t size;  // of this record
    std::uint16_t reserved0;
    std::uint32_t direct;  // non-zero: number is a resource name ID of the resource library
    std::uint16_t number;  // a resource name ID, or a logical resource number
    std::uint16_t reserved1;
    std::uint16_t type;
    std::uint16_t reserved2;
};
static_assert(sizeof(XlatedResourceRequest) == 16);
static_assert(offsetof(XlatedResourceRequest, number) == 8);
static_assert(offsetof(XlatedResourceRequest, type) == 12);

// The loaded resource, or null; its size in bytes, or 0.
using LoadXlatedResourceFn = HGLOBAL(WINAPI*)(XlatedResourceRequest* request);
using GetSizeofXlatedResourceFn = DWORD(WINAPI*)(XlatedResourceRequest* request);

inline constexpr char kLoadXlatedResourceExport[] = "LoadXlatedResource";
inline constexpr char kGetSizeofXlatedResourceExport[] = "GetSizeofXlatedResource";
