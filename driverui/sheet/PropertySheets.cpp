#include "PropertySheets.h"

#include <compstui.h>

#include <span>

#include "ConfigStore.h"
#include "ContextBuilder.h"
#include "DevmodeBuild.h"
#include "DevmodeLayout.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelResources.h"
#include "SiblingNames.h"
#include "SiblingPath.h"
#include "SpoolLock.h"

namespace sheet {
namespace {

constexpr LONG kFullDevmodeSize = LONG(devmode::kSize);
constexpr WORD kSheetIcon = 64063;
constexpr int kPermissionString = 15008;
constexpr wchar_t kSwEnableValue[] = L"SWEnable";
constexpr wchar_t kDefDrvCfgDataValue[] = L"DefDrvCfgData";
constexpr wchar_t kPrtPropOkValue[] = L"DCDPrtPropOK";

// The service calls the sheet callback as stdcall; mingw-w64's PFNPROPSHEETUI leaves that out.
using SheetCallback = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using CommonSheetProc = LONG(WINAPI*)(HWND, SheetCallback, LPARAM, LPDWORD);

// The input devmode as far as it declares itself; empty without one.
std::span<const std::uint8_t> DeclaredInput(const DEVMODEW* input)
{
    if (!input)
        return {};
    const std::size_t declared = std::size_t(input->dmSize) + input->dmDriverExtra;
    return devmode::DeclaredBytes({reinterpret_cast<const std::uint8_t*>(input), declared});
}

std::span<std::uint8_t> Working(SheetContext* c)
{
    return {c->workingDevmode, devmode::kSize};
}

// The working devmode for the caller, limited by the layout of the caller's input devmode.
void CopyToCaller(SheetContext* c, const DEVMODEW* input, DEVMODEW* output)
{
    if (!output)
        return;
    devmode::CopyForCaller(Working(c), DeclaredInput(input),
                           {reinterpret_cast<std::uint8_t*>(output), devmode::kSize});
}

void WriteSoftwareEnable(SheetContext* c)
{
    BYTE enable = devmode::Get(Working(c), devmode::kSoftwareEnable);
    QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(kSwEnableValue), REG_BINARY, &enable, 1);
}

void FreeSiblings(SheetContext* c)
{
    if (c->instructionLibrary)
        FreeLibrary(c->instructionLibrary);
    if (c->pictureLibrary)
        FreeLibrary(c->pictureLibrary);
    if (c->dialogLibrary)
        FreeLibrary(c->dialogLibrary);
    c->instructionLibrary = c->pictureLibrary = c->dialogLibrary = nullptr;
    c->paintPrinter = c->managePalette = nullptr;
    if (c->featureBlock)
        GlobalFree(c->featureBlock);
    if (c->savedFeatureBlock)
        GlobalFree(c->savedFeatureBlock);
    c->featureBlock = c->savedFeatureBlock = nullptr;
}

void LoadPictureLibraries(SheetContext* c)
{
    if (c->modelFamily == 255)
        return;
    c->pictureLibrary = LoadLibraryW(SiblingPathW(DriverModule(), kPictureLibrary.wide).c_str());
    if (c->pictureLibrary) {
        c->paintPrinter = reinterpret_cast<void*>(GetProcAddress(c->pictureLibrary, "PaintPrt"));
        c->managePalette = reinterpret_cast<void*>(GetProcAddress(c->pictureLibrary, "ManagePal"));
    }
    c->instructionLibrary = LoadLibraryW(SiblingPathW(DriverModule(), kInstructionLibrary.wide).c_str());
}

// What the sheet start can do before the pages: the service, the sheet kind, the sibling
// libraries. The feature block and the pages come with the page library's interface; until then
// the start fails, releasing everything, rather than showing a sheet without settings.
LONG StartSheet(PPROPSHEETUI_INFO info, SheetContext* c, DWORD kind, bool permitted)
{
    c->permission = permitted ? 1 : 0;
    c->sheetService = reinterpret_cast<void*>(info->pfnComPropSheet);
    c->sheetServiceHandle = info->hComPropSheet;
    c->sheetKind = kind;
    if (kind == 1)
        c->settingsChanged = 0;
    LoadPictureLibraries(c);
    FreeSiblings(c);
    DestroySheetContext(c);
    return -1;
}

SheetContext* ContextOf(PPROPSHEETUI_INFO info)
{
    auto* c = reinterpret_cast<SheetContext*>(info->UserData);
    return IsSheetContext(c) ? c : nullptr;
}

void FillInfoHeader(PPROPSHEETUI_INFO info, LPARAM parameter, LPWSTR title)
{
    auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(parameter);
    if (!header)
        return;
    header->Flags = PSUIHDRF_PROPTITLE;
    header->pTitle = reinterpret_cast<LPTSTR>(title);
    header->hInst = DriverModule();
    header->IconID = kSheetIcon;
}

void ReportResult(SheetContext* c)
{
    if (auto service = reinterpret_cast<PFNCOMPROPSHEET>(c->sheetService))
        service(c->sheetServiceHandle, CPSFUNC_SET_RESULT, LPARAM(c->sheetServiceHandle),
                LPARAM(c->sheetResult != 0));
}

void CloseSheet(SheetContext* c)
{
    ReportResult(c);
    FreeSiblings(c);
    DestroySheetContext(c);
}

// The no-interface path: the working devmode for a request that shows nothing.
LONG WithoutInterface(PDOCUMENTPROPERTYHEADER header)
{
    if (!header)
        return -1;
    header->cbOut = DWORD(kFullDevmodeSize);
    if (header->fMode == 0 || !header->pdmOut)
        return kFullDevmodeSize;
    const std::span<const std::uint8_t> input = DeclaredInput(header->pdmIn);
    SheetContext* c = CreateSheetContext(header->hPrinter, header->pdmIn, input.size());
    if (!c)
        return -1;
    if (header->fMode & (DM_UPDATE | DM_COPY))
        CopyToCaller(c, header->pdmIn, header->pdmOut);
    DestroySheetContext(c);
    return 1;
}

LONG CallSheetService(HWND window, SheetCallback callback, LPARAM parameter, DWORD* result)
{
    HMODULE service = LoadLibraryW(L"compstui.dll");
    if (!service)
        return -1;
    LONG answer = -1;
    if (auto call = reinterpret_cast<CommonSheetProc>(GetProcAddress(service, "CommonPropertySheetUIW")))
        answer = call(window, callback, parameter, result);
    FreeLibrary(service);
    return answer;
}

}  // namespace

bool SaveSheet(SheetContext* c)
{
    bool ok = true;
    if (c->modelFamily != 255)
        ok = StorePrinterConfig(c) && ok;
    devmode::UpdateChecksum(Working(c));
    ok = QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(devmode::kCurrentDevmodeValue), REG_BINARY,
                            c->workingDevmode, DWORD(devmode::kSize)) == ERROR_SUCCESS &&
         ok;
    model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), Working(c));
    ok = StoreConfigData(c->printer, kDefDrvCfgDataValue, Working(c), &env) && ok;
    return ok;
}

LONG DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter)
{
    if (!info)
        return WithoutInterface(reinterpret_cast<PDOCUMENTPROPERTYHEADER>(parameter));
    auto* header = reinterpret_cast<PDOCUMENTPROPERTYHEADER>(info->lParamInit);
    if (!header)
        return -1;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        SheetContext* c = CreateSheetContext(header->hPrinter, header->pdmIn, DeclaredInput(header->pdmIn).size());
        if (!c)
            return -1;
        return StartSheet(info, c, 0, !(header->fMode & DM_NOPERMISSION));
    }
    SheetContext* c = ContextOf(info);
    if (!c)
        return -1;
    c->sheetKind = 0;
    const bool keep = header->fMode & (DM_UPDATE | DM_COPY);
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        FillInfoHeader(info, parameter, header->pszPrinterName);
        return 1;
    case PROPSHEETUI_REASON_SET_RESULT: {
        const auto* result = reinterpret_cast<const SETRESULT_INFO*>(parameter);
        if (result && result->Result == CPSUI_OK && keep) {
            CopyToCaller(c, header->pdmIn, header->pdmOut);
            SaveSheet(c);
            c->devmodeChanged = 0;
        }
        if (result)
            info->Result = result->Result;
        return 1;
    }
    case PROPSHEETUI_REASON_DESTROY:
        if (c->devmodeChanged && keep) {
            CopyToCaller(c, header->pdmIn, header->pdmOut);
            SaveSheet(c);
        } else {
            WriteSoftwareEnable(c);
        }
        CloseSheet(c);
        return 1;
    default:
        return -1;
    }
}

LONG DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter)
{
    if (!info)
        return -1;
    auto* header = reinterpret_cast<PDEVICEPROPERTYHEADER>(info->lParamInit);
    if (!header)
        return -1;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        SheetContext* c = CreateSheetContext(header->hPrinter, nullptr, 0);
        if (!c)
            return -1;
        return StartSheet(info, c, 1, !(header->Flags & DPS_NOPERMISSION));
    }
    SheetContext* c = ContextOf(info);
    if (!c)
        return -1;
    c->sheetKind = 1;
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        FillInfoHeader(info, parameter, header->pszPrinterName);
        return 1;
    case PROPSHEETUI_REASON_SET_RESULT: {
        const auto* result = reinterpret_cast<const SETRESULT_INFO*>(parameter);
        if (result && result->Result == CPSUI_OK) {
            SaveSheet(c);
            c->devmodeChanged = 0;
        }
        if (result)
            info->Result = result->Result;
        return 1;
    }
    case PROPSHEETUI_REASON_DESTROY: {
        if (c->devmodeChanged)
            SaveSheet(c);
        DWORD ok = c->sheetResult ? 1 : 0;
        QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(kPrtPropOkValue), REG_DWORD, reinterpret_cast<BYTE*>(&ok),
                           sizeof ok);
        CloseSheet(c);
        return 1;
    }
    default:
        return -1;
    }
}

LONG DocProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output, PDEVMODEW input,
                        DWORD mode)
{
    if (mode == 0 || !output)
        return kFullDevmodeSize;
    DOCUMENTPROPERTYHEADER header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer;
    header.pszPrinterName = deviceName;
    header.pdmIn = input;
    header.pdmOut = output;
    header.fMode = mode;
    const LONG result = (mode & DM_PROMPT)
                            ? CallSheetService(window, DrvDocumentPropertySheets, LPARAM(&header), nullptr)
                            : WithoutInterface(&header);
    if (result > 0)
        return IDOK;
    return result == 0 ? IDCANCEL : result;
}

LONG AdvancedDocProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output,
                                PDEVMODEW input)
{
    if (!output)
        return kFullDevmodeSize;
    // Confirmed is 1; cancelled or failed is 0.
    return DocProperties(window, printer, deviceName, output, input, DM_COPY | DM_PROMPT | DM_ADVANCED) == IDOK
               ? 1
               : 0;
}

BOOL PrinterPropertySheet(HWND window, HANDLE printer)
{
    DEVICEPROPERTYHEADER header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer;
    wchar_t name[64] = L"";
    DWORD one = 1;
    if (!LoadStringW(DriverModule(), kPermissionString, name, 64) ||
        QelSetPrinterDataW(printer, name, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one) != ERROR_SUCCESS)
        header.Flags |= DPS_NOPERMISSION;
    DWORD result = 0;
    CallSheetService(window, DrvDevicePropertySheets, LPARAM(&header), &result);
    return result != 0;
}

}  // namespace sheet
