#include "ConfigStore.h"

#include <vector>

#include "SpoolLock.h"

namespace {

// The caller's environment with what only the platform knows: the system's code page when the
// caller does not say, and, for a read, the finishing step's printer value.
class SpoolerEnvironment final : public ConfigEnvironment {
public:
    SpoolerEnvironment(HANDLE printer, ConfigEnvironment* inner) : printer_(printer), inner_(inner) {}

    std::uint32_t AnsiCodePage() const override
    {
        const std::uint32_t own = inner_ ? inner_->AnsiCodePage() : 0;
        return own ? own : GetACP();
    }

    std::span<const TrayKey> Trays() const override
    {
        return inner_ ? inner_->Trays() : std::span<const TrayKey>();
    }
    std::string FormName(std::int32_t paperCode) const override
    {
        return inner_ ? inner_->FormName(paperCode) : std::string();
    }
    void FinishRead(std::span<std::uint8_t> devmode) override
    {
        if (inner_)
            inner_->FinishRead(devmode);
        const auto enable = dm::Read(devmode, dm::kSoftwareEnable);
        if (enable && StoresSoftwareEnable(devmode)) {
            BYTE byte = static_cast<BYTE>(*enable);
            QelSetPrinterDataW(printer_, const_cast<LPWSTR>(kSWEnableValue), REG_BINARY, &byte, 1);
        }
    }

private:
    HANDLE printer_;
    ConfigEnvironment* inner_;
};

}  // namespace

bool StoreConfigData(HANDLE printer, const wchar_t* valueName, std::span<const std::uint8_t> devmode,
                     ConfigEnvironment* env)
{
    if (!printer || !valueName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    SpoolerEnvironment system(printer, env);
    std::vector<std::uint8_t> data = BuildConfigData(devmode, &system);
    if (data.empty())
        return false;
    const DWORD result = QelSetPrinterDataW(printer, const_cast<LPWSTR>(valueName), REG_BINARY,
                                            data.data(), static_cast<DWORD>(data.size()));
    SetLastError(result);
    return result == ERROR_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> ReadPrinterBytes(HANDLE printer, const wchar_t* valueName)
{
    if (!printer || !valueName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    LPWSTR name = const_cast<LPWSTR>(valueName);
    DWORD type = 0;
    DWORD needed = 0;
    DWORD result = QelGetPrinterDataW(printer, name, &type, nullptr, 0, &needed);
    if ((result != ERROR_MORE_DATA && result != ERROR_SUCCESS) || needed == 0) {
        SetLastError(result);
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(needed);
    DWORD got = 0;
    result = QelGetPrinterDataW(printer, name, &type, data.data(), needed, &got);
    if (result != ERROR_SUCCESS || got != needed) {
        // Changed between the two calls or cut short: read as empty.
        SetLastError(result != ERROR_SUCCESS ? result : ERROR_INVALID_DATA);
        return std::nullopt;
    }
    return data;
}

bool LoadConfigData(HANDLE printer, const wchar_t* valueName, std::span<std::uint8_t> devmode,
                    DWORD mode, ConfigEnvironment* env)
{
    const std::optional<std::vector<std::uint8_t>> data = ReadPrinterBytes(printer, valueName);
    if (!data)
        return false;
    SpoolerEnvironment system(printer, env);
    return ReadConfigData(*data, devmode, mode, &system);
}

bool ApplyConfigData(HANDLE printer, std::span<const std::uint8_t> data, std::span<std::uint8_t> devmode,
                     DWORD mode, std::uint32_t opMask, ConfigEnvironment* env)
{
    if (!printer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    SpoolerEnvironment system(printer, env);
    return ReadConfigData(data, devmode, mode, &system, opMask);
}
