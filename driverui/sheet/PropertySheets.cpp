#include "PropertySheets.h"

#include <compstui.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

#include "ConfigApply.h"
#include "ConfigStore.h"
#include "ContextBuilder.h"
#include "DefaultDevmode.h"
#include "DevmodeBuild.h"
#include "DevmodeLayout.h"
#include "FeatureSheet.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelResources.h"
#include "PageAdder.h"
#include "PrinterAccess.h"
#include "PrinterConfig.h"
#include "SettingsBridge.h"
#include "SheetCalls.h"
#include "SheetState.h"
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

// The working devmode for the caller, limited by the layout of the caller's input devmode. The
// checksum is brought up to date first: a caller handed a stale one would see the next merge
// refuse the devmode.
void CopyToCaller(SheetContext* c, const DEVMODEW* input, DEVMODEW* output)
{
    devmode::UpdateChecksum(Working(c));
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
    FreeFeatureBlocks(c);
}

void LoadPictureLibraries(SheetContext* c)
{
    c->pictureLibrary = LoadLibraryW(SiblingPathW(DriverModule(), kPictureLibrary.wide).c_str());
    if (c->pictureLibrary) {
        c->paintPrinter = reinterpret_cast<void*>(GetProcAddress(c->pictureLibrary, "PaintPrt"));
        c->managePalette = reinterpret_cast<void*>(GetProcAddress(c->pictureLibrary, "ManagePal"));
    }
    c->instructionLibrary = LoadLibraryW(SiblingPathW(DriverModule(), kInstructionLibrary.wide).c_str());
}

// A printer value read whole into a buffer of its expected size.
bool ReadValue(HANDLE printer, const wchar_t* name, BYTE* buffer, DWORD size, bool exact)
{
    DWORD type = 0, got = 0;
    return QelGetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, buffer, size, &got) == ERROR_SUCCESS &&
           (!exact || got == size);
}

// The defaults the pages return to: the driver defaults for the working devmode's names, or the
// installed configuration's stored defaults.
void BuildSheetDefaults(SheetContext* c)
{
    devmode::Buffer defaults{};
    const auto working = Working(c);
    const auto keep = [&](devmode::Block b) {
        std::copy_n(working.begin() + b.offset, b.size, defaults.begin() + b.offset);
    };
    keep({devmode::dmDeviceName.offset, std::uint16_t(2 * devmode::dmDeviceName.chars)});
    keep(devmode::kModelName);
    keep(devmode::kPrinterName);
    devmode::BuildDriverDefaults(defaults, devmode::GetText(working, devmode::kPrinterName));
    devmode::Buffer stored{};
    BYTE description[64];
    if (ReadValue(c->printer, devmode::kCurrentDefaultDevmodeValue, stored.data(), DWORD(stored.size()), true) &&
        ReadValue(c->printer, profiles::kShortDescValue, description, sizeof description, false) &&
        devmode::IsDriverDevmode(stored))
        defaults = stored;
    std::copy(defaults.begin(), defaults.end(), c->defaultsDevmode);
}

void SetPageDisplay(SheetContext* c, DWORD kind)
{
    std::fill(std::begin(c->pageDisplay), std::end(c->pageDisplay), WORD(0));
    if (kind == 0) {
        std::fill_n(c->pageDisplay, 8, WORD(1));
        c->pageDisplay[8] = 3;
        c->pageDisplay[9] = 2;
    } else {
        c->pageDisplay[0] = c->pageDisplay[1] = 1;
        c->pageDisplay[2] = 2;
    }
}

// The printer configuration blocks for a model with a family: the saved copy, the default from
// the model's installable options (a device sheet takes an installed configuration's stored one),
// and the current block's tray word.
void PreparePrinterConfig(SheetContext* c, DWORD kind)
{
    std::copy(std::begin(c->printerConfig), std::end(c->printerConfig), c->savedPrinterConfig);
    const HMODULE module = DriverModule();
    const auto working = Working(c);
    PrinterConfigBlock defaults = DerivePrinterConfig(
        model::LoadSelectedResource(module, 277, devmode::Get(working, devmode::kInputOptionsNumber)),
        model::LoadSelectedResource(module, 278, devmode::Get(working, devmode::kOutputOptionsNumber)), working);
    BYTE stored[kPrinterConfigBytes];
    BYTE description[64];
    if (kind == 1 && ReadValue(c->printer, kPrinterConfigValue, stored, sizeof stored, true) &&
        ReadValue(c->printer, profiles::kShortDescValue, description, sizeof description, false))
        for (std::size_t i = 0; i < defaults.size(); ++i)
            std::memcpy(&defaults[i], stored + 4 + 4 * i, 4);
    std::copy(defaults.begin(), defaults.end(), c->defaultPrinterConfig);
    PrinterConfigBlock current;
    std::copy(std::begin(c->printerConfig), std::end(c->printerConfig), current.begin());
    UpdateTrayWord(current, working);
    std::copy(current.begin(), current.end(), c->printerConfig);
}

// The printer's "SWEnable" into the working devmode (not for the brand's own models), and the
// devmode's byte back as the value.
void SyncSoftwareEnable(SheetContext* c)
{
    DWORD stored = 0;
    if (!ReadValue(c->printer, kSwEnableValue, reinterpret_cast<BYTE*>(&stored), sizeof stored, false))
        stored = 0;
    if (!devmode::BeginsWithBrandWord(devmode::GetText(Working(c), devmode::kModelName)))
        devmode::Set(Working(c), devmode::kSoftwareEnable, std::uint8_t(stored));
    BYTE enable = devmode::Get(Working(c), devmode::kSoftwareEnable);
    if (QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(kSwEnableValue), REG_BINARY, &enable, 1) != ERROR_SUCCESS)
        c->swEnableWriteFailed = 1;
}

// The settings library, asked once for its interface; a library that answers none is unloaded
// and the driver's own pages are shown.
void AskSettingsLibrary(SheetContext* c, SheetState& state)
{
    if (c->settingsInterface)
        return;
    HMODULE library = LoadLibraryW(SiblingPathW(DriverModule(), kSettingsLibrary.wide).c_str());
    if (!library)
        return;
    using GetDevIcFn = void*(WINAPI*)();
    if (const auto getDevIc = reinterpret_cast<GetDevIcFn>(GetProcAddress(library, "getDevIC")))
        c->settingsInterface = getDevIc();
    if (c->settingsInterface)
        state.settingsLibrary = library;
    else
        FreeLibrary(library);
}

settingsui::Interface* SettingsOf(SheetContext* c)
{
    return static_cast<settingsui::Interface*>(c->settingsInterface);
}

// A property-sheet reason for the settings interface's pages of the sheet's kind.
long PassToSettings(SheetContext* c, PPROPSHEETUI_INFO info, LPARAM parameter)
{
    settingsui::Interface* ui = SettingsOf(c);
    if (!ui)
        return -1;
    return c->sheetKind == 1 ? ui->AddDevicePages(info, parameter) : ui->AddDocumentPages(info, parameter);
}

// The settings interface and its library go with the sheet.
void ReleaseSettings(SheetContext* c)
{
    if (settingsui::Interface* ui = SettingsOf(c))
        ui->Release();
    c->settingsInterface = nullptr;
    if (SheetState* state = StateOf(c); state && state->settingsLibrary) {
        FreeLibrary(state->settingsLibrary);
        state->settingsLibrary = nullptr;
    }
}

void Abandon(PPROPSHEETUI_INFO info, SheetContext* c)
{
    ReleaseSettings(c);
    FreeSiblings(c);
    Unregister(c);
    DestroySheetContext(c);
    info->UserData = 0;
}

// The sheet start: service, kind, defaults, page display words, picture libraries and printer
// configuration, software enable, the feature blocks, the pages.
LONG StartSheet(PPROPSHEETUI_INFO info, LPARAM parameter, SheetContext* c, DWORD kind, bool permitted)
{
    c->permission = permitted ? 1 : 0;
    c->sheetService = reinterpret_cast<void*>(info->pfnComPropSheet);
    c->sheetServiceHandle = info->hComPropSheet;
    c->sheetKind = kind;
    if (kind == 1)
        c->settingsChanged = 0;
    BuildSheetDefaults(c);
    SetPageDisplay(c, kind);
    if (c->modelFamily != model::kNoFamily) {
        LoadPictureLibraries(c);
        PreparePrinterConfig(c, kind);
    }
    if (kind == 0)
        c->opened = 1;
    SyncSoftwareEnable(c);

    SheetState& state = Register(c);
    info->UserData = ULONG_PTR(c);
    info->Result = 0;
    // Without a feature block the sheet opens without the driver's pages.
    if (!BuildFeatureBlocks(c, state))
        return 1;
    AskSettingsLibrary(c, state);
    if (settingsui::Interface* ui = SettingsOf(c)) {
        if (!state.settingsCallbackGiven) {
            ui->SetCallback(bridge::SettingsCallback, c);
            state.settingsCallbackGiven = true;
        }
        if (PassToSettings(c, info, parameter) == 0) {
            info->UserData = ULONG_PTR(c);
            info->Result = 0;
            return 1;
        }
        // Pages the settings interface cannot add are the driver's own.
        ReleaseSettings(c);
    }
    if (AddPages(c, kind == 0 ? kDocumentSheetSlots : kDeviceSheetSlots) == PagesResult::Failed) {
        Abandon(info, c);
        return -1;
    }
    return 1;
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

void CloseSheet(PPROPSHEETUI_INFO info, SheetContext* c)
{
    ReportResult(c);
    Abandon(info, c);
}

// The user confirmed: the entries into the working devmode, and the saves. A document sheet also
// hands the devmode to its caller, when the caller asked for it.
void Confirm(SheetContext* c, PDOCUMENTPROPERTYHEADER header)
{
    WriteBackEntries(c, Working(c));
    if (header)
        CopyToCaller(c, header->pdmIn, header->pdmOut);
    SaveSheet(c);
    c->devmodeChanged = 0;
}

bool Keeps(const DOCUMENTPROPERTYHEADER* header)
{
    return header->fMode & (DM_UPDATE | DM_COPY);
}

// Wine's sheet service sends no SET_RESULT: a sheet that closes with both OK-pressed flags set and
// no result sent is taken as confirmed, as the service would have reported it.
bool ConfirmedWithoutResult(SheetContext* c)
{
    const SheetState* state = StateOf(c);
    return state && !state->resultSent && c->okPressed[0] && c->okPressed[1];
}

void NoteResultSent(SheetContext* c)
{
    if (SheetState* state = StateOf(c))
        state->resultSent = true;
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
    // Wine's print dialogs ask for the defaults with the printer's name and no handle: open it
    // by that name for the call.
    std::optional<OpenedPrinter> opened;
    HANDLE printer = header->hPrinter;
    if (!printer && header->pszPrinterName)
        printer = opened.emplace(header->pszPrinterName, PrinterAccess::Default).get();
    SheetContext* c = CreateSheetContext(printer, header->pdmIn, input.size());
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
        return StartSheet(info, parameter, c, 0, !(header->fMode & DM_NOPERMISSION));
    }
    SheetContext* c = ContextOf(info);
    if (!c)
        return -1;
    c->sheetKind = 0;
    PassToSettings(c, info, parameter);
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        FillInfoHeader(info, parameter, header->pszPrinterName);
        return 1;
    case PROPSHEETUI_REASON_SET_RESULT: {
        const auto* result = reinterpret_cast<const SETRESULT_INFO*>(parameter);
        NoteResultSent(c);
        if (result && result->Result == CPSUI_OK) {
            c->sheetResult = 1;
            if (Keeps(header))
                Confirm(c, header);
        }
        if (result)
            info->Result = result->Result;
        return 1;
    }
    case PROPSHEETUI_REASON_DESTROY:
        if (ConfirmedWithoutResult(c)) {
            c->sheetResult = 1;
            info->Result = CPSUI_OK;
            if (Keeps(header))
                Confirm(c, header);
        }
        if (c->devmodeChanged && Keeps(header))
            Confirm(c, header);
        else
            WriteSoftwareEnable(c);
        CloseSheet(info, c);
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
        return StartSheet(info, parameter, c, 1, !(header->Flags & DPS_NOPERMISSION));
    }
    SheetContext* c = ContextOf(info);
    if (!c)
        return -1;
    c->sheetKind = 1;
    PassToSettings(c, info, parameter);
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        FillInfoHeader(info, parameter, header->pszPrinterName);
        return 1;
    case PROPSHEETUI_REASON_SET_RESULT: {
        const auto* result = reinterpret_cast<const SETRESULT_INFO*>(parameter);
        NoteResultSent(c);
        if (result && result->Result == CPSUI_OK) {
            c->sheetResult = 1;
            Confirm(c, nullptr);
        }
        if (result)
            info->Result = result->Result;
        return 1;
    }
    case PROPSHEETUI_REASON_DESTROY: {
        if (ConfirmedWithoutResult(c)) {
            c->sheetResult = 1;
            info->Result = CPSUI_OK;
            Confirm(c, nullptr);
        }
        if (c->devmodeChanged)
            Confirm(c, nullptr);
        DWORD ok = c->sheetResult ? 1 : 0;
        QelSetPrinterDataW(c->printer, const_cast<LPWSTR>(kPrtPropOkValue), REG_DWORD, reinterpret_cast<BYTE*>(&ok),
                           sizeof ok);
        CloseSheet(info, c);
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
    // The sheet's title: without it the service calls the sheet by a word of its own.
    std::wstring printerName = SpoolerPrinterName(printer);
    header.pszPrinterName = printerName.empty() ? nullptr : printerName.data();
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
