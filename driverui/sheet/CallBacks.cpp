#include "CallBacks.h"

#include <compstui.h>

#include <algorithm>
#include <cstring>

#include "ConfigRequests.h"
#include "ConfigStore.h"
#include "ContextBuilder.h"
#include "DevmodeLayout.h"
#include "FeatureSheet.h"
#include "PrinterConfig.h"
#include "SheetCalls.h"
#include "SpoolLock.h"

namespace sheet {
namespace {

std::span<std::uint8_t> Working(SheetContext* c)
{
    return {c->workingDevmode, devmode::kSize};
}

void WriteSoftwareEnable(SheetContext* c, BYTE value)
{
    QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(kSWEnableValue), REG_BINARY, &value, 1);
}

// 22: the tray word of the printer configuration block from the working devmode.
void UpdateTray(SheetContext* c)
{
    PrinterConfigBlock block;
    std::copy(std::begin(c->printerConfig), std::end(c->printerConfig), block.begin());
    UpdateTrayWord(block, Working(c));
    std::copy(block.begin(), block.end(), c->printerConfig);
}

// 24: the pages applied. The printer configuration and the status-window switch are stored now;
// the devmode is saved when the sheet closes.
void Commit(SheetContext* c)
{
    if (c->modelFamily != model::kNoFamily)
        StorePrinterConfig(c);
    if (const auto* e86 = static_cast<const std::uint8_t*>(c->featureEntries[feature::kStatusWindow.id]))
        WriteSoftwareEnable(c, e86[feature::kCurrent]);
    c->sheetResult = 1;
    c->devmodeChanged = 1;
    if (const auto service = reinterpret_cast<PFNCOMPROPSHEET>(c->sheetService))
        service(c->sheetServiceHandle, CPSFUNC_SET_RESULT, LPARAM(c->sheetServiceHandle), CPSUI_OK);
}

// 26 to 33: the configurations page's requests on the working devmode.
WORD Configuration(SheetContext* c, SheetState& state, DWORD type, void* data, WORD* result)
{
    profiles::ConfigTarget target;
    target.devmode = Working(c);
    target.printer = c->printer;
    target.printerName = c->printerNameA ? c->printerNameA : "";
    target.writeEntries = [c](std::span<std::uint8_t> d) { WriteBackEntries(c, d); };
    target.loadEntries = [c, &state](std::span<const std::uint8_t>) { ReloadFeatureEntries(c, state); };
    target.changeCount = &c->changeCount;
    profiles::ConfigEnumProc callback = nullptr;
    void* argument = nullptr;
    if (type == kCbEnumConfigs && result) {
        // The listing's callback rides in the result block, after the result word.
        const auto* enumTarget = reinterpret_cast<const ConfigEnumTarget*>(result);
        callback = reinterpret_cast<profiles::ConfigEnumProc>(enumTarget->callback);
        argument = enumTarget->argument;
    }
    return WORD(profiles::ConfigAccess(int(type), target, static_cast<profiles::ConfigRequest*>(data), callback,
                                       argument));
}

// 36: the working devmode with the current entries, checksum updated.
WORD DevmodeCopy(SheetContext* c, void* data)
{
    if (data) {
        const std::span<std::uint8_t> out(static_cast<std::uint8_t*>(data), devmode::kSize);
        std::copy_n(c->workingDevmode, devmode::kSize, out.begin());
        WriteBackEntries(c, out);
        devmode::UpdateChecksum(out);
    }
    return WORD(devmode::kSize);
}

}  // namespace

std::string BoundedText(const char* text, std::size_t max)
{
    return text ? std::string(text, strnlen(text, max)) : std::string();
}

void PutField(char* field, std::size_t size, const std::string& text)
{
    if (!field || size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

WORD Answer(SheetContext* c, void* data, const std::vector<std::pair<std::int16_t, std::string>>& items)
{
    auto* answer = static_cast<ListAnswer*>(data);
    if (!answer)
        return 0;
    answer->numbers = nullptr;
    answer->names = nullptr;
    std::size_t nameBytes = 1;
    for (const auto& item : items)
        nameBytes += item.second.size() + 1;
    auto* numbers = static_cast<WORD*>(HeapAlloc(c->heap, HEAP_ZERO_MEMORY, std::max<std::size_t>(1, items.size()) * 2));
    auto* names = static_cast<char*>(HeapAlloc(c->heap, HEAP_ZERO_MEMORY, nameBytes));
    if (!numbers || !names) {
        if (numbers)
            HeapFree(c->heap, 0, numbers);
        if (names)
            HeapFree(c->heap, 0, names);
        return 0;
    }
    char* at = names;
    for (std::size_t i = 0; i < items.size(); ++i) {
        numbers[i] = WORD(items[i].first);
        std::memcpy(at, items[i].second.c_str(), items[i].second.size() + 1);
        at += items[i].second.size() + 1;
    }
    answer->numbers = numbers;
    answer->names = names;
    return WORD(std::min<std::size_t>(items.size(), 0xFFFF));
}

void CallBack(SheetContext* c, DWORD type, void* data, WORD* result)
{
    WORD local = 0;
    WORD* r = result ? result : &local;
    if (type > kCbLastType)
        return;
    SheetState* state = StateOf(c);
    if (!state || !IsSheetContext(c))
        return;
    *r = 0;
    switch (type) {
    case kCbEnumSpoolerForms:
    case kCbPaperInfo:
    case kCbPaperList:
    case kCbPaperFormat: *r = PaperRequest(c, type, data); return;
    case kCbTrayWord: UpdateTray(c); return;
    case kCbCommit: Commit(c); return;
    case kCbSoftwareEnable:
        // The status-window switch only: the byte is no paper request to read on as one.
        if (data)
            WriteSoftwareEnable(c, *static_cast<const BYTE*>(data));
        return;
    case kCbDevmode: *r = DevmodeCopy(c, data); return;
    default:
        if (type >= kCbFirstConfig && type <= kCbLastConfig) {
            const WORD status = Configuration(c, *state, type, data, result);
            *r = status;
            return;
        }
        *r = ListRequest(c, *state, type, data);
        return;
    }
}

LONG RefreshBlock(void* block)
{
    SheetState* state = StateOfBlock(block);
    if (!state || !IsSheetContext(state->context))
        return 0;
    SheetContext* c = state->context;
    const std::span<std::uint8_t> bytes(static_cast<std::uint8_t*>(block), c->featureBlockSize);
    feature::Refresh(bytes, RefreshModelOf(c));
    return 0;
}

}  // namespace sheet
