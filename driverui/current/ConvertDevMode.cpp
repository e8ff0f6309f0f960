#include "ConvertDevMode.h"

#include <winspool.h>

#include <cstddef>
#include <cstring>
#include <span>

#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "LayoutCopy.h"
#include "PrinterAccess.h"

namespace devmode {
namespace {

// The layout is the platform's DEVMODEW followed by the private part, in both builds.
static_assert(sizeof(DEVMODEW) == kPublicSize);
static_assert(offsetof(DEVMODEW, dmSpecVersion) == dmSpecVersion.offset);
static_assert(offsetof(DEVMODEW, dmDriverVersion) == dmDriverVersion.offset);
static_assert(offsetof(DEVMODEW, dmSize) == dmSize.offset);
static_assert(offsetof(DEVMODEW, dmDriverExtra) == dmDriverExtra.offset);
static_assert(offsetof(DEVMODEW, dmFields) == dmFields.offset);
static_assert(offsetof(DEVMODEW, dmOrientation) == dmOrientation.offset);
static_assert(offsetof(DEVMODEW, dmPaperSize) == dmPaperSize.offset);
static_assert(offsetof(DEVMODEW, dmPaperLength) == dmPaperLength.offset);
static_assert(offsetof(DEVMODEW, dmPaperWidth) == dmPaperWidth.offset);
static_assert(offsetof(DEVMODEW, dmCopies) == dmCopies.offset);
static_assert(offsetof(DEVMODEW, dmDefaultSource) == dmDefaultSource.offset);
static_assert(offsetof(DEVMODEW, dmPrintQuality) == dmPrintQuality.offset);
static_assert(offsetof(DEVMODEW, dmColor) == dmColor.offset);
static_assert(offsetof(DEVMODEW, dmDuplex) == dmDuplex.offset);
static_assert(offsetof(DEVMODEW, dmYResolution) == dmYResolution.offset);
static_assert(offsetof(DEVMODEW, dmTTOption) == dmTTOption.offset);
static_assert(offsetof(DEVMODEW, dmCollate) == dmCollate.offset);
static_assert(offsetof(DEVMODEW, dmFormName) == dmFormName.offset);
static_assert(offsetof(DEVMODEW, dmICMMethod) == dmICMMethod.offset);
static_assert(offsetof(DEVMODEW, dmICMIntent) == dmICMIntent.offset);
static_assert(offsetof(DEVMODEW, dmMediaType) == dmMediaType.offset);
static_assert(offsetof(DEVMODEW, dmDitherType) == dmDitherType.offset);
static_assert(offsetof(DEVMODEW, dmPanningWidth) == dmPanningWidth.offset);
static_assert(DM_ORIENTATION == kFieldOrientation && DM_PAPERSIZE == kFieldPaperSize &&
              DM_PAPERLENGTH == kFieldPaperLength && DM_PAPERWIDTH == kFieldPaperWidth &&
              DM_COPIES == kFieldCopies && DM_DEFAULTSOURCE == kFieldDefaultSource &&
              DM_PRINTQUALITY == kFieldPrintQuality && DM_COLOR == kFieldColor &&
              DM_DUPLEX == kFieldDuplex && DM_YRESOLUTION == kFieldYResolution &&
              DM_TTOPTION == kFieldTTOption && DM_COLLATE == kFieldCollate &&
              DM_DITHERTYPE == kFieldDitherType);

constexpr std::uint8_t kTagListMarkValue = 128;

// An input devmode carries no buffer size: its own header says how far it goes.
std::span<const std::uint8_t> InputBytes(const DEVMODEW* input)
{
    if (!input)
        return {};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input);
    return DeclaredBytes({bytes, DeclaredSize({bytes, kHeaderSize})});
}


BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

BOOL ConvertLayouts(const DEVMODEW* input, DEVMODEW* output, LONG* size)
{
    if (!output || !input || *size < LONG(kHeaderSize))
        return Fail(ERROR_INVALID_PARAMETER);
    const std::span<std::uint8_t> out(reinterpret_cast<std::uint8_t*>(output), std::size_t(*size));
    const std::size_t wanted = DeclaredSize(out);
    if (wanted < kHeaderSize || wanted > out.size() || LayoutCopy(InputBytes(input), out) < 0)
        return Fail(ERROR_INVALID_PARAMETER);
    *size = LONG(wanted);
    return TRUE;
}

BOOL DriverDefault(const WCHAR* printerName, DEVMODEW* output, LONG* size)
{
    const LONG available = *size;
    *size = LONG(kSize);
    if (!output || available < LONG(kSize))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (!printerName)
        return Fail(ERROR_INVALID_PARAMETER);
    const OpenedPrinter printer(printerName, PrinterAccess::FullElseDefault);
    if (!printer.get())
        return FALSE;
    Buffer built{};
    if (!BuildCurrentDevmode(printer.get(), built, nullptr))
        return Fail(ERROR_INVALID_DATA);
    UpdateChecksum(built);
    std::memcpy(output, built.data(), kSize);
    return TRUE;
}

}  // namespace

BOOL ConvertDevMode(const WCHAR* printerName, const DEVMODEW* input, DEVMODEW* output, LONG* size,
                    DWORD mode)
{
    if (!size)
        return Fail(ERROR_INVALID_PARAMETER);
    switch (mode) {
    case CDM_CONVERT:
        return ConvertLayouts(input, output, size);
    case CDM_DRIVER_DEFAULT:
        return DriverDefault(printerName, output, size);
    default:
        return Fail(ERROR_NOT_SUPPORTED);
    }
}

LONG TagListToDevmode(DWORD, const char* printerName, const void* featureBlock, DEVMODEW* output)
{
    if (!output)
        return LONG(kSize);
    if (!printerName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const OpenedPrinter printer(printerName, PrinterAccess::FullElseDefault);
    if (!printer.get())
        return 0;
    Buffer built{};
    if (!BuildPrinterDefaults(printer.get(), built))
        return 0;
    // The feature entries (the sheet's write-back) and the four paper-format records come from
    // the property-sheet and paper code.
    (void)featureBlock;
    Set(built, kTagListMark, kTagListMarkValue);
    UpdateChecksum(built);
    std::memcpy(output, built.data(), kSize);
    return 1;
}

}  // namespace devmode
