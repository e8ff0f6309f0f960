#include "DriverComponent.h"

#include <cstdlib>
#include <cstring>

#include "../engine/DebugLog.h"
#include "FileOp.h"
#include "OSInfo.h"
#include "SystemPath.h"

namespace {

const char* spoolerLibrary = "WINSPOOL.DRV";

CStdStr Text(const char* s) { return s ? CStdStr(s) : CStdStr(); }

// The dependent files and, at level 6, the four main files: the files the spooler will take
// from the printer-driver directory when the driver is added again.
CStdStringList FilesToStage(const DRIVER_INFO_3A& record, DWORD level)
{
    CStdStringList files;
    const PathObject versioned = SystemPath(folders::kPrinterDriversVersion);
    for (const char* name = record.pDependentFiles; name && *name; name += std::strlen(name) + 1) {
        PathObject file(name);
        if (!file.HasDirectory())
            file.SetDirectory(versioned.directory());
        files.push_back(file.FullPath());
    }
    if (level == 6) {
        // An empty field names no file (a driver without a help file is common).
        for (const char* name : {record.pHelpFile, record.pConfigFile, record.pDataFile, record.pDriverPath})
            if (name && *name)
                files.push_back(name);
    }
    return files;
}

bool StageFiles(const DRIVER_INFO_3A& record, DWORD level)
{
    PathObject staged = SystemPath(folders::kPrinterDrivers);
    for (const CStdStr& name : FilesToStage(record, level)) {
        const PathObject source(name);
        staged.SetName(source.name());
        if (FileOp::Exists(staged))
            continue;
        if (!FileOp::Exists(source)) {
            DebugLog << "DriverComponent::UpdatePrinterDriver: dependent file not found: " << source.FullPath()
                     << '\n';
            return false;
        }
        if (!FileOp::Copy(source, staged, FileOp::CopyCheckVersion | FileOp::CopyCheckTime)) {
            DebugLog << "DriverComponent::UpdatePrinterDriver: unable to copy file " << source.FullPath() << " to "
                     << staged.FullPath() << '\n';
            return false;
        }
    }
    return true;
}

using AddPrinterDriverExFn = BOOL(WINAPI*)(LPSTR, DWORD, LPBYTE, DWORD);

// The extended entry is looked up at run time; without it the driver is not added, which is a
// failure like any other.
bool AddDriverEx(DRIVER_INFO_3A* record, DWORD level, const CStdStr& name)
{
    HMODULE library = LoadLibraryA(spoolerLibrary);
    if (!library) {
        DebugLog << "DriverComponent::UpdatePrinterDriver: unable to load " << spoolerLibrary << ", code "
                 << GetLastError() << '\n';
        DebugLog << "\tDriver name: " << name << '\n';
        return false;
    }
    auto addEx = reinterpret_cast<AddPrinterDriverExFn>(GetProcAddress(library, "AddPrinterDriverExA"));
    bool ok = false;
    if (!addEx) {
        DebugLog << "DriverComponent::UpdatePrinterDriver: AddPrinterDriverExA not found in " << spoolerLibrary
                 << ", code " << GetLastError() << '\n';
        DebugLog << "\tDriver name: " << name << '\n';
    } else if (addEx(nullptr, level, reinterpret_cast<LPBYTE>(record), APD_STRICT_UPGRADE)) {
        DebugLog << "DriverComponent::UpdatePrinterDriver: AddPrinterDriverEx succeded for Driver name: " << name
                 << '\n';
        ok = true;
    } else {
        DebugLog << "DriverComponent::UpdatePrinterDriver: AddPrinterDriverEx failed with code " << GetLastError()
                 << '\n';
        DebugLog << "\tDriver name: " << name << '\n';
    }
    FreeLibrary(library);
    return ok;
}

}  // namespace

const char* DriverEnvironment()
{
    return OSInfo().Is9x() ? "Windows 4.0" : "Windows NT x86";
}

DWORD DriverLevel()
{
    return OSInfo().IsNT5OrLater() ? 6 : 3;
}

bool DriverFitsOS(DWORD version)
{
    OSInfo os;
    return os.Is9x() || (os.IsNT5OrLater() && version == 3) || (os.GetOSCode() == OSInfo::NT4 && version == 2);
}

std::uint32_t ParseNumberText(const CStdStr& text)
{
    if (text.size() >= 3 && (text[1] == 'x' || text[1] == 'X'))
        return std::uint32_t(std::strtoul(text.c_str(), nullptr, 16));
    return std::uint32_t(ParseDecimal(text));
}

namespace DriverComponent {

bool UpdatePrinterDriver(DRIVER_INFO_3A* record, DWORD level)
{
    if (!record)
        return false;
    const CStdStr name = Text(record->pName);
    if (!DriverFitsOS(record->cVersion)) {
        DebugLog << "UpdatePrinterDriver: not updating alt driver " << name << " (version " << record->cVersion
                 << "): wrong OS" << '\n';
        return true;
    }
    OSInfo os;
    if (os.IsNT() && !StageFiles(*record, level))
        return false;

    if (os.GetOSCode() == OSInfo::Vista)
        return AddDriverEx(record, level, name);
    if (!AddPrinterDriverA(nullptr, level, reinterpret_cast<LPBYTE>(record))) {
        DebugLog << "DriverComponent::UpdatePrinterDriver: AddPrinterDriver failed with code " << GetLastError()
                 << '\n';
        DebugLog << "\tDriver name: " << name << '\n';
        return false;
    }
    return true;
}

ScopedSpoolerLibrary::ScopedSpoolerLibrary(const char* name) : previous_(spoolerLibrary)
{
    spoolerLibrary = name;
}

ScopedSpoolerLibrary::~ScopedSpoolerLibrary()
{
    spoolerLibrary = previous_;
}

}  // namespace DriverComponent
