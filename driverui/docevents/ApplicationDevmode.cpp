#include "ApplicationDevmode.h"

#include <winspool.h>

#include <span>
#include <vector>

#include "ConfigStore.h"
#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "EscapeReplies.h"
#include "JobDevmode.h"
#include "Library.h"
#include "ModelResources.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace docevents {
namespace {

// The printer by name with full access; after a refusal, with an all-zero defaults record.
HANDLE OpenForWriting(LPWSTR name)
{
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(name, &h, &all))
        return h;
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr;
    PRINTER_DEFAULTSW none{};
    return OpenPrinterW(name, &h, &none) ? h : nullptr;
}

}  // namespace

int ApplicationEscape(HANDLE printer, const DOCEVENT_ESCAPE* escape)
{
    if (!escape || escape->iEscape != kApplicationDevmode || escape->cjInput < int(devmode::kSize) ||
        !escape->pvInData)
        return 1;
    const std::span<const std::uint8_t> input(static_cast<const std::uint8_t*>(escape->pvInData), devmode::kSize);
    if (!AcceptsApplicationDevmode(input))
        return 1;
    std::vector<BYTE> info = PrinterInfo(printer, 5, sizeof(PRINTER_INFO_5W));
    if (info.empty())
        return 1;
    const HANDLE opened = OpenForWriting(reinterpret_cast<PRINTER_INFO_5W*>(info.data())->pPrinterName);
    if (!opened)
        return 1;
    devmode::Buffer d{};
    if (devmode::BuildCurrentDevmode(opened, d, nullptr) && devmode::MergeOver(d, input)) {
        devmode::UpdateChecksum(d);
        QelSetPrinterDataW(opened, const_cast<LPWSTR>(devmode::kCurrentDevmodeValue), REG_BINARY, d.data(),
                           DWORD(d.size()));
        model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), d);
        StoreConfigData(opened, kDefDrvCfgDataValue, d, &env);
    }
    ClosePrinter(opened);
    return 1;
}

}  // namespace docevents
