// The sheet start against the devmode build it starts from, on a printer of each model in the
// spooler: DrvDocumentPropertySheets INIT and DESTROY (context, defaults, feature blocks, the test
// dialog library's one page, the close) against the no-prompt DrvDocumentProperties (the
// context's devmode alone); and, byte level, the feature block builder against the default
// builder over the family's resources.
#include <windows.h>
#include <winspool.h>

#include <compstui.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "DefaultDevmode.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "FeatureBlock.h"
#include "ModelData.h"
#include "TestSupport.h"

namespace {

using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using PropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using Bytes = std::vector<std::uint8_t>;

constexpr int kRepetitions = 101;
constexpr int kCoreRepetitions = 2001;

class Family final : public devmode::ModelResources {
public:
    Family()
    {
        model::family::ForEachFamilyResource([this](int type, int name, Bytes b) { map_[{type, name}] = std::move(b); });
    }
    std::span<const std::uint8_t> Resource(int type, int name) const override
    {
        const auto it = map_.find({type, name});
        return it == map_.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }

private:
    std::map<std::pair<int, int>, Bytes> map_;
};

LONG_PTR CALLBACK Service(HANDLE, UINT function, LPARAM, LPARAM)
{
    return function == CPSFUNC_ADD_PROPSHEETPAGEW ? 1 : 0;
}

void CoreFigures()
{
    const Family family;
    std::printf("Feature block builder against the default builder (median of %d, byte level)\n", kCoreRepetitions);
    for (const auto& m : model::family::kModels) {
        Bytes description;
        model::AppendRecord(description, m.description);
        devmode::Buffer d{};
        devmode::SetText(d, devmode::kModelName, m.name);
        devmode::DefaultsInput in;
        in.displayName = m.name;
        in.description = description;
        in.codePage = 1252;
        in.name = m.name;
        in.codePageSupported = [](std::uint16_t cp) { return cp == 1252; };
        const double defaults = bench::MedianMicros(kCoreRepetitions, [&] { devmode::BuildDefaultDevmode(d, in, family); });

        const auto items = feature::ReadLayout(family.Selected(model::kFeatureLayoutType, m.description.featureLayout));
        Bytes block(items ? feature::BlockSize(*items) : 0);
        feature::BuildSource source;
        source.working = d;
        source.defaults = d;
        source.resources = &family;
        source.userName = "bench";
        const double build = bench::MedianMicros(kCoreRepetitions, [&] {
            if (items)
                feature::BuildBlock(block, *items, source);
        });
        bench::Report(std::string(m.name) + " block (" + std::to_string(block.size()) + " bytes)", build,
                      "default devmode", defaults);
    }
}

}  // namespace

int main()
{
    CoreFigures();

    // A copy of the library with the test dialog library beside it, as the spooler's driver
    // directory would hold the real one.
    qvtest::TempDir dir;
    const std::string bin = qvtest::BinDir();
    for (const char* name : {"QVTDX5DA.DLL", "QVTDX5BT.DLL", "QVTDX5B1.DLL"})
        CopyFileA((bin + "\\" + name).c_str(), dir.File(name).c_str(), FALSE);
    CopyFileA((bin + "\\..\\testdialogs\\QVTDX5DU.DLL").c_str(), dir.File("QVTDX5DU.DLL").c_str(), FALSE);
    HMODULE library = LoadLibraryA(dir.File("QVTDX5DA.DLL").c_str());
    if (!library) {
        std::printf("QVTDX5DA.DLL did not load\n");
        return 1;
    }
    const auto sheets = reinterpret_cast<SheetsFn>(GetProcAddress(library, "DrvDocumentPropertySheets"));
    const auto properties = reinterpret_cast<PropertiesFn>(GetProcAddress(library, "DrvDocumentProperties"));
    std::printf("Sheet start and close against the devmode build (median of %d)\n", kRepetitions);
    for (const auto& m : model::family::kModels) {
        const std::string model(m.name);
        const std::string printerName = "QV bench sheet " + model;
        if (!qvtest::InstallTestDriver(model) || !qvtest::AddTestPrinter(printerName, model)) {
            std::printf("%s: the printer could not be added\n", model.c_str());
            continue;
        }
        std::wstring name(printerName.begin(), printerName.end());
        HANDLE printer = nullptr;
        OpenPrinterW(name.data(), &printer, nullptr);
        devmode::Buffer out{};
        const double build = bench::MedianMicros(kRepetitions, [&] {
            properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_COPY);
        });

        DOCUMENTPROPERTYHEADER header{};
        header.cbSize = sizeof header;
        header.hPrinter = printer;
        header.pszPrinterName = name.data();
        header.pdmOut = reinterpret_cast<DEVMODEW*>(out.data());
        header.fMode = DM_COPY;
        int failures = 0;
        const double start = bench::MedianMicros(kRepetitions, [&] {
            PROPSHEETUI_INFO info{};
            info.cbSize = sizeof info;
            info.pfnComPropSheet = reinterpret_cast<PFNCOMPROPSHEET>(Service);
            info.lParamInit = LPARAM(&header);
            info.Reason = PROPSHEETUI_REASON_INIT;
            failures += sheets(&info, 0) != 1;
            info.Reason = PROPSHEETUI_REASON_DESTROY;
            sheets(&info, 0);
        });
        if (failures)
            std::printf("the sheet failed to start %d times\n", failures);
        bench::Report(model + " INIT + DESTROY", start, "DrvDocumentProperties DM_COPY", build);
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    FreeLibrary(library);
    return 0;
}
