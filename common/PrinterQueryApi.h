// The printer query of the installable options page: QVTDX5BJ.DLL asks the printer itself which
// options it has ("GetDrvNPAData") and hands back a reply it owns ("FreeDrvNPAData"). The reply
// is the library's; the page reads only the fields below and trusts none of its counts or texts
// beyond their fields. Declarations only, shared with the library's stand-in.
#pragma once

#include <windows.h>

#include <cstddef>

namespace printerquery {

inline constexpr DWORD kProbeRequest = 1;
inline constexpr DWORD kOptionsRequest = 510;
inline constexpr DWORD kReplyVersion = 2;
inline constexpr std::size_t kNameBytes = 32;  // text in the printer's character set
inline constexpr std::size_t kMaxTrays = 8;
inline constexpr std::size_t kMaxBins = 8;
inline constexpr std::size_t kMaxPaperTypes = 16;

// Reply flags.
inline constexpr DWORD kFirstOption = 0x1;   // the option of entry 70
inline constexpr DWORD kSecondOption = 0x2;  // the option of entry 84
inline constexpr DWORD kDuplexUnit = 0x4;

struct Tray {
    char name[kNameBytes];
    DWORD sheets;
};
struct Named {
    SHORT code;
    WORD reserved;
    char name[kNameBytes];
};
struct Reply {
    DWORD size;  // of this record
    DWORD flags;
    DWORD memory;  // megabytes
    DWORD trayCount;
    Tray trays[kMaxTrays];
    DWORD binCount;
    Named bins[kMaxBins];
    DWORD paperTypeCount;
    Named paperTypes[kMaxPaperTypes];
};
static_assert(sizeof(Tray) == 36 && sizeof(Named) == 36);
static_assert(sizeof(Reply) == 16 + 8 * 36 + 4 + 8 * 36 + 4 + 16 * 36);

// 0 on success, with the reply in *reply.
using GetDrvNpaDataFn = DWORD(WINAPI*)(const char* printer, const char* port, DWORD request, Reply** reply,
                                       DWORD version);
using FreeDrvNpaDataFn = void(WINAPI*)(Reply* reply);
inline constexpr char kGetExport[] = "GetDrvNPAData";
inline constexpr char kFreeExport[] = "FreeDrvNPAData";

}  // namespace printerquery
