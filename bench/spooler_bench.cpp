// What the driver's paths are made of on this platform: the time of each spooler, registry, file
// and kernel call they make, on one printer with the values a printer of the driver carries, each
// the median of many calls, each measured in turns with the floor of a devmode request (one read
// of the stored devmode and a copy). Wine's own costs, which no driver change can lower.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "TestSupport.h"

namespace {

constexpr int kRepetitions = 301;
constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV spooler bench";

// The values a printer of the driver carries after its first sheet, with their usual sizes.
struct StoredValue {
    const wchar_t* name;
    DWORD size;
};
constexpr StoredValue kValues[] = {
    {L"CurrentDevmode", 1256}, {L"CurrentDefaultDevMode", 1256}, {L"DefDrvCfgData", 420},
    {L"PrinterConfig", 32},    {L"SWEnable", 1},                 {L"UserDefForms", 160},
    {L"UserAssocForms", 96},   {L"Watermark", 300},
};

std::function<void()> g_floor;

// One call against the floor, measured in turns.
void Line(const char* what, const std::function<void()>& work)
{
    const bench::Paired t = bench::MedianPair(kRepetitions, work, g_floor);
    bench::Report(what, t.micros, "read CurrentDevmode + copy", t.baseMicros);
}

}  // namespace

int main()
{
    if (!qvtest::InstallTestDriver(kDriver) || !qvtest::AddTestPrinter(kPrinter, kDriver)) {
        std::printf("the printer could not be added\n");
        return 1;
    }
    std::wstring name(kPrinter, kPrinter + sizeof kPrinter - 1);
    HANDLE printer = nullptr;
    OpenPrinterW(name.data(), &printer, nullptr);
    for (const StoredValue& v : kValues) {
        std::vector<BYTE> bytes(v.size, 0x5A);
        SetPrinterDataW(printer, const_cast<LPWSTR>(v.name), REG_BINARY, bytes.data(), v.size);
    }
    std::printf("Platform calls on one printer (median of %d; %zu printer values stored)\n", kRepetitions,
                std::size(kValues));

    std::vector<BYTE> stored(1256), copy(1256);
    g_floor = [&] {
        DWORD type = 0, needed = 0;
        GetPrinterDataW(printer, const_cast<LPWSTR>(L"CurrentDevmode"), &type, stored.data(), DWORD(stored.size()),
                        &needed);
        copy = stored;
    };
    Line("GetPrinterDataW CurrentDevmode + copy", g_floor);
    Line("GetPrinterDataW size query", [&] {
             DWORD type = 0, needed = 0;
             GetPrinterDataW(printer, const_cast<LPWSTR>(L"DefDrvCfgData"), &type, nullptr, 0, &needed);
         });
    Line("GetPrinterDataW of a missing value", [&] {
             DWORD type = 0, needed = 0;
             GetPrinterDataW(printer, const_cast<LPWSTR>(L"NoSuchValue"), &type, stored.data(), 4, &needed);
         });

    std::vector<BYTE> all(64 * 1024);
    DWORD enumerated = 0;
    Line("EnumPrinterDataExW, buffer large enough", [&] {
             DWORD needed = 0;
             EnumPrinterDataExW(printer, L"PrinterDriverData", all.data(), DWORD(all.size()), &needed, &enumerated);
         });
    std::printf("    (%lu values enumerated)\n", static_cast<unsigned long>(enumerated));

    std::vector<BYTE> info(8192);
    Line("GetPrinterW level 2, size query + read", [&] {
             DWORD needed = 0;
             GetPrinterW(printer, 2, nullptr, 0, &needed);
             GetPrinterW(printer, 2, info.data(), DWORD(info.size()), &needed);
         });
    Line("GetPrinterW level 2, one read", [&] {
             DWORD needed = 0;
             GetPrinterW(printer, 2, info.data(), DWORD(info.size()), &needed);
         });
    for (DWORD level : {1u, 4u, 5u, 7u, 8u, 9u}) {
        const std::string what = "GetPrinterW level " + std::to_string(level) + ", one read";
        Line(what.c_str(), [&] {
                 DWORD needed = 0;
                 GetPrinterW(printer, level, info.data(), DWORD(info.size()), &needed);
             });
    }
    Line("GetPrinterDriverW level 1, one read", [&] {
             DWORD needed = 0;
             GetPrinterDriverW(printer, nullptr, 1, info.data(), DWORD(info.size()), &needed);
         });
    Line("GetPrinterDriverW level 3, size + read", [&] {
             DWORD needed = 0;
             GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
             GetPrinterDriverW(printer, nullptr, 3, info.data(), DWORD(info.size()), &needed);
         });
    Line("OpenPrinterW + ClosePrinter", [&] {
             HANDLE h = nullptr;
             if (OpenPrinterW(name.data(), &h, nullptr))
                 ClosePrinter(h);
         });
    Line("OpenPrinterW full access + ClosePrinter", [&] {
             PRINTER_DEFAULTSW full{nullptr, nullptr, PRINTER_ALL_ACCESS};
             HANDLE h = nullptr;
             if (OpenPrinterW(name.data(), &h, &full))
                 ClosePrinter(h);
         });
    DWORD formCount = 0;
    Line("EnumFormsW level 1, size + read", [&] {
             DWORD needed = 0;
             EnumFormsW(printer, 1, nullptr, 0, &needed, &formCount);
             std::vector<BYTE> forms(needed);
             EnumFormsW(printer, 1, forms.data(), needed, &needed, &formCount);
         });
    std::printf("    (%lu forms)\n", static_cast<unsigned long>(formCount));

    Line("named mutex: create, wait, release, close", [&] {
             HANDLE m = CreateMutexW(nullptr, FALSE, L"QelBenchMutex");
             if (WaitForSingleObject(m, 200) == WAIT_OBJECT_0)
                 ReleaseMutex(m);
             CloseHandle(m);
         });
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Line("WaitForSingleObject, not signalled, 0 ms", [&] {
             WaitForSingleObject(event, 0);
         });
    CloseHandle(event);
    Line("RegOpenKeyExA of a missing HKLM key", [&] {
             HKEY key = nullptr;
             if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Qelbrin\\DrvCfg\\QV spooler bench", 0, KEY_QUERY_VALUE,
                               &key) == ERROR_SUCCESS)
                 RegCloseKey(key);
         });
    HKEY printers = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Print\\Printers\\QV spooler bench", 0,
                  KEY_NOTIFY | KEY_QUERY_VALUE, &printers);
    HANDLE changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Line("RegNotifyChangeKeyValue, subtree", [&] {
             RegNotifyChangeKeyValue(printers, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
         });
    std::printf("    armed on the printer's key: %s, signalled now: %s\n", printers ? "yes" : "no",
                WaitForSingleObject(changed, 0) == WAIT_OBJECT_0 ? "yes" : "no");
    {
        BYTE one = 1;
        SetPrinterDataW(printer, const_cast<LPWSTR>(L"SWEnable"), REG_BINARY, &one, 1);
    }
    std::printf("    after SetPrinterDataW: signalled %s\n", WaitForSingleObject(changed, 0) == WAIT_OBJECT_0 ? "yes" : "no");
    Line("RegQueryInfoKeyW", [&] {
             FILETIME t;
             DWORD values = 0;
             RegQueryInfoKeyW(printers, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, &t);
         });
    Line("GetPrivateProfileStringA, file missing", [&] {
             char text[256];
             GetPrivateProfileStringA(kDriver, "Model", kDriver, text, sizeof text, "QVTDX5DD.INI");
         });
    const std::string bin = qvtest::BinDir() + "\\QVTDX5DA.DLL";
    Line("GetFileAttributesExA", [&] {
             WIN32_FILE_ATTRIBUTE_DATA data;
             GetFileAttributesExA(bin.c_str(), GetFileExInfoStandard, &data);
         });

    ClosePrinter(printer);
    qvtest::DeleteTestPrinter(kPrinter);
    return 0;
}
