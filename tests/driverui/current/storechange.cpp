// Makes one change to what the spooler, the registry or the model file holds for a printer, from a
// process of its own, for the tests of answers kept between calls:
//   qvstorechange value <printer> <value> <hex bytes>     a binary printer value
//   qvstorechange dword <printer> <value> <number>        a 32-bit printer value
//   qvstorechange text <printer> <value> <text>           a text printer value (wide)
//   qvstorechange form <printer> <number> <name> <width> <length>   a user-defined form
//   qvstorechange association <printer> <number> <name>   a form association
//   qvstorechange driver <printer> <driver>               the printer's driver (SetPrinter 2)
//   qvstorechange readd <printer> <driver>                the printer deleted and added again
//   qvstorechange key <subkey> <value> <text>             a text under HKEY_LOCAL_MACHINE
//   qvstorechange ini <section> <key> <text|->            QVTDX5DD.INI, "-" removes the key
// Exit code 0, 1 when the change failed, 2 for bad arguments.
#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "PrinterList.h"
#include "TestSupport.h"

namespace {

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

int SetValue(const std::string& printer, const std::string& name, DWORD type, std::vector<BYTE> data)
{
    PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &all))
        return 1;
    std::wstring value = Wide(name);
    const DWORD result = SetPrinterDataW(h, value.data(), type, data.data(), DWORD(data.size()));
    ClosePrinter(h);
    return result == ERROR_SUCCESS ? 0 : 1;
}

std::vector<BYTE> Hex(const std::string& text)
{
    std::vector<BYTE> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(BYTE(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

int SetDriver(const std::string& printer, const std::string& driver)
{
    PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &all))
        return 1;
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    std::wstring name = Wide(driver);
    bool done = needed && GetPrinterW(h, 2, info.data(), needed, &needed);
    if (done) {
        auto* p = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        p->pDriverName = name.data();
        done = SetPrinterW(h, 2, info.data(), 0);
    }
    ClosePrinter(h);
    return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::string what = argv[1];
    const std::vector<std::string> a(argv + 2, argv + argc);
    if (what == "value" && a.size() == 3)
        return SetValue(a[0], a[1], REG_BINARY, Hex(a[2]));
    if (what == "dword" && a.size() == 3) {
        const DWORD n = DWORD(std::strtoul(a[2].c_str(), nullptr, 10));
        return SetValue(a[0], a[1], REG_DWORD, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&n),
                                                                 reinterpret_cast<const BYTE*>(&n) + 4));
    }
    if (what == "text" && a.size() == 3) {
        const std::wstring text = Wide(a[2]);
        const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        return SetValue(a[0], a[1], REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
    }
    if (what == "form" && a.size() == 5) {
        UserForm form;
        form.number = std::int16_t(std::atoi(a[1].c_str()));
        form.name = a[2];
        form.values[0] = std::uint16_t(std::atoi(a[3].c_str()));
        form.values[1] = std::uint16_t(std::atoi(a[4].c_str()));
        return AddUserForm(a[0], form) ? 0 : 1;
    }
    if (what == "association" && a.size() == 3)
        return AddNamedRecord(a[0], kFormAssociationList, std::int16_t(std::atoi(a[1].c_str())), a[2]) ? 0 : 1;
    if (what == "driver" && a.size() == 2)
        return SetDriver(a[0], a[1]);
    if (what == "readd" && a.size() == 2)
        return qvtest::DeleteTestPrinter(a[0]) && qvtest::AddTestPrinter(a[0], a[1]) ? 0 : 1;
    if (what == "key" && a.size() == 3) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, a[0].c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
            return 1;
        const LONG r = RegSetValueExA(key, a[1].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(a[2].c_str()),
                                      DWORD(a[2].size() + 1));
        RegCloseKey(key);
        return r == ERROR_SUCCESS ? 0 : 1;
    }
    if (what == "ini" && a.size() == 3)
        return WritePrivateProfileStringA(a[0].c_str(), a[1].c_str(), a[2] == "-" ? nullptr : a[2].c_str(),
                                          "QVTDX5DD.INI")
                   ? 0
                   : 1;
    return 2;
}
