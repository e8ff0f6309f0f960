// The customisation page, second of the device sheet: the printer's user paper sizes and paper
// associations (new, edit, delete), the watermark dialogs and four functions of the toolkit.
// The lists live in the printer's values; the driver library reads and writes them, and this
// page only ever shows what it answers.
#include <windows.h>

#include <algorithm>

#include "Page.h"
#include "RecordLists.h"
#include "ResourceIds.h"

namespace {

constexpr int kLocked[] = {6418,
                           IDC_TOOLKIT_DOWNLOAD_FONTS,
                           IDC_TOOLKIT_PRINTER_FONTS,
                           6419,
                           IDC_TOOLKIT_DOWNLOAD_MACROS,
                           IDC_TOOLKIT_MACROS,
                           IDC_DEFAULTS,
                           IDC_FORMS_LABEL,
                           IDC_FORMS,
                           IDC_FORMS_GROUP,
                           IDC_NEW_SIZE,
                           IDC_NEW_ASSOCIATION,
                           IDC_EDIT_FORM,
                           IDC_DELETE_FORM,
                           IDC_WATERMARKS_GROUP,
                           IDC_EDIT_WATERMARKS,
                           IDC_DELETE_WATERMARKS};
const pages::HelpPair kHelp[] = {{IDC_FORMS, 2701},
                                 {IDC_NEW_SIZE, 2702},
                                 {IDC_NEW_ASSOCIATION, 2703},
                                 {IDC_EDIT_FORM, 2704},
                                 {IDC_DELETE_FORM, 2705},
                                 {IDC_EDIT_WATERMARKS, 2706},
                                 {IDC_DELETE_WATERMARKS, 2707},
                                 {IDC_TOOLKIT_DOWNLOAD_FONTS, 2708},
                                 {IDC_TOOLKIT_PRINTER_FONTS, 2709},
                                 {IDC_TOOLKIT_DOWNLOAD_MACROS, 2710},
                                 {IDC_TOOLKIT_MACROS, 2711},
                                 {IDC_DEFAULTS, pages::kNoHelp},
                                 {0, 0}};
const pages::PageSpec kSpec{{}, kLocked, kHelp, false};

constexpr std::int16_t kDeviceFontsMode = 2;
constexpr std::uint8_t kNoToolkitFonts = 0x04;  // option byte A

struct ToolkitButton {
    int id;
    DWORD action;
    bool modeFollowsGraphics;  // 6 for device fonts, else 5
};
constexpr ToolkitButton kToolkit[] = {
    {IDC_TOOLKIT_DOWNLOAD_FONTS, 4, false},
    {IDC_TOOLKIT_PRINTER_FONTS, 6, false},
    {IDC_TOOLKIT_DOWNLOAD_MACROS, 2, true},
    {IDC_TOOLKIT_MACROS, 3, true},
};

class CustomisePage : public pages::Page {
public:
    CustomisePage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}

    void Fill() override { FillForms(); }

    void UpdateStates() override
    {
        const bool deviceFonts = Entry(feature::kGraphicsMode.id).Current() == kDeviceFontsMode;
        const bool sizesBlocked = deviceFonts && Entry(feature::kPaperHandlingFlags.id).Current() >= 0;
        Enable(IDC_NEW_SIZE, userSizes_ < records::kMaxUserSizes && !sizesBlocked);
        Enable(IDC_NEW_ASSOCIATION, associations_ < records::kMaxAssociations);
        const bool any = userSizes_ + associations_ > 0;
        Enable(IDC_FORMS_LABEL, any);
        Enable(IDC_FORMS, any);
        Enable(IDC_EDIT_FORM, any);
        Enable(IDC_DELETE_FORM, any);
        const bool toolkitFonts = !(OptionByteA() & kNoToolkitFonts);
        Enable(IDC_TOOLKIT_DOWNLOAD_FONTS, toolkitFonts);
        Enable(IDC_TOOLKIT_PRINTER_FONTS, toolkitFonts);
    }

    bool Command(int id, int code, HWND) override
    {
        if (code != BN_CLICKED)
            return false;
        switch (id) {
        case IDC_NEW_SIZE: OpenPaperDialog(IDD_USER_PAPER, records::UserPaperSizeDlgProc, id); return true;
        case IDC_NEW_ASSOCIATION:
            OpenPaperDialog(IDD_PAPER_ASSOCIATION, records::UserPaperAssocDlgProc, id);
            return true;
        case IDC_EDIT_FORM: {
            const auto number = ComboSelection(IDC_FORMS);
            if (!number)
                return true;
            if (records::IsUserSize(*number))
                OpenPaperDialog(IDD_USER_PAPER, records::UserPaperSizeDlgProc, id);
            else
                OpenPaperDialog(IDD_PAPER_ASSOCIATION, records::UserPaperAssocDlgProc, id);
            return true;
        }
        case IDC_DELETE_FORM: DeleteSelected(); return true;
        case IDC_EDIT_WATERMARKS:
            records::RunDialog(IDD_WATERMARK, Frame(), records::WatermarkDlgProc, LPARAM(&Context()));
            return true;
        case IDC_DELETE_WATERMARKS:
            records::RunDialog(IDD_WATERMARK_DELETE, Frame(), records::fnWatermarkDelDlg, LPARAM(&Context()));
            return true;
        default: break;
        }
        for (const ToolkitButton& button : kToolkit)
            if (button.id == id) {
                RunToolkit(button);
                return true;
            }
        return false;
    }

private:
    std::uint8_t OptionByteA() const { return std::uint8_t(Context().devmodeCopies[1] & 0xFF); }

    void FillForms()
    {
        ComboClear(IDC_FORMS);
        const auto sizes = records::Fetch(&Context(), kCbEnumUserForms, records::kFirstUserSize,
                                          records::kLastUserSize);
        const auto associations = records::Fetch(&Context(), kCbEnumAssociations, records::kFirstAssociation,
                                                 records::kLastAssociation);
        for (const auto& item : sizes)
            ComboAdd(IDC_FORMS, records::Wide(item.name), item.number);
        for (const auto& item : associations)
            ComboAdd(IDC_FORMS, records::Wide(item.name), item.number);
        userSizes_ = sizes.size();
        associations_ = associations.size();
        SendDlgItemMessageW(Window(), IDC_FORMS, CB_SETCURSEL, 0, 0);
    }

    void OpenPaperDialog(UINT templateId, DLGPROC procedure, int button)
    {
        records::PaperDialogParam param{&Context(), Window(), button};
        if (records::RunDialog(templateId, Frame(), procedure, LPARAM(&param)) == 1)
            Refill();
    }

    void DeleteSelected()
    {
        HWND list = Control(IDC_FORMS);
        const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
        const auto number = ComboSelection(IDC_FORMS);
        if (index < 0 || !number)
            return;
        const auto items = records::ComboItems(list);
        const std::wstring question = Format(IDS_DELETE_QUESTION, items[std::size_t(index)].text);
        const std::wstring caption = String(IDS_DELETE_CAPTION);
        if (MessageBoxW(Window(), question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        SHORT which = SHORT(*number);
        CallBack(records::IsUserSize(*number) ? kCbDeleteUserForm : kCbDeleteAssociation, &which);
        Refill();
        SetFocus(list);
    }

    void RunToolkit(const ToolkitButton& button)
    {
        const auto toolkit = reinterpret_cast<CallToolKitUtilFn>(
            reinterpret_cast<void*>(GetProcAddress(Context().module, kCallToolKitUtilExport)));
        if (!toolkit)
            return;
        const bool deviceFonts = Entry(feature::kGraphicsMode.id).Current() == kDeviceFontsMode;
        const DWORD mode = button.modeFollowsGraphics && deviceFonts ? 6 : 5;
        toolkit(Frame(), Context().printerNameA, button.action, 0, WORD(Entry(feature::kToolkit1.id).Current()),
                WORD(Entry(feature::kToolkit2.id).Current()), mode);
    }

    std::size_t userSizes_ = 0;
    std::size_t associations_ = 0;
};

}  // namespace

extern "C" INT_PTR CALLBACK UserCustDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<CustomisePage>(window, message, wParam, lParam);
}
