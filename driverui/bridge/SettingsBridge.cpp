#include "SettingsBridge.h"

#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <vector>

#include "Bridge.h"
#include "Library.h"
#include "ListRecords.h"
#include "PrinterList.h"
#include "SheetContext.h"
#include "SiblingPath.h"
#include "SpoolLock.h"

namespace bridge {
namespace {

constexpr int kDataFileAttempts = 10;

// The context's entries, each bounded by its own size.
class ContextEntries final : public Entries {
public:
    explicit ContextEntries(SheetContext* c) : c_(c) {}
    std::span<std::uint8_t> Current(int id) override { return Entry(c_->featureEntries, id); }
    std::span<const std::uint8_t> Saved(int id) override { return Entry(c_->savedFeatureEntries, id); }

private:
    static std::span<std::uint8_t> Entry(void* const* entries, int id)
    {
        if (id < 1 || id >= kFeatureSlots || !entries[id])
            return {};
        auto* e = static_cast<std::uint8_t*>(entries[id]);
        return {e, std::size_t(e[0] | e[1] << 8)};
    }
    SheetContext* c_;
};

class ContextDriver final : public Driver {
public:
    explicit ContextDriver(SheetContext* c) : c_(c) {}

    // The spooler is asked a few times: another process may hold the driver's record a moment.
    std::wstring DataFile() override
    {
        for (int attempt = 0; attempt < kDataFileAttempts; ++attempt) {
            DWORD needed = 0;
            QelGetPrinterDriverW(c_->printer, nullptr, 2, nullptr, 0, &needed);
            if (needed >= sizeof(DRIVER_INFO_2W)) {
                std::vector<BYTE> info(needed);
                if (QelGetPrinterDriverW(c_->printer, nullptr, 2, info.data(), needed, &needed)) {
                    const wchar_t* file = reinterpret_cast<const DRIVER_INFO_2W*>(info.data())->pDataFile;
                    return file ? file : L"";
                }
            }
            Sleep(DWORD(std::rand() / 10));
        }
        return {};
    }
    std::uint64_t PrinterHandle() override { return std::uintptr_t(c_->printer); }
    bool DeviceSheet() override { return c_->sheetKind == 1; }
    std::uint32_t AnsiCodePage() override { return GetACP(); }
    std::wstring ScriptPath() override { return SiblingPathW(DriverModule(), L"QVTDX5UI.JS"); }
    std::string UserName() override
    {
        char name[257];
        DWORD size = sizeof name;
        return GetUserNameA(name, &size) ? std::string(name) : std::string();
    }
    std::vector<std::pair<std::int16_t, std::wstring>> Watermarks() override
    {
        std::vector<std::pair<std::int16_t, std::wstring>> out;
        if (!c_->printerNameA)
            return out;
        std::unique_ptr<PrinterList> list = PrinterList::Open(c_->printerNameA, kWatermarkList);
        if (!list)
            return out;
        list->Discard();
        recordlist::RecordList& records = list->Records();
        for (bool more = records.Rewind(); more; more = records.Next())
            if (const std::optional<recordlist::Watermark> w = recordlist::ReadWatermark(records)) {
                const int n = MultiByteToWideChar(CP_ACP, 0, w->name.c_str(), -1, nullptr, 0);
                std::wstring wide(std::size_t(n > 0 ? n : 1), L'\0');
                if (n > 0)
                    MultiByteToWideChar(CP_ACP, 0, w->name.c_str(), -1, wide.data(), n);
                wide.resize(wide.size() - 1);
                out.emplace_back(w->number, wide);
            }
        return out;
    }

private:
    SheetContext* c_;
};

}  // namespace

std::uint32_t QV_SETTINGS_CALL SettingsCallback(settingsui::Request* request)
{
    if (!request)
        return settingsui::kInvalidArgument;
    auto* c = static_cast<SheetContext*>(request->context);
    if (!IsSheetContext(c))
        return settingsui::kFailed;
    ContextEntries entries(c);
    ContextDriver driver(c);
    const Outcome out = Handle(*request, entries, driver);
    if (out.settingsChanged)
        c->settingsChanged = *out.settingsChanged ? 1 : 0;
    return out.result;
}

}  // namespace bridge
