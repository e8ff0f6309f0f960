// The About page, last of both sheets: the printer's name and family icon, the brand's texts and
// the versions of the driver's libraries. It edits nothing; on a device sheet its apply still
// counts towards the commit.
#include <windows.h>

#include <array>
#include <string>

#include "Library.h"
#include "Page.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "TextFormat.h"
#include "VersionInfo.h"

namespace {

constexpr char kBrand[] = "Brevik";
constexpr std::size_t kBrandTextChars = 45;
constexpr std::uint16_t kNoFamily = 255;

// Icons of the printer families, by model family number.
constexpr std::array<UINT, 7> kFamilyIcons = {IDI_PRINTER_DESKTOP,   IDI_PRINTER_DESKTOP, IDI_PRINTER_DESKTOP,
                                              IDI_PRINTER_DESKTOP,   IDI_PRINTER_DESKTOP, IDI_PRINTER_WORKGROUP,
                                              IDI_PRINTER_COLOR};

enum class Missing {
    Keep,   // the line stays as the template has it
    One,    // the value reads "1.0"
    Blank,  // label and value are emptied
};
struct LibraryLine {
    const wchar_t* file;
    int label;  // 0: none
    int value;
    Missing missing;
};
constexpr LibraryLine kLibraries[] = {
    {L"QVTDX5DD.DLL", 0, IDC_ABOUT_DD_VERSION, Missing::Keep},
    {L"QVTDX5DL.DLL", IDC_ABOUT_DL_LABEL, IDC_ABOUT_DL_VERSION, Missing::Keep},
    {L"QVTDX5DA.DLL", IDC_ABOUT_DA_LABEL, IDC_ABOUT_DA_VERSION, Missing::One},
    {L"QVTDX5TD.DLL", IDC_ABOUT_TD_LABEL, IDC_ABOUT_TD_VERSION, Missing::Blank},
    {L"QVTDX5TE.DLL", IDC_ABOUT_TE_LABEL, IDC_ABOUT_TE_VERSION, Missing::Blank},
    {L"QVTDX5TF.DLL", IDC_ABOUT_TF_LABEL, IDC_ABOUT_TF_VERSION, Missing::Blank},
    {L"QVTDX5BJ.DLL", IDC_ABOUT_BJ_LABEL, IDC_ABOUT_BJ_VERSION, Missing::Blank},
};

const pages::PageSpec kSpec{};

class AboutPage : public pages::Page {
public:
    AboutPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}

    void Init() override
    {
        const SheetContext& c = Context();
        if (c.printerName)
            SetText(IDC_ABOUT_PRINTER, c.printerName);
        if (c.modelFamily != kNoFamily && c.modelFamily < kFamilyIcons.size()) {
            // The icon lives as long as the language library; the control does not own it.
            if (const HICON icon = dialogs::LoadDlIcon(kFamilyIcons[c.modelFamily]))
                SendDlgItemMessageW(Window(), IDC_ABOUT_ICON, STM_SETICON, WPARAM(icon), 0);
        }
        const bool brand = IsBrand(c);
        SetText(IDC_ABOUT_BRAND_1, BrandText(brand ? IDS_ABOUT_PRODUCT_BREVIK : IDS_ABOUT_PRODUCT));
        SetText(IDC_ABOUT_BRAND_2, BrandText(brand ? IDS_ABOUT_COPYRIGHT_BREVIK : IDS_ABOUT_COPYRIGHT));
        SetText(IDC_ABOUT_BRAND_3, BrandText(brand ? IDS_ABOUT_WEB_BREVIK : IDS_ABOUT_WEB));
        for (const LibraryLine& line : kLibraries)
            ShowLibrary(line);
    }

private:
    static bool IsBrand(const SheetContext& c)
    {
        const std::size_t n = sizeof kBrand - 1;
        return strnlen(c.modelName, sizeof c.modelName) >= n &&
               CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, c.modelName, int(n), kBrand, int(n)) == CSTR_EQUAL;
    }
    static std::wstring BrandText(UINT id) { return String(id).substr(0, kBrandTextChars); }

    void ShowLibrary(const LibraryLine& line)
    {
        const std::optional<std::wstring> version = dialogs::FileVersionOf(dialogs::FindLibraryFile(line.file));
        if (line.label) {
            if (version || line.missing != Missing::Blank)
                SetText(line.label, text::FormatOne<wchar_t>(Text(line.label), line.file, 260));
            else
                SetText(line.label, L"");
        }
        if (version)
            SetText(line.value, *version);
        else if (line.missing == Missing::One)
            SetText(line.value, L"1.0");
        else if (line.missing == Missing::Blank)
            SetText(line.value, L"");
    }
};

}  // namespace

extern "C" INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<AboutPage>(window, message, wParam, lParam);
}
