#include "ContextBuilder.h"

#include <winspool.h>

#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelResources.h"
#include "ModelSource.h"
#include "PrinterConfig.h"
#include "Settings.h"
#include "SiblingPath.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace sheet {
namespace {

void* HeapBytes(HANDLE heap, std::size_t size)
{
    return HeapAlloc(heap, HEAP_ZERO_MEMORY, size);
}

wchar_t* HeapCopy(HANDLE heap, const wchar_t* text)
{
    const std::size_t n = text ? wcslen(text) : 0;
    auto* copy = static_cast<wchar_t*>(HeapBytes(heap, (n + 1) * sizeof(wchar_t)));
    if (copy && n)
        std::memcpy(copy, text, n * sizeof(wchar_t));
    return copy;
}

char* HeapNarrow(HANDLE heap, const wchar_t* text)
{
    const int n = text ? WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
    auto* copy = static_cast<char*>(HeapBytes(heap, std::size_t(n > 0 ? n : 1)));
    if (copy && n > 0)
        WideCharToMultiByte(CP_ACP, 0, text, -1, copy, n, nullptr, nullptr);
    return copy;
}

// The driver's help file as the spooler reports it, else QVTDX5DA.HLP beside this library.
std::wstring HelpFile(HANDLE printer)
{
    DWORD needed = 0;
    QelGetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (needed >= sizeof(DRIVER_INFO_3W)) {
        std::vector<BYTE> buffer(needed);
        if (QelGetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed)) {
            const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
            if (info->pHelpFile && *info->pHelpFile)
                return info->pHelpFile;
        }
    }
    return SiblingPathW(DriverModule(), kDefaultHelpFile);
}

std::span<std::uint8_t> Devmode(std::uint8_t* bytes)
{
    return {bytes, devmode::kSize};
}

void ReadModelLimits(SheetContext* c)
{
    const HMODULE module = DriverModule();
    const auto d = Devmode(c->workingDevmode);
    const auto limits = model::ParsePaperLimits(
        model::LoadSelectedResource(module, 279, devmode::Get(d, devmode::kPaperLimitNumber)));
    if (limits) {
        c->customPaperLimits[0] = limits->maxWidth;
        c->customPaperLimits[1] = limits->minWidth;
        c->customPaperLimits[2] = limits->maxLength;
        c->customPaperLimits[3] = limits->minLength;
    }
    const auto sets = model::ParseFontSetList(
        model::LoadSelectedResource(module, 276, devmode::Get(d, devmode::kFontSetListNumber)));
    if (sets) {
        for (const model::FontSetEntry& set : sets->entries) {
            c->fontSetMasks[0] |= set.firstMask;
            c->fontSetMasks[1] |= set.secondMask;
        }
    }
}

void ReadPrinterConfig(SheetContext* c)
{
    std::uint8_t stored[kPrinterConfigBytes] = {};
    DWORD type = 0, got = 0;
    const DWORD result = QelGetPrinterDataW(c->printer, const_cast<LPWSTR>(kPrinterConfigValue), &type, stored,
                                            sizeof stored, &got);
    std::optional<PrinterConfigBlock> block;
    if (result == ERROR_SUCCESS && got == sizeof stored)
        block = ParsePrinterConfig(stored);
    if (!block) {
        const HMODULE module = DriverModule();
        const auto d = Devmode(c->workingDevmode);
        block = DerivePrinterConfig(
            model::LoadSelectedResource(module, 277, devmode::Get(d, devmode::kInputOptionsNumber)),
            model::LoadSelectedResource(module, 278, devmode::Get(d, devmode::kOutputOptionsNumber)), d);
        std::copy(block->begin(), block->end(), c->printerConfig);
        StorePrinterConfig(c);
        return;
    }
    std::copy(block->begin(), block->end(), c->printerConfig);
}

bool CanAdminister(const wchar_t* printerName)
{
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &all))
        return false;
    ClosePrinter(printer);
    return true;
}

}  // namespace

SheetContext* CreateSheetContext(HANDLE printer, const DEVMODEW* input, std::size_t inputBytes)
{
    HANDLE heap = HeapCreate(HEAP_NO_SERIALIZE, 8192, 0);
    if (!heap)
        return nullptr;
    auto* c = static_cast<SheetContext*>(HeapBytes(heap, sizeof(SheetContext)));
    if (!c) {
        HeapDestroy(heap);
        return nullptr;
    }
    c->self = c;
    c->selfAgain = c;
    c->printer = printer;
    c->heap = heap;

    const std::vector<BYTE> info = PrinterInfo2(printer);
    const auto* p = info.empty() ? nullptr : reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    if (p) {
        c->driverName = HeapCopy(heap, p->pDriverName);
        c->printerName = HeapCopy(heap, p->pPrinterName);
        c->printerNameA = HeapNarrow(heap, p->pPrinterName);
    }
    c->workingDevmode = static_cast<std::uint8_t*>(HeapBytes(heap, kWorkDevmodeBytes));
    c->defaultsDevmode = static_cast<std::uint8_t*>(HeapBytes(heap, kWorkDevmodeBytes));
    if (!p || !c->driverName || !c->printerName || !c->printerNameA || !c->workingDevmode || !c->defaultsDevmode) {
        HeapDestroy(heap);
        return nullptr;
    }

    devmode::Buffer working{};
    if (!devmode::BuildCurrentDevmode(printer, working, c->driverName)) {
        HeapDestroy(heap);
        return nullptr;
    }
    if (input && inputBytes)
        devmode::MergeOver(working, {reinterpret_cast<const std::uint8_t*>(input), inputBytes});

    devmode::Buffer fresh{};
    devmode::BuildFreshDefaults(printer, c->driverName, c->printerName, fresh);
    devmode::CopyHardwareValues(working, fresh);
    devmode::UpdateChecksum(working);
    std::copy(working.begin(), working.end(), c->workingDevmode);
    std::copy(fresh.begin(), fresh.end(), c->defaultsDevmode);

    ReadModelLimits(c);
    c->outsideUsa = devmode::IsUsaLocale() ? 0 : 1;
    c->modelFamily = devmode::Get(working, devmode::kModelFamily);
    const std::wstring help = HelpFile(printer);
    c->helpFile = HeapCopy(heap, help.c_str());
    if (c->modelFamily < 69)
        ReadPrinterConfig(c);

    const std::uint16_t copies[] = {
        devmode::Get(working, devmode::kColourFlags), devmode::Get(working, devmode::kFontFlags),
        devmode::Get(working, devmode::kOptionFlags), devmode::Get(working, devmode::kDialogSelector),
        devmode::Get(working, devmode::kSheetWord),  devmode::Get(working, devmode::kWebModelWord),
        devmode::Get(working, devmode::kPaperSetIndex)};
    std::copy(std::begin(copies), std::end(copies), c->devmodeCopies);
    const std::string_view modelName = devmode::GetText(working, devmode::kModelName);
    std::memcpy(c->modelName, modelName.data(), std::min(modelName.size(), sizeof c->modelName - 1));
    c->module = DriverModule();
    std::strcpy(c->refreshProcName, kRefreshProcName);
    c->workBuffers[0] = static_cast<std::uint8_t*>(HeapBytes(heap, kWorkBufferBytes));
    c->workBuffers[1] = static_cast<std::uint8_t*>(HeapBytes(heap, kWorkBufferBytes));
    c->administrator = CanAdminister(c->printerName) ? 1 : 0;
    c->started = 1;
    return c;
}

void DestroySheetContext(SheetContext* context)
{
    if (IsSheetContext(context))
        HeapDestroy(context->heap);
}

bool StorePrinterConfig(SheetContext* context)
{
    PrinterConfigBlock block;
    std::copy(std::begin(context->printerConfig), std::end(context->printerConfig), block.begin());
    auto bytes = StoredPrinterConfig(block);
    return QelSetPrinterDataW(context->printer, const_cast<LPWSTR>(kPrinterConfigValue), REG_BINARY, bytes.data(),
                              DWORD(bytes.size())) == ERROR_SUCCESS;
}

}  // namespace sheet
