#include "Rename.h"

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "EventLock.h"
#include "InstallLog.h"
#include "PrinterAccess.h"

namespace events {
namespace {

constexpr char kUserPrinters[] = "Software\\Qelbrin\\Printers\\";
constexpr char kSpoolerPrinters[] = "System\\CurrentControlSet\\control\\print\\printers\\";
constexpr char kDriverData[] = "PrinterDriverData";

std::optional<std::string> BoundedName(const char* name)
{
    if (!name)
        return std::nullopt;
    const std::size_t n = strnlen(name, kRenameNameBytes);
    if (n == 0 || n >= kRenameNameBytes)
        return std::nullopt;
    std::string text(name, n);
    if (text.find('\\') != std::string::npos)
        return std::nullopt;
    return text;
}

class Key {
public:
    Key() = default;
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    bool Open(HKEY root, const std::string& path, REGSAM access)
    {
        return RegOpenKeyExA(root, path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
    }
    bool Create(HKEY root, const std::string& path)
    {
        return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) ==
               ERROR_SUCCESS;
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Copies every value (name, type, data); each value copied is reported by name.
void CopyValues(HKEY from, HKEY to, const std::function<void(const std::string&)>& copied)
{
    DWORD count = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyA(from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<char> name(longestName + 1);
    std::vector<BYTE> data(largestData + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = DWORD(name.size()), dataSize = DWORD(data.size()), type = 0;
        if (RegEnumValueA(from, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            continue;
        const std::string valueName(name.data(), nameLength);
        if (RegSetValueExA(to, valueName.c_str(), 0, type, data.data(), dataSize) == ERROR_SUCCESS)
            copied(valueName);
    }
}

bool MoveUserSettings(const std::string& oldName, const std::string& newName)
{
    const std::string newPath = kUserPrinters + newName;
    bool moved = false;
    {
        Key from, to;
        if (!from.Open(HKEY_CURRENT_USER, kUserPrinters + oldName, KEY_READ) || !to.Create(HKEY_CURRENT_USER, newPath))
            return false;
        const OpenedPrinter printer(newName.c_str(), PrinterAccess::Default);
        bool any = false;
        CopyValues(from.get(), to.get(), [&](const std::string& value) {
            any = true;
            installlog::RegisterWithInstallLog(printer.get(), newName,
                                               installlog::LogKind::Printer, {{}, "hkcu", newPath, value});
        });
        if (any)
            installlog::RegisterWithInstallLog(printer.get(), newName,
                                               installlog::LogKind::Printer, {{}, "hkcu", newPath, {}});
        moved = true;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, (kUserPrinters + oldName).c_str());
    return moved;
}

// Data goes only to a printer the spooler has: a key made here would be a printer of nobody's.
bool SpoolerHasPrinter(const std::string& name)
{
    Key printer;
    return printer.Open(HKEY_LOCAL_MACHINE, kSpoolerPrinters + name, KEY_READ);
}

bool CopyDriverData(const std::string& oldName, const std::string& newName)
{
    Key printer, to, from;
    if (!printer.Open(HKEY_LOCAL_MACHINE, kSpoolerPrinters + newName, KEY_CREATE_SUB_KEY) ||
        !to.Create(printer.get(), kDriverData) ||
        !from.Open(HKEY_LOCAL_MACHINE, kSpoolerPrinters + oldName + "\\" + kDriverData, KEY_READ))
        return false;
    CopyValues(from.get(), to.get(), [](const std::string&) {});
    return true;
}

}  // namespace

BOOL RenamePrinterData(const RenameRecord* record)
{
    if (!record)
        return FALSE;
    const std::optional<std::string> oldName = BoundedName(record->oldName);
    const std::optional<std::string> newName = BoundedName(record->newName);
    if (!oldName || !newName)
        return FALSE;
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, oldName->data(), int(oldName->size()), newName->data(),
                       int(newName->size())) == CSTR_EQUAL)
        return TRUE;
    if (!SpoolerHasPrinter(*newName))
        return FALSE;
    const EventLockHeld lock;
    const bool user = MoveUserSettings(*oldName, *newName);
    const bool data = CopyDriverData(*oldName, *newName);
    return user && data;
}

}  // namespace events
