// The configuration requests of the configurations page (CallBackAccess types 26 to 33): reset to
// the factory defaults, apply the installed defaults, apply, store, overwrite, delete, list and
// rename personal profiles. Each works on the sheet's working devmode; the steps between that
// devmode and the sheet's feature entries are the sheet's, passed in as callbacks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "DrvCfgRecords.h"
#include "ProfileLibrary.h"

namespace profiles {

// What a request works on.
struct ConfigTarget {
    // The working devmode (at least 1256 bytes).
    std::span<std::uint8_t> devmode;
    HANDLE printer = nullptr;
    // The narrow printer name: the profiles' printer and the caption of the library's warning.
    std::string printerName;
    // Writes the feature entries into a devmode (a copy of the working one) before settings are
    // read from it; empty when there are no entries.
    std::function<void(std::span<std::uint8_t>)> writeEntries;
    // Loads the working devmode into the feature entries after settings changed; empty when there
    // are no entries.
    std::function<void(std::span<const std::uint8_t>)> loadEntries;
    // The sheet's change count: set to 1 when a reset changes the software-enable byte.
    std::uint16_t* changeCount = nullptr;
    ProfileLibrary library;
};

inline constexpr int kRequestFirst = 26;
inline constexpr int kRequestResetDefaults = 26;
inline constexpr int kRequestInstalledDefaults = 27;
inline constexpr int kRequestApplyProfile = 28;
inline constexpr int kRequestStoreProfile = 29;
inline constexpr int kRequestOverwriteProfile = 30;
inline constexpr int kRequestDeleteProfile = 31;
inline constexpr int kRequestEnumConfigs = 32;
inline constexpr int kRequestRenameProfile = 33;
inline constexpr int kRequestLast = 33;

// Bits of the request's kind word for type 32.
inline constexpr DWORD kEnumShared = 0x1;    // profiles of kind 9
inline constexpr DWORD kEnumPersonal = 0x2;  // profiles of kind 10
inline constexpr DWORD kEnumBuiltIn = 0x4;   // factory and installed defaults

// Dialog-library strings of the built-in entries and their fall-backs.
inline constexpr std::uint16_t kFactoryNameString = 3003;
inline constexpr std::uint16_t kInstalledNameString = 3004;
inline constexpr char kFactoryNameFallback[] = " Factory Defaults";
inline constexpr char kInstalledNameFallback[] = " Installed Defaults";

// Each returns the request's status: kResultOk (0), kResultBadRecord for a request that is not one,
// kResultFailed when the settings could not be read, built, applied or stored, kResultNoLibrary
// when the profile library or its export is missing, kResultNothingBuilt when the devmode gave no
// data to store.
DWORD ResetToDefaults(ConfigTarget& target, ConfigRequest& request);     // 26
DWORD ApplyInstalledDefaults(ConfigTarget& target, ConfigRequest& request);  // 27
DWORD ApplyProfile(ConfigTarget& target, ConfigRequest& request);        // 28
DWORD StoreProfile(ConfigTarget& target, ConfigRequest& request);        // 29
DWORD OverwriteProfile(ConfigTarget& target, ConfigRequest& request);    // 30
DWORD DeleteProfile(ConfigTarget& target, ConfigRequest& request);       // 31
// 32: reports the configurations the request's kind bits select to the callback; a callback that
// answers non-zero ends the listing (the request still succeeds).
DWORD EnumConfigurations(ConfigTarget& target, ConfigRequest& request, ConfigEnumProc callback,
                         void* argument);
DWORD RenameProfile(ConfigTarget& target, ConfigRequest& request);       // 33

// One request by its type (26 to 33); the callback and its argument serve type 32 only. A null or
// short request, or another type, gives kResultBadRecord.
DWORD ConfigAccess(int type, ConfigTarget& target, ConfigRequest* request, ConfigEnumProc callback,
                   void* argument);

}  // namespace profiles
