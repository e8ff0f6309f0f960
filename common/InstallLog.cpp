#include "InstallLog.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "InstallLogApi.h"
#include "SpoolLock.h"

namespace installlog {
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

// A text in its fixed buffer, terminated; false (and an empty buffer) when it does not fit.
using LogBuffer = char[kLogBufferChars];
bool Copy(const std::string& text, LogBuffer& buffer)
{
    buffer[0] = '\0';
    if (text.size() > kLogTextChars || text.find('\0') != std::string::npos)
        return false;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
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
        module_ = LoadLibraryA((std::string(dir, n) + "\\" + kLibraryName).c_str());
        if (!module_)
            return;
        find_ = reinterpret_cast<FindLogFileProc>(GetProcAddress(module_, kFindLogFileName));
        addFile_ = reinterpret_cast<AddFileProc>(GetProcAddress(module_, kAddFileName));
        addRegistry_ =
            reinterpret_cast<AddRegistryProc>(GetProcAddress(module_, kAddRegistryName));
    }
    ~LogLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    LogLibrary(const LogLibrary&) = delete;
    LogLibrary& operator=(const LogLibrary&) = delete;

    bool Ready() const { return find_ && addFile_ && addRegistry_; }
    FindLogFileProc find_ = nullptr;
    AddFileProc addFile_ = nullptr;
    AddRegistryProc addRegistry_ = nullptr;

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
    LogBuffer sectionText;
    if (!Copy(section, sectionText))
        return;

    if (log.find_(Component(Text(printerInfo->pDriverName)).c_str(), kLogMode) != 0)
        return;
    LogBuffer text;
    if (!entry.file.empty() && Copy(entry.file, text))
        log.addFile_(sectionText, text);
    if (!entry.key.empty() && !entry.valueName.empty()) {
        std::string line = entry.key + ", \"" + entry.valueName + "\"";
        if (entry.value)
            line += ", " + *entry.value;
        if (Copy(line, text))
            log.addRegistry_(sectionText, text);
    }
}

std::string Narrow(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(std::size_t(n - 1));
    return out;
}

}  // namespace installlog
