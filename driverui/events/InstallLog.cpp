#include "InstallLog.h"

#include <winspool.h>

#include <vector>

#include "InstallLogApi.h"
#include "SpoolLock.h"

namespace events {
namespace {

constexpr char kDriverPrefix[] = "Qelbrin";
constexpr int kLogMode = 2;

// The printer's level-2 information (narrow) by the two-call protocol; empty when the first call
// does not ask for a buffer or the second fails.
std::vector<BYTE> NarrowPrinterInfo(HANDLE printer)
{
    DWORD needed = 0;
    if (LockedGetPrinterA(printer, 2, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        needed < sizeof(PRINTER_INFO_2A))
        return {};
    std::vector<BYTE> info(needed);
    if (!LockedGetPrinterA(printer, 2, info.data(), needed, &needed))
        return {};
    return info;
}

std::string Text(const char* s)
{
    return s ? s : "";
}

bool Fits(const std::string& text)
{
    return text.size() <= kLogTextChars;
}

std::string Component(const std::string& driverName)
{
    const std::size_t n = sizeof(kDriverPrefix) - 1;
    return driverName.size() >= n && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, driverName.data(), int(n),
                                                    kDriverPrefix, int(n)) == CSTR_EQUAL
               ? "Qelbrin"
               : "Generic";
}

class LogLibrary {
public:
    LogLibrary()
    {
        char dir[MAX_PATH];
        const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return;
        module_ = LoadLibraryA((std::string(dir, n) + "\\" + installlog::kLibraryName).c_str());
        if (!module_)
            return;
        find_ = reinterpret_cast<installlog::FindLogFileProc>(GetProcAddress(module_, installlog::kFindLogFileName));
        addFile_ = reinterpret_cast<installlog::AddFileProc>(GetProcAddress(module_, installlog::kAddFileName));
        addRegistry_ =
            reinterpret_cast<installlog::AddRegistryProc>(GetProcAddress(module_, installlog::kAddRegistryName));
    }
    ~LogLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    LogLibrary(const LogLibrary&) = delete;
    LogLibrary& operator=(const LogLibrary&) = delete;

    bool Ready() const { return find_ && addFile_ && addRegistry_; }
    installlog::FindLogFileProc find_ = nullptr;
    installlog::AddFileProc addFile_ = nullptr;
    installlog::AddRegistryProc addRegistry_ = nullptr;

private:
    HMODULE module_ = nullptr;
};

}  // namespace

void RegisterWithInstallLog(HANDLE printer, const std::string& printerName, LogKind kind, const LogEntry& entry)
{
    const LogLibrary log;
    if (!log.Ready() || !printer)
        return;
    const std::vector<BYTE> info = NarrowPrinterInfo(printer);
    if (info.empty())
        return;
    const auto* printerInfo = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());

    std::string section;
    if (kind == LogKind::Driver)
        section = "Drivers";
    else if (kind == LogKind::Printer)
        section = "Printer " + (printerName.empty() ? Text(printerInfo->pPrinterName) : printerName);
    else
        return;
    if (!Fits(section))
        return;

    if (log.find_(Component(Text(printerInfo->pDriverName)).c_str(), kLogMode) != 0)
        return;
    if (!entry.file.empty() && Fits(entry.file))
        log.addFile_(section.c_str(), entry.file.c_str());
    if (!entry.key.empty() && !entry.valueName.empty()) {
        std::string line = entry.key + ", \"" + entry.valueName + "\"";
        if (entry.value)
            line += ", " + *entry.value;
        if (Fits(line))
            log.addRegistry_(section.c_str(), line.c_str());
    }
}

}  // namespace events
