// The driver library's hot entry points against their floor, on a printer of each model in the
// spooler:
// - DrvConvertDevMode (CDM_CONVERT) against a bare devmode copy with its checksum;
// - a print dialog's run of capability queries, replayed as the platform's dialogs make them
//   (PrintDialogQueries.h: no printer handle, the device name, the dialog's devmode), per query,
//   against the floor of a devmode request: one read of the stored current devmode plus a copy;
// - the no-prompt DrvDocumentProperties and single DrvDeviceCapabilities calls on an opened
//   printer, against the same floor.
// Each figure and its floor are measured in turns. For the capability queries also the libraries
// loaded and printer values read per query (counted through the library's import table), and
// for each entry point where its time goes.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "ImportProfile.h"
#include "PageBench.h"
#include "PrintDialogQueries.h"
#include "TestSupport.h"

namespace {

using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using PropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using CapabilitiesFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);

constexpr int kRepetitions = 201;
constexpr int kProfiledCalls = 51;
constexpr char kFloorName[] = "read CurrentDevmode + copy";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The floor of a devmode request: one read of the stored devmode and a copy of it.
struct Floor {
    HANDLE printer;
    devmode::Buffer stored{}, copy{};
    void operator()()
    {
        DWORD type = 0, needed = 0;
        GetPrinterDataW(printer, const_cast<LPWSTR>(L"CurrentDevmode"), &type, stored.data(), DWORD(stored.size()),
                        &needed);
        copy = stored;
    }
};

// The mean profile of a number of calls, their total timed around them.
template <class Work>
void Profile(Work work, long callsPerWork = 1)
{
    const bench::ImportSnapshot before = bench::ImportSnapshot::Take();
    double total = 0;
    {
        const bench::ImportTiming timing;
        total = bench::MedianMicros(1, [&] {
            for (int i = 0; i < kProfiledCalls; ++i)
                work();
        });
    }
    bench::PrintProfile(bench::ImportSnapshot::Take().Since(before), kProfiledCalls * callsPerWork, total);
}

// Per query: the libraries loaded and the printer values read while the work ran `calls` queries.
template <class Work>
void CountPerQuery(Work work, int calls)
{
    const bench::ImportSnapshot before = bench::ImportSnapshot::Take();
    work();
    const bench::ImportSnapshot counted = bench::ImportSnapshot::Take().Since(before);
    std::printf("    per query: %.2f library loads, %.2f printer-value reads\n",
                double(counted.LibraryLoads()) / calls, double(counted.PrinterValueReads()) / calls);
}

// One dialog's queries, as the dialog makes them.
struct DialogReplay {
    CapabilitiesFn capabilities;
    std::wstring device;
    devmode::Buffer devmode;
    std::vector<BYTE> output = std::vector<BYTE>(64 * 1024);
    std::span<const bench::DialogQuery> queries;
    int failures = 0;
    void operator()()
    {
        for (const bench::DialogQuery& q : queries)
            failures += capabilities(nullptr, device.data(), q.index, q.output ? output.data() : nullptr,
                                     reinterpret_cast<DEVMODEW*>(devmode.data())) == DWORD(-1);
    }
};

void ReplayDialog(const char* what, DialogReplay replay, Floor& floor)
{
    const int n = int(replay.queries.size());
    const double first = bench::MedianMicros(1, replay);
    const bench::Paired t = bench::MedianPair(kRepetitions, replay, floor);
    char line[96];
    std::snprintf(line, sizeof line, "%s, %d queries, per query", what, n);
    bench::Report(line, t.micros / n, kFloorName, t.baseMicros);
    std::printf("    the first run (nothing kept yet): %.1f us per query\n", first / n);
    CountPerQuery([&] {
        for (int i = 0; i < 20; ++i)
            replay();
    }, 20 * n);
    if (replay.failures)
        std::printf("    %d queries failed\n", replay.failures);
    Profile(replay, n);
}

}  // namespace

int main()
{
    HMODULE library = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str());
    if (!library) {
        std::printf("QVTDX5DA.DLL did not load\n");
        return 1;
    }
    const int profiled = bench::ProfileImports(library);
    auto convert = reinterpret_cast<ConvertFn>(GetProcAddress(library, "DrvConvertDevMode"));
    auto properties = reinterpret_cast<PropertiesFn>(GetProcAddress(library, "DrvDocumentProperties"));
    auto capabilities = reinterpret_cast<CapabilitiesFn>(GetProcAddress(library, "DrvDeviceCapabilities"));
    std::printf("Driver entry points against their floor (median of %d calls, each in turn with its floor; %d "
                "imports profiled)\n",
                kRepetitions, profiled);

    for (const char* model : {"Qelbrin QV-5 PCL", "Qelbrin QV-5n PCL", "Qelbrin QV-5c PCL"}) {
        const std::string printerName = std::string("QV bench ") + model;
        if (!qvtest::InstallTestDriver(model) || !qvtest::AddTestPrinter(printerName, model)) {
            std::printf("%s: the printer could not be added\n", model);
            continue;
        }
        std::wstring name = Wide(printerName);
        HANDLE printer = nullptr;
        OpenPrinterW(name.data(), &printer, nullptr);
        Floor floor{printer};
        std::printf("-- %s\n", model);

        devmode::Buffer current{}, out{};
        LONG size = LONG(current.size());
        convert(name.data(), nullptr, reinterpret_cast<DEVMODEW*>(current.data()), &size, CDM_DRIVER_DEFAULT);
        // The output states its layout, as a caller's buffer does.
        out = current;
        int failures = 0;
        const bench::Paired conversion = bench::MedianPair(
            kRepetitions,
            [&] {
                LONG n = LONG(out.size());
                failures += !convert(name.data(), reinterpret_cast<DEVMODEW*>(current.data()),
                                     reinterpret_cast<DEVMODEW*>(out.data()), &n, CDM_CONVERT);
            },
            [&] {
                out = current;
                devmode::UpdateChecksum(out);
            });
        if (failures)
            std::printf("DrvConvertDevMode failed %d times\n", failures);
        bench::Report("DrvConvertDevMode CDM_CONVERT", conversion.micros, "copy + checksum", conversion.baseMicros);

        ReplayDialog("Print Setup dialog", {capabilities, name, current, {}, bench::kPrintSetupQueries}, floor);
        ReplayDialog("Page Setup dialog", {capabilities, name, current, {}, bench::kPageSetupQueries}, floor);

        const auto documentProperties = [&] {
            properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_COPY);
        };
        const bench::Paired props = bench::MedianPair(kRepetitions, documentProperties, floor);
        bench::Report("DrvDocumentProperties DM_COPY", props.micros, kFloorName, props.baseMicros);
        Profile(documentProperties);

        struct Index {
            const char* name;
            WORD index;
        };
        for (const Index& i : {Index{"DC_PAPERS", DC_PAPERS}, Index{"DC_PAPERNAMES", DC_PAPERNAMES},
                               Index{"DC_BINS", DC_BINS}}) {
            std::vector<BYTE> buffer(64 * 1024);
            const auto query = [&] { capabilities(printer, name.data(), i.index, buffer.data(), nullptr); };
            const bench::Paired t = bench::MedianPair(kRepetitions, query, floor);
            bench::Report(std::string("DrvDeviceCapabilities ") + i.name + ", opened", t.micros, kFloorName,
                          t.baseMicros);
            CountPerQuery([&] {
                for (int k = 0; k < 20; ++k)
                    query();
            }, 20);
            if (i.index == DC_PAPERS)
                Profile(query);
        }
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    bench::RunPageEvents(library);
    FreeLibrary(library);
    return 0;
}
