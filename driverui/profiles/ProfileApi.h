// The profile library QVTDX5PU.DLL as QVTDX5DA calls it: the request record of each export, the
// configuration entry its enumerations report, and the identification block both carry. The
// library belongs to the driver package, not to this system; these records are what passes.
// Declarations only, so the library's stand-in can share them: the driver's helpers on these
// records are in ProfileRecords.h.
//
// Records are in memory only and hold pointers, so their fields are pointer-width; the sizes and
// offsets below are those of the shipped 32-bit build. Every request starts with its own size.
// Texts are narrow (the ANSI code page). Each export answers 0 on success and anything else on
// failure. The exports that return data follow a two-call protocol: called with a null data
// buffer they answer 0 with the size needed in dataSize; called again with a buffer of that size
// they fill it and answer 0.
#pragma once

#include <windows.h>

#include <cstddef>

namespace profiles {

// Carried by every request and configuration record: the words 128, 1, 2, 7, 5 and the text "1.0".
struct IdentBlock {
    DWORD words[5];
    char text[4];
};
inline constexpr DWORD kIdentWords[5] = {128, 1, 2, 7, 5};
inline constexpr char kIdentText[] = "1.0";
static_assert(sizeof kIdentText <= sizeof(IdentBlock::text));

// A configuration's identifier (devmode 1108): the first word is the sub-kind of a built-in entry.
struct ConfigId {
    DWORD words[4];
};

// Configuration kinds (devmode 1100), also the class words of the configurations page: bit 2 a
// built-in entry, 9 a profile of the printer's administrators, 10 a profile of the user.
inline constexpr DWORD kKindBuiltIn = 0x04;
inline constexpr DWORD kKindShared = 0x09;
inline constexpr DWORD kKindPersonal = 0x0A;
// Sub-kinds of the built-in entries.
inline constexpr DWORD kFactoryDefaults = 1;
inline constexpr DWORD kInstalledDefaults = 2;

// The three content words a configuration carries when its data is a whole set of settings for
// its model: bit 7 of the first, bit 0 of the second, bit 1 of the third.
inline constexpr DWORD kContentFlags[3] = {0x80, 0x01, 0x02};

inline constexpr DWORD kRequestVersion = 1;

// One configuration, as an enumeration reports it to its callback. Built-in entries (the factory
// and installed defaults) carry only the fields up to name; profiles carry the rest as well. The
// pointers are valid during the callback only.
struct ConfigEntry {
    DWORD size;
    IdentBlock ident;
    DWORD kind;
    ConfigId id;
    const char* name;
    DWORD contentFlags[3];
    const char* modelName;        // devmode 239 of the settings it holds
    const char* modelRecordName;  // devmode 308
    const BYTE* data;             // driver configuration data
    DWORD dataSize;
    const char* printerName;
    DWORD reserved[3];
};

// An enumeration callback: 0 continues, anything else stops the enumeration.
using ConfigEnumProc = DWORD(WINAPI*)(void* argument, const ConfigEntry* entry);

// "GetDCD": the data of an installed configuration file.
struct GetDcdRequest {
    DWORD size;
    DWORD version;
    const char* configFile;
    const char* shortDesc;
    DWORD remoteInstall;
    BYTE* data;
    DWORD dataSize;
};

// "GetPerProf": a profile's data.
struct GetPerProfRequest {
    DWORD size;
    DWORD version;
    ConfigId id;
    DWORD kind;
    const char* printerName;
    DWORD reserved;
    BYTE* data;
    DWORD dataSize;
};

// "WritePerProfile": stores a new profile; the library answers its identifier in id.
struct WritePerProfileRequest {
    DWORD size;
    DWORD version;
    DWORD kind;
    ConfigId id;
    IdentBlock ident;
    const char* printerName;
    const char* name;
    const char* modelName;
    const char* modelRecordName;
    const BYTE* data;
    DWORD dataSize;
    DWORD contentFlags[3];
    DWORD reserved;
};

// "ChangePerProf": changes the profile id: always its model name and record, the name when
// changes has kChangeName, the data when it has kChangeData. The library answers the profile's
// identifier from now on in newId.
inline constexpr DWORD kChangeName = 0x1;
inline constexpr DWORD kChangeData = 0x2;
struct ChangePerProfRequest {
    DWORD size;
    DWORD version;
    DWORD kind;
    ConfigId id;
    IdentBlock ident;
    const char* printerName;
    const char* name;
    const char* modelName;
    const char* modelRecordName;
    const BYTE* data;
    DWORD dataSize;
    DWORD contentFlags[3];
    DWORD changes;
    ConfigId newId;
    DWORD reserved[8];
};

// "EnumPerProfs": every profile of a kind for the printer.
struct EnumPerProfsRequest {
    DWORD size;
    DWORD version;
    const char* printerName;
    DWORD kind;
    ConfigEnumProc callback;
    void* argument;
};

// "EnumSpecificPerProf": the profiles of the printer with the identifier (and the kind, when it is
// not 0).
struct EnumSpecificPerProfRequest {
    DWORD size;
    DWORD version;
    DWORD kind;
    ConfigId id;
    const char* printerName;
    ConfigEnumProc callback;
    void* argument;
    DWORD reserved;
};

// "DeletePerProf": removes a profile.
inline constexpr DWORD kDeleteTargetProfile = 2;
inline constexpr DWORD kDeleteOperationRemove = 1;
struct DeletePerProfRequest {
    DWORD size;
    DWORD version;
    DWORD target;
    DWORD operation;
    ConfigId id;
    DWORD kind;
    const char* printerName;
};

// "DoesMaxPerProfsExist", which the configurations page asks before it saves a profile: reached
// is set non-zero when the printer already holds the most profiles of the kind that it may. The
// page passes the same record twice.
inline constexpr DWORD kMaxProfilesVersion = 1;
struct MaxProfilesRequest {
    DWORD size;
    DWORD version;
    const char* printerName;
    DWORD kind;
    DWORD reached;
};

// "DrvProfileWizard": the library's own profile wizard, over a copy of the working devmode.
inline constexpr DWORD kWizardVersion = 2;
inline constexpr DWORD kWizardMode = 2;
struct WizardRequest {
    DWORD size;
    DWORD version;
    const char* printerName;
    const char* helpFile;
    HWND owner;
    DWORD mode;
    const BYTE* devmode;
    DWORD devmodeSize;
};

using GetDcdProc = DWORD(WINAPI*)(GetDcdRequest*);
using GetPerProfProc = DWORD(WINAPI*)(GetPerProfRequest*);
using WritePerProfileProc = DWORD(WINAPI*)(WritePerProfileRequest*);
using ChangePerProfProc = DWORD(WINAPI*)(ChangePerProfRequest*);
using EnumPerProfsProc = DWORD(WINAPI*)(EnumPerProfsRequest*);
using EnumSpecificPerProfProc = DWORD(WINAPI*)(EnumSpecificPerProfRequest*);
using DeletePerProfProc = DWORD(WINAPI*)(DeletePerProfRequest*);
using DoesMaxPerProfsExistProc = DWORD(WINAPI*)(MaxProfilesRequest*, MaxProfilesRequest*);
using DrvProfileWizardProc = DWORD(WINAPI*)(WizardRequest*);

static_assert(sizeof(IdentBlock) == 24 && sizeof(ConfigId) == 16);
#ifndef _WIN64
static_assert(sizeof(ConfigEntry) == 96);
static_assert(offsetof(ConfigEntry, kind) == 28 && offsetof(ConfigEntry, id) == 32);
static_assert(offsetof(ConfigEntry, name) == 48 && offsetof(ConfigEntry, contentFlags) == 52);
static_assert(offsetof(ConfigEntry, data) == 72 && offsetof(ConfigEntry, printerName) == 80);
static_assert(sizeof(GetDcdRequest) == 28);
static_assert(offsetof(GetDcdRequest, data) == 20 && offsetof(GetDcdRequest, dataSize) == 24);
static_assert(sizeof(GetPerProfRequest) == 44);
static_assert(offsetof(GetPerProfRequest, data) == 36 && offsetof(GetPerProfRequest, dataSize) == 40);
static_assert(sizeof(WritePerProfileRequest) == 92);
static_assert(offsetof(WritePerProfileRequest, ident) == 28);
static_assert(offsetof(WritePerProfileRequest, data) == 68);
static_assert(offsetof(WritePerProfileRequest, contentFlags) == 76);
static_assert(sizeof(ChangePerProfRequest) == 140);
static_assert(offsetof(ChangePerProfRequest, changes) == 88 && offsetof(ChangePerProfRequest, newId) == 92);
static_assert(sizeof(EnumPerProfsRequest) == 24);
static_assert(offsetof(EnumPerProfsRequest, callback) == 16);
static_assert(sizeof(EnumSpecificPerProfRequest) == 44);
static_assert(offsetof(EnumSpecificPerProfRequest, callback) == 32);
static_assert(sizeof(DeletePerProfRequest) == 40);
static_assert(offsetof(DeletePerProfRequest, id) == 16 && offsetof(DeletePerProfRequest, printerName) == 36);
static_assert(sizeof(MaxProfilesRequest) == 20 && offsetof(MaxProfilesRequest, reached) == 16);
static_assert(sizeof(WizardRequest) == 32 && offsetof(WizardRequest, owner) == 16 &&
              offsetof(WizardRequest, devmodeSize) == 28);
#endif

}  // namespace profiles
