// The driver library's hot entry points against their floor, on a printer of each model in the
// spooler: DrvConvertDevMode (CDM_CONVERT) against a bare devmode copy with its checksum; the
// no-prompt DrvDocumentProperties and DrvDeviceCapabilities against one read of the stored
// current devmode plus a copy. For the capabilities calls, also how many libraries and printer
// values each call loads and reads.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "ImportCounter.h"
#include "PageBench.h"
#include "TestSupport.h"

namespace {

using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using PropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using CapabilitiesFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);

constexpr int kRepetitions = 201;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The floor of a devmode request: one read of the stored devmode and a copy of it.
double Floor(HANDLE printer)
{
    devmode::Buffer stored{}, copy{};
    return bench::MedianMicros(kRepetitions, [&] {
        DWORD type = 0, needed = 0;
        GetPrinterDataW(printer, const_cast<LPWSTR>(L"CurrentDevmode"), &type, stored.data(), DWORD(stored.size()),
                        &needed);
        copy = stored;
    });
}

}  // namespace

int main()
{
    HMODULE library = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str());
    if (!library) {
        std::printf("QVTDX5DA.DLL did not load\n");
        return 1;
    }
    const int counted = bench::CountImports(library);
    auto convert = reinterpret_cast<ConvertFn>(GetProcAddress(library, "DrvConvertDevMode"));
    auto properties = reinterpret_cast<PropertiesFn>(GetProcAddress(library, "DrvDocumentProperties"));
    auto capabilities = reinterpret_cast<CapabilitiesFn>(GetProcAddress(library, "DrvDeviceCapabilities"));
    std::printf("Driver entry points against their floor (median of %d calls; %d imports counted)\n", kRepetitions,
                counted);

    for (const char* model : {"Qelbrin QV-5 PCL", "Qelbrin QV-5n PCL", "Qelbrin QV-5c PCL"}) {
        const std::string printerName = std::string("QV bench ") + model;
        if (!qvtest::InstallTestDriver(model) || !qvtest::AddTestPrinter(printerName, model)) {
            std::printf("%s: the printer could not be added\n", model);
            continue;
        }
        std::wstring name = Wide(printerName);
        HANDLE printer = nullptr;
        OpenPrinterW(name.data(), &printer, nullptr);
        std::printf("-- %s\n", model);

        devmode::Buffer current{}, out{};
        LONG size = LONG(current.size());
        convert(name.data(), nullptr, reinterpret_cast<DEVMODEW*>(current.data()), &size, CDM_DRIVER_DEFAULT);
        // The output states its layout, as a caller's buffer does.
        out = current;
        int failures = 0;
        const double convertTime = bench::MedianMicros(kRepetitions, [&] {
            LONG n = LONG(out.size());
            failures += !convert(name.data(), reinterpret_cast<DEVMODEW*>(current.data()),
                                 reinterpret_cast<DEVMODEW*>(out.data()), &n, CDM_CONVERT);
        });
        if (failures)
            std::printf("DrvConvertDevMode failed %d times\n", failures);
        const double copyTime = bench::MedianMicros(kRepetitions, [&] {
            out = current;
            devmode::UpdateChecksum(out);
        });
        bench::Report("DrvConvertDevMode CDM_CONVERT", convertTime, "copy + checksum", copyTime);

        const double floor = Floor(printer);
        const double propertiesTime = bench::MedianMicros(kRepetitions, [&] {
            properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_COPY);
        });
        bench::Report("DrvDocumentProperties DM_COPY", propertiesTime, "read CurrentDevmode + copy", floor);

        if (!capabilities) {
            std::printf("DrvDeviceCapabilities: not exported yet\n");
        } else {
            struct Index {
                const char* name;
                WORD index;
                size_t itemBytes;
            };
            const Index indexes[] = {{"DC_PAPERS", DC_PAPERS, 2}, {"DC_PAPERNAMES", DC_PAPERNAMES, 128},
                                     {"DC_BINS", DC_BINS, 2}};
            for (const Index& i : indexes) {
                const DWORD count = capabilities(printer, name.data(), i.index, nullptr, nullptr);
                std::vector<BYTE> buffer((count == DWORD(-1) ? 0 : count) * i.itemBytes + 16);
                bench::g_counts = {};
                const double t = bench::MedianMicros(kRepetitions, [&] {
                    capabilities(printer, name.data(), i.index, buffer.data(), nullptr);
                });
                const double loads = double(bench::g_counts.libraryLoads) / kRepetitions;
                const double reads = double(bench::g_counts.printerValueReads) / kRepetitions;
                bench::Report(std::string("DrvDeviceCapabilities ") + i.name, t, "read CurrentDevmode + copy", floor);
                std::printf("    per call: %.2f library loads, %.2f printer-value reads\n", loads, reads);
            }
        }
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    bench::RunPageEvents(library);
    FreeLibrary(library);
    return 0;
}
