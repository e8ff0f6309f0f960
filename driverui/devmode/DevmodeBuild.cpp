#include "DevmodeBuild.h"

#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BuildNotice.h"
#include "DefaultDevmode.h"
#include "Library.h"
#include "ModelSource.h"
#include "PrinterAccess.h"

namespace devmode {
namespace {

constexpr char kStringFailedTitle[] = "LoadString failed";
constexpr char kStringFailedFormat[] = "hInst=%X(%X), resId=%d";
constexpr char kRecordFailedTitle[] = "GetPrtrInfo failed";
constexpr char kRecordFailedFormat[] = "%s (%d)";

std::u16string Utf16(const wchar_t* text)
{
    std::u16string out;
    for (; text && *text; ++text)
        out.push_back(char16_t(*text));
    return out;
}

template <class... Args>
std::string Format(const char* format, Args... args)
{
    char text[512];
    std::snprintf(text, sizeof(text), format, args...);
    return text;
}

}  // namespace

void PutNames(std::span<std::uint8_t> d, const wchar_t* driverName, const wchar_t* printerName)
{
    SetText(d, kModelName, NarrowText(driverName));
    SetWideText(d, dmDeviceName, Utf16(driverName));
    SetText(d, kPrinterName, ReducePrinterName(NarrowText(printerName)));
}

void BuildDriverDefaults(std::span<std::uint8_t> d, std::string_view name)
{
    if (d.size() < kSize)
        return;
    const HMODULE module = DriverModule();
    const std::string modelName(GetText(d, kModelName));
    const int number = ModelNumberOf(module, modelName);

    DefaultsInput in;
    const std::optional<std::string> displayName = model::LoadModelName(module, number);
    if (!model::LoadModelName(module, 0)) {
        const auto handle = unsigned(reinterpret_cast<std::uintptr_t>(module));
        notices::BuildNotice(kStringFailedTitle,
                    Format(kStringFailedFormat, handle, handle, model::kModelNameString));
    }
    const ModuleResources resources(module);
    const auto description = model::LoadDescriptionBytes(module, number);
    if (!displayName || description.empty())
        notices::BuildNotice(kRecordFailedTitle, Format(kRecordFailedFormat, modelName.c_str(), number));

    if (displayName)
        in.displayName = *displayName;
    in.description = description;
    in.codePage = GetACP();
    in.usa = IsUsaLocale();
    in.name = name;
    in.codePageSupported = CodePageSupported;
    BuildDefaultDevmode(d, in, resources);
}

bool BuildPrinterDefaults(HANDLE printer, Buffer& out)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return false;
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    out.fill(0);
    PutNames(out, p->pDriverName, p->pPrinterName);
    const std::string printerName(GetText(out, kPrinterName));
    BuildDriverDefaults(out, printerName);
    return true;
}

bool MergeOver(Buffer& base, std::span<const std::uint8_t> input)
{
    const ModelRules rules(base, ModuleResources(DriverModule()));
    const std::optional<Buffer> merged = MergeDevmode(base, input, rules);
    if (!merged)
        return false;
    base = *merged;
    return true;
}

}  // namespace devmode
