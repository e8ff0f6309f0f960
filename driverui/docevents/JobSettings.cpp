#include "JobSettings.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "DevmodeLayout.h"
#include "EscapeReplies.h"
#include "JobDevmode.h"
#include "PrinterAccess.h"

namespace docevents {

std::unique_ptr<SettingsState> BuildSettingsState(HANDLE printer, std::span<const std::uint8_t> devmode)
{
    auto state = std::make_unique<SettingsState>();
    std::memset(state.get(), 0, sizeof *state);
    state->size = sizeof *state;
    state->printer = printer;
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (!info.empty()) {
        const std::string name = NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
        std::memcpy(state->printerName, name.data(), std::min(name.size(), sizeof state->printerName - 1));
    }
    const std::string_view account = devmode::GetText(devmode, kAccountId);
    std::memcpy(state->accountId, account.data(), std::min(account.size(), sizeof state->accountId - 1));
    const std::size_t n = std::min(devmode.size(), sizeof state->devmode);
    std::memcpy(state->devmode, devmode.data(), n);
    devmode::UpdateChecksum(state->devmode);
    return state;
}

void SendSettings(const RenderingDriver& driver, const SettingsState& state, bool commit)
{
    if (!driver.SendIfSupported(kSettingsData, state.devmode))
        return;
    if (commit)
        driver.SendIfSupported(kCommitSettings);
}

}  // namespace docevents
