// The web library QVTDX5TD.DLL of the driver package, as the Web page calls it: it turns a
// printer family, an address type and a language into the address of one of the maker's web
// pages, optionally from a configuration file. Declarations only, shared with its stand-in.
#pragma once

#include <windows.h>

namespace weblib {

inline constexpr int kAddressBytes = 256;
// PtWebGetURL's answer when the configuration asks for the printer's own pages.
inline constexpr int kAskCgi = 48;

using PtIniOpen2Fn = HANDLE(WINAPI*)(const char* configurationFile, int mode);
using PtWebGetUrlFn = int(WINAPI*)(int family, int addressType, int language, char* address, int size, HANDLE ini);
using PtWebGetCgiUrlFn = int(WINAPI*)(int modelWord, int family, int modelWord2, int addressType, int language,
                                      char* address, int size, HANDLE ini);
using PtIniCloseFn = void(WINAPI*)(HANDLE ini);

inline constexpr char kIniOpen[] = "PtIniOpen2";
inline constexpr char kGetUrl[] = "PtWebGetURL";
inline constexpr char kGetCgiUrl[] = "PtWebGetCGIURL";
inline constexpr char kIniClose[] = "PtIniClose";

}  // namespace weblib
