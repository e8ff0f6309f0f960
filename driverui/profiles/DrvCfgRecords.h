// The records of QVTDX5DA's driver-configuration exports, which a configuration tool fills, and
// of the configuration requests that the configurations page sends through CallBackAccess. In
// memory only; fields that hold pointers are pointer-width, and the sizes and offsets pinned
// below are those of the shipped 32-bit build. Texts are narrow (the ANSI code page). Each record
// begins with its size in bytes, which the exports check before touching any other field.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ProfileRecords.h"

namespace profiles {

// ConvertPrtIntoDCD: the configuration data of a devmode.
//   in:  size (at least sizeof, 1724 on 32-bit), flag (non-zero), opMask (the entries to write,
//        e.g. 3 as the printer's own data), devmode and devmodeSize (the bytes readable there, at
//        least 1256; the devmode must be one of this driver's);
//   out: flag 1, version 0x00010001, ident, modelRecordName (the model's display name from
//        devmode 308, zero-filled), data (a GlobalAlloc handle the caller frees) and dataSize.
// The reserved tail is zero on return; it keeps the record at the size the tools allocate.
inline constexpr DWORD kConvertVersion = 0x00010001;
inline constexpr std::size_t kModelRecordNameSize = 512;
struct DcdConvertRecord {
    DWORD size;
    DWORD flag;
    DWORD version;
    DWORD opMask;
    const BYTE* devmode;
    DWORD devmodeSize;
    IdentBlock ident;
    char modelRecordName[kModelRecordNameSize];
    HGLOBAL data;
    DWORD dataSize;
    BYTE reserved[1156];
};

// Cfi2DrvForceDCDIntoPrtObj: applies configuration data to a printer.
//   printerName: the printer; modelName: the model the data was made for (devmode 239);
//   devmode, devmodeSize: an optional devmode merged over the printer's current one first;
//   opMask: the entries to read; profileName: empty (or null) for any, else the model record name
//   (devmode 308) the data must match; contentFlags: the data is a whole set of settings
//   (kContentFlags); data, dataSize: the configuration data.
struct DcdForceRecord {
    DWORD size;
    IdentBlock ident;
    const char* printerName;
    const char* modelName;
    const BYTE* devmode;
    DWORD devmodeSize;
    DWORD opMask;
    const char* profileName;
    DWORD contentFlags[3];
    const BYTE* data;
    DWORD dataSize;
};

// EnumDrvCfgSupport: what the driver supports for a model.
//   in:  size, version (the record version), modelName, printerName (optional);
//   out: ident (every version); printerAccess (versions above 1, with a printer name: 2, 3 when
//        the printer opens with full access; 0 for a model whose flag word 394 has bit 3);
//        capability420, capability418 and brand (versions above 2).
// Only the fields that lie within the record's size are written.
inline constexpr DWORD kBrandNone = 1;
inline constexpr DWORD kBrandOwn = 2;
inline constexpr DWORD kBrandOther = 3;
struct DrvCfgSupportRecord {
    DWORD size;
    DWORD version;
    const char* modelName;
    const char* printerName;
    IdentBlock ident;
    DWORD printerAccess;
    DWORD capability420;
    DWORD capability418;
    DWORD brand;
};

// EnumSpecificDrvCfgCallBack: the search record a tool passes as the enumeration's argument. The
// callback stores into dataSize the data size of an entry that fits the devmode's model.
struct DrvCfgSearchRecord {
    DWORD size;
    const BYTE* devmode;
    DWORD devmodeSize;
    DWORD dataSize;
};

// CallBackAccess types 26 to 33: the configuration request of the configurations page. devmode is
// the working devmode's address; kind and id name the configuration; name is the profile name
// where one is needed (types 29, 30 and 33).
struct ConfigRequest {
    DWORD size;
    BYTE* devmode;
    DWORD kind;
    ConfigId id;
    const char* name;
    DWORD reserved;
};

#ifndef _WIN64
static_assert(sizeof(DcdConvertRecord) == 1724);
static_assert(offsetof(DcdConvertRecord, devmode) == 16 && offsetof(DcdConvertRecord, ident) == 24);
static_assert(offsetof(DcdConvertRecord, modelRecordName) == 48);
static_assert(offsetof(DcdConvertRecord, data) == 560 && offsetof(DcdConvertRecord, dataSize) == 564);
static_assert(sizeof(DcdForceRecord) == 72);
static_assert(offsetof(DcdForceRecord, printerName) == 28 && offsetof(DcdForceRecord, opMask) == 44);
static_assert(offsetof(DcdForceRecord, contentFlags) == 52 && offsetof(DcdForceRecord, data) == 64);
static_assert(sizeof(DrvCfgSupportRecord) == 56);
static_assert(offsetof(DrvCfgSupportRecord, ident) == 16);
static_assert(offsetof(DrvCfgSupportRecord, printerAccess) == 40 && offsetof(DrvCfgSupportRecord, brand) == 52);
static_assert(sizeof(DrvCfgSearchRecord) == 16);
static_assert(sizeof(ConfigRequest) == 36);
static_assert(offsetof(ConfigRequest, kind) == 8 && offsetof(ConfigRequest, name) == 28);
#endif

}  // namespace profiles
