// The per-page document events of the driver library (start and end of a page) against the budget
// of a page at 60 pages a minute: 1% of a second, 10 ms. On a printer of each model, on Wine's own
// device context of it: through Wine's path (no escape of ours is supported there) and with the
// scripted rendering driver answering the escapes (a later page without a watermark, a later page
// with one drawn, and the first page with its stamping). Per page, the libraries loaded and the
// printer values read are counted as the driver-entry benchmark counts them. Run by driver_bench.
#include "PageBench.h"

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "DevmodeLayout.h"
#include "ImportProfile.h"
#include "ImportRedirect.h"
#include "ListRecords.h"
#include "RecordList.h"
#include "TestSupport.h"

namespace {

using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
using ScriptFn = void(WINAPI*)(const char*);
using HoldFn = void(WINAPI*)(const void*, int);

constexpr int kRepetitions = 201;
constexpr double kPageBudgetMicros = 1e6 / 100;  // 1% of a second
constexpr char kBudget[] = "budget: 1% of a page at 60 ppm";

constexpr char kLaterPage[] =
    "supports 5000 5001 5002 5003 5004 5005 5006 5007 5012 5013 5015\npage 600 0 0 4800 6600\n";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool StoreWatermark(HANDLE printer)
{
    recordlist::Watermark w;
    w.number = 3;
    w.name = "Draft";
    w.text = "DRAFT";
    LOGFONTA font{};
    font.lfHeight = -2880;
    font.lfEscapement = 450;
    lstrcpyA(font.lfFaceName, "Arial");
    std::memcpy(w.layout.data(), &font, sizeof font);
    w.words[0] = 60;
    recordlist::RecordList list;
    recordlist::AppendWatermark(list, w);
    return SetPrinterDataA(printer, const_cast<char*>("Watermark"), REG_BINARY, const_cast<BYTE*>(list.Bytes().data()),
                           DWORD(list.Bytes().size())) == ERROR_SUCCESS;
}

struct Page {
    DocumentEventFn event;
    HANDLE printer;
    HDC dc;
    int Run() const
    {
        return event(printer, dc, DOCUMENTEVENT_STARTPAGE, 0, nullptr, 0, nullptr) +
               event(printer, dc, DOCUMENTEVENT_ENDPAGE, 0, nullptr, 0, nullptr);
    }
};

// The median per page of the two events, the job's state set up before each page untimed.
double PerPage(const Page& page, const std::function<void()>& setUp, double& loads, double& reads)
{
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    long loadSum = 0, readSum = 0;
    int failures = 0;
    for (int i = 0; i < kRepetitions; ++i) {
        // What the set-up loads and reads is not the page's.
        if (setUp)
            setUp();
        const bench::ImportSnapshot before = bench::ImportSnapshot::Take();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        failures += page.Run() != 2;
        QueryPerformanceCounter(&end);
        const bench::ImportSnapshot during = bench::ImportSnapshot::Take().Since(before);
        loadSum += during.LibraryLoads();
        readSum += during.PrinterValueReads();
        times.push_back(double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart));
    }
    if (failures)
        std::printf("    %d pages answered other than 1\n", failures);
    loads = double(loadSum) / kRepetitions;
    reads = double(readSum) / kRepetitions;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Line(const char* what, double micros, double loads, double reads)
{
    bench::Report(what, micros, kBudget, kPageBudgetMicros);
    std::printf("    per page: %.2f library loads, %.2f printer-value reads\n", loads, reads);
}

}  // namespace

namespace bench {

int RunPageEvents(HMODULE library)
{
    HMODULE renderer = LoadLibraryA((qvtest::BinDir() + "\\qvfakerender.dll").c_str());
    auto event = reinterpret_cast<DocumentEventFn>(GetProcAddress(library, "DrvDocumentEvent"));
    void* fakeEscape = reinterpret_cast<void*>(GetProcAddress(renderer, "FakeExtEscape"));
    auto script = reinterpret_cast<ScriptFn>(GetProcAddress(renderer, "FakeRendererScript"));
    auto hold = reinterpret_cast<HoldFn>(GetProcAddress(renderer, "FakeRendererHold"));
    std::printf("\nPer-page document events against the budget of a page at 60 ppm (median of %d pages)\n",
                kRepetitions);
    if (!event || !fakeEscape || !script || !hold) {
        std::printf("DrvDocumentEvent or the fake rendering driver is missing\n");
        return 1;
    }

    for (const char* model : {"Qelbrin QV-5 PCL", "Qelbrin QV-5n PCL", "Qelbrin QV-5c PCL"}) {
        const std::string printerName = std::string("QV bench pages ") + model;
        if (!qvtest::InstallTestDriver(model) || !qvtest::AddTestPrinter(printerName, model)) {
            std::printf("%s: the printer could not be added\n", model);
            continue;
        }
        std::printf("-- %s\n", model);
        std::wstring name = Wide(printerName);
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        OpenPrinterW(name.data(), &printer, &all);
        StoreWatermark(printer);
        HDC dc = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
        const std::string output = bench::TempPath("qv-bench-pages.prn");
        DOCINFOA info{sizeof info, "Bench pages", output.c_str(), nullptr, 0};
        StartDocA(dc, &info);
        const Page page{event, printer, dc};

        // The devmode a job of the printer carries, with watermark 3 on every page.
        std::vector<std::uint8_t> job(devmode::kSize);
        {
            using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
            auto convert = reinterpret_cast<ConvertFn>(GetProcAddress(library, "DrvConvertDevMode"));
            LONG size = LONG(job.size());
            convert(name.data(), nullptr, reinterpret_cast<PDEVMODEW>(job.data()), &size, 4);
        }
        std::vector<std::uint8_t> withWatermark = job;
        withWatermark[673] = withWatermark[674] = 3;
        std::vector<std::uint8_t> noWatermark = job;
        noWatermark[673] = noWatermark[674] = 0;

        double loads = 0, reads = 0;
        const double real = PerPage(page, nullptr, loads, reads);
        Line("Wine's path: start + end of page", real, loads, reads);

        void* gdiEscape = qvtest::RedirectImport(library, "ExtEscape", fakeEscape);
        // Later pages: the job state says a page has passed, so only the watermarks are asked.
        const auto later = [&](const std::vector<std::uint8_t>& d) {
            return [&, d] {
                script(kLaterPage);
                hold(d.data(), int(d.size()));
                page.event(printer, dc, DOCUMENTEVENT_ENDPAGE, 0, nullptr, 0, nullptr);  // one page has ended
            };
        };
        const double plain = PerPage(page, later(noWatermark), loads, reads);
        Line("later page, no watermark", plain, loads, reads);
        const double drawn = PerPage(page, later(withWatermark), loads, reads);
        Line("later page, a watermark drawn", drawn, loads, reads);
        const double first = PerPage(
            page,
            [&] {
                script(kLaterPage);
                hold(noWatermark.data(), int(noWatermark.size()));
            },
            loads, reads);
        Line("first page: stamping and settings", first, loads, reads);
        qvtest::RedirectImport(library, "ExtEscape", gdiEscape);

        EndDoc(dc);
        DeleteDC(dc);
        DeleteFileA(output.c_str());
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    FreeLibrary(renderer);
    return 0;
}

}  // namespace bench
