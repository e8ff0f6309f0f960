#include "PrinterEvents.h"

#include <winddiui.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "ConfigUpdate.h"
#include "PrinterFiles.h"
#include "DrvUiDecls.h"
#include "EventLock.h"
#include "InstallLog.h"
#include "PostInstall.h"
#include "PrinterAccess.h"
#include "PrinterCleanup.h"
#include "PrinterSetup.h"

namespace events {
namespace {

constexpr wchar_t kDriverSetupKey[] = L"SOFTWARE\\Qelbrin\\DriverSetup";
constexpr wchar_t kSilentInstallValue[] = L"SilentInstall";

std::wstring PortList(HANDLE printer)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return {};
    const wchar_t* port = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPortName;
    return port ? port : L"";
}

// An installer's request for an unattended run: read once, then gone with its key.
bool TakeSilentInstall(const std::wstring& printerName)
{
    if (printerName.empty())
        return false;
    const std::wstring path = std::wstring(kDriverSetupKey) + L"\\" + printerName;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof(value), type = 0;
    const bool silent = RegQueryValueExW(key, kSilentInstallValue, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                         &size) == ERROR_SUCCESS &&
                        type == REG_DWORD && size == sizeof(value) && value == 1;
    RegDeleteValueW(key, kSilentInstallValue);
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    return silent;
}

void TouchDeviceContext(const wchar_t* printerName)
{
    if (HDC dc = CreateDCW(L"WINSPOOL", printerName, nullptr, nullptr))
        DeleteDC(dc);
}

void RegisterConfigFile(HANDLE printer, const std::string& printerName)
{
    installlog::RegisterWithInstallLog(printer, printerName,
                                       installlog::LogKind::Driver, {ConfigFileFullName(), {}, {}, {}});
}

void RegisterDownloadFiles(HANDLE printer, const std::string& printerName)
{
    const fontfiles::PrinterFiles files = fontfiles::PrinterFontFiles(printer);
    for (const std::string* file : {&files.fontList, &files.metricList, &files.fontCache})
        if (!file->empty())
            installlog::RegisterWithInstallLog(printer, printerName, installlog::LogKind::Printer, {*file, {}, {}, {}});
}

// Under the event lock: the update, the font values, the devmode. Whether the devmode was built.
bool SetUpPrinter(HANDLE printer, const std::string& printerName, bool mayShowBox)
{
    const EventLockHeld lock;
    UpdateConfigFile(printer, printerName, mayShowBox);
    CopyFontValues(printer);
    return CreateDefaultDevmode(printer);
}

}  // namespace

BOOL PrinterEvent(const wchar_t* printerName, int event, DWORD flags, LPARAM)
{
    const OpenedPrinter printer(printerName, PrinterAccess::FullElseDefault);
    if (!printer.get()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool silent = TakeSilentInstall(SpoolerPrinterName(printer.get()));
    const bool mayShowBox = (flags & PRINTER_EVENT_FLAG_NO_UI) == 0;
    const std::string narrowName = NarrowText(printerName);

    switch (event) {
    case PRINTER_EVENT_ADD_CONNECTION:
        TouchDeviceContext(printerName);
        {
            const EventLockHeld lock;
            UpdateConfigFile(printer.get(), narrowName, mayShowBox);
        }
        RunPostInstall(printerName, PortList(printer.get()), silent);
        RegisterConfigFile(printer.get(), narrowName);
        return TRUE;
    case PRINTER_EVENT_INITIALIZE:
        if (!SetUpPrinter(printer.get(), narrowName, mayShowBox))
            return FALSE;
        RunPostInstall(printerName, PortList(printer.get()), silent);
        RegisterConfigFile(printer.get(), narrowName);
        RegisterDownloadFiles(printer.get(), narrowName);
        TouchDeviceContext(printerName);
        return TRUE;
    case PRINTER_EVENT_DELETE: {
        const EventLockHeld lock;
        CleanUpDeletedPrinter(printer.get());
        return TRUE;
    }
    case PRINTER_EVENT_CACHE_REFRESH:
        TouchDeviceContext(printerName);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL UpgradePrinter(DWORD level, const BYTE* info)
{
    const auto* upgrade = reinterpret_cast<const DRIVER_UPGRADE_INFO_1*>(info);
    if (level != 1 || !upgrade || !upgrade->pPrinterName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const OpenedPrinter printer(upgrade->pPrinterName, PrinterAccess::FullElseDefault);
    if (!printer.get())
        return FALSE;
    // Called by the spooler: the notice route keeps boxes out of a process without a desktop.
    return SetUpPrinter(printer.get(), NarrowText(upgrade->pPrinterName), true);
}

}  // namespace events
