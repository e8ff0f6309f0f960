#include "Page.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "Resources.h"
#include "Summary.h"
#include "TextFormat.h"

namespace pages {
namespace {

// The context's page bookkeeping: page count and apply counter of each sheet kind.
constexpr int kDocumentPages = 0;
constexpr int kDocumentApplied = 1;
constexpr int kDevicePages = 2;
constexpr int kDeviceApplied = 3;

// Texts a page formats end in buffers of this size at most.
constexpr std::size_t kFormatCapacity = 512;

template <class Fn>
Fn DriverExport(const SheetContext& c, const char* name)
{
    return c.module ? reinterpret_cast<Fn>(GetProcAddress(c.module, name)) : nullptr;
}

}  // namespace

Page::Page(HWND window, SheetContext* context, const PageSpec& layout)
    : window_(window), context_(context), spec_(layout)
{
}

SheetKind Page::Kind() const
{
    return context_->opened ? SheetKind::Document : SheetKind::Device;
}

std::uint16_t* Page::Bookkeeping(int which)
{
    return &context_->pageBookkeeping[which];
}

EntryView Page::Entry(int id) const
{
    return id > 0 && id < kFeatureSlots ? EntryView(context_->featureEntries[id]) : EntryView();
}

EntryView Page::SavedEntry(int id) const
{
    return id > 0 && id < kFeatureSlots ? EntryView(context_->savedFeatureEntries[id]) : EntryView();
}

void Page::Open()
{
    SetWindowLongPtrW(window_, DWLP_USER, LONG_PTR(context_));
    ++*Bookkeeping(Kind() == SheetKind::Document ? kDocumentPages : kDevicePages);
    if (spec_.asksForSummary && Kind() == SheetKind::Document)
        summary::Request(Frame(), context_);
    Init();
    Refill();
}

void Page::Refill()
{
    Fill();
    if (settled_ && !settling_) {
        settling_ = true;
        RunRefresh();
        settling_ = false;
        settled_ = false;
        DetectChanges();
        return;
    }
    settled_ = false;
    UpdateStates();
    GreyLocked();
}

void Page::Settle(int id, std::int16_t v)
{
    EntryView entry = Entry(id);
    if (!entry || entry.Current() == v)
        return;
    entry.SetCurrent(v);
    if (entry.Constrained()) {
        entry.MarkChanged();
        settled_ = true;
    }
}

void Page::GreyLocked()
{
    if (MayChange())
        return;
    for (int id : spec_.lockedControls)
        Enable(id, false);
}

void Page::ValueChanged(int id, int summaryRow)
{
    EntryView entry = Entry(id);
    if (entry.Constrained()) {
        entry.MarkChanged();
        RunRefresh();
    } else {
        UpdateStates();
        GreyLocked();
    }
    DetectChanges();
    if (summaryRow >= 0)
        RefreshSummary(summaryRow);
}

bool Page::Store(int id, std::int16_t v, int summaryRow)
{
    EntryView entry = Entry(id);
    if (!entry || entry.Current() == v)
        return false;
    entry.SetCurrent(v);
    ValueChanged(id, summaryRow);
    return true;
}

void Page::DetectChanges()
{
    bool changed = ChangedBeyondEntries();
    for (std::int16_t id : spec_.features)
        changed = changed || !Entry(id).SameValue(SavedEntry(id));
    SendMessageW(Frame(), changed ? PSM_CHANGED : PSM_UNCHANGED, WPARAM(window_), 0);
}

void Page::RunRefresh()
{
    // A driver library without the procedure leaves the entries as they are.
    if (const auto refresh = DriverExport<RefreshProcFn>(*context_, context_->refreshProcName))
        refresh(context_->featureBlock);
    Refill();
}

void Page::RestoreDefaults()
{
    bool constrained = false;
    for (std::int16_t id : spec_.features) {
        EntryView entry = Entry(id);
        if (!entry || !entry.RestoreDefault())
            continue;
        if (entry.Constrained()) {
            entry.MarkChanged();
            constrained = true;
        }
    }
    RestoreOwnDefaults();
    if (constrained)
        RunRefresh();
    else
        Refill();
    DetectChanges();
    RefreshSummary(0);
    RefillSummaryPreview();
}

WORD CallBack(SheetContext* context, DWORD type, void* data)
{
    WORD result = 0;
    if (const auto callBack = context ? DriverExport<CallBackAccessFn>(*context, kCallBackAccessExport) : nullptr)
        callBack(context, type, data, &result);
    return result;
}

WORD Page::CallBack(DWORD type, void* data)
{
    return pages::CallBack(context_, type, data);
}

bool Page::DevmodeCopy(devmode::Buffer& buffer)
{
    return CallBack(kCbDevmode, buffer.data()) == buffer.size();
}

std::wstring Page::String(UINT id)
{
    return dialogs::LoadDlString(id);
}

std::wstring Page::Format(UINT id, std::wstring_view value)
{
    return text::FormatOne<wchar_t>(String(id), value, kFormatCapacity);
}

void Page::SetText(int id, std::wstring_view text)
{
    SetDlgItemTextW(window_, id, std::wstring(text).c_str());
}

std::wstring Page::Text(int id) const
{
    const HWND control = Control(id);
    const int n = control ? GetWindowTextLengthW(control) : 0;
    if (n <= 0)
        return {};
    std::wstring text(std::size_t(n) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), n + 1)));
    return text;
}

void Page::Enable(int id, bool on)
{
    if (const HWND control = Control(id))
        EnableWindow(control, on);
}

void Page::Show(int id, bool on)
{
    if (const HWND control = Control(id))
        ShowWindow(control, on ? SW_SHOW : SW_HIDE);
}

void Page::SetCheck(int id, bool on)
{
    CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool Page::Checked(int id) const
{
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Page::ComboClear(int id)
{
    SendDlgItemMessageW(window_, id, CB_RESETCONTENT, 0, 0);
}

int Page::ComboAdd(int id, std::wstring_view text, LPARAM data)
{
    const std::wstring item(text);
    const auto index = SendDlgItemMessageW(window_, id, CB_ADDSTRING, 0, LPARAM(item.c_str()));
    if (index >= 0)
        SendDlgItemMessageW(window_, id, CB_SETITEMDATA, WPARAM(index), data);
    return int(index);
}

bool Page::ComboSelect(int id, LPARAM data)
{
    const auto count = SendDlgItemMessageW(window_, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendDlgItemMessageW(window_, id, CB_GETITEMDATA, WPARAM(i), 0) == data) {
            SendDlgItemMessageW(window_, id, CB_SETCURSEL, WPARAM(i), 0);
            return true;
        }
    }
    SendDlgItemMessageW(window_, id, CB_SETCURSEL, WPARAM(-1), 0);
    return false;
}

std::optional<LPARAM> Page::ComboSelection(int id) const
{
    const auto index = SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return std::nullopt;
    return LPARAM(SendDlgItemMessageW(window_, id, CB_GETITEMDATA, WPARAM(index), 0));
}

void Page::RefreshSummary(int row)
{
    summary::Refresh(context_, row);
}

void Page::RefillSummaryPreview()
{
    summary::RefillPreview(context_);
}

void Page::RepaintSummaryPicture()
{
    summary::RepaintPicture(context_);
}

void Page::Apply(bool ok)
{
    BeforeApply(ok);
    if (!ok)
        SendMessageW(Frame(), PSM_UNCHANGED, WPARAM(window_), 0);
    context_->okPressed[0] = context_->okPressed[1] = 1;
    const bool document = Kind() == SheetKind::Document;
    // The document sheet's OK is the driver library's to save; only its Apply commits here.
    if (document && ok)
        return;
    const std::uint16_t pages = *Bookkeeping(document ? kDocumentPages : kDevicePages);
    if (!CountApply(pages, *Bookkeeping(document ? kDocumentApplied : kDeviceApplied)))
        return;
    if (context_->featureBlock && context_->savedFeatureBlock)
        std::memcpy(context_->savedFeatureBlock, context_->featureBlock, context_->featureBlockSize);
    std::memcpy(context_->savedPrinterConfig, context_->printerConfig, sizeof context_->printerConfig);
    CallBack(kCbCommit, nullptr);
}

void Page::Help(const HELPINFO* info)
{
    if (!spec_.help || !info || info->iContextType != HELPINFO_WINDOW || !context_->helpFile)
        return;
    WinHelpW(static_cast<HWND>(info->hItemHandle), context_->helpFile, HELP_WM_HELP, ULONG_PTR(spec_.help));
}

void Page::ContextHelp(HWND target)
{
    if (spec_.help && context_->helpFile)
        WinHelpW(target, context_->helpFile, HELP_CONTEXTMENU, ULONG_PTR(spec_.help));
}

INT_PTR Page::SheetNotify(const NMHDR& header, LPARAM lParam)
{
    const auto& notify = *reinterpret_cast<const PSHNOTIFY*>(lParam);
    LONG_PTR answer = FALSE;
    switch (header.code) {
    case PSN_SETACTIVE:
        Refill();
        break;
    case PSN_KILLACTIVE:
        answer = Validate() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        Apply(notify.lParam != 0);
        answer = PSNRET_NOERROR;
        break;
    case PSN_RESET:
        break;
    case PSN_HELP:
        if (context_->helpFile)
            WinHelpW(window_, context_->helpFile, HELP_FINDER, 0);
        context_->helpRequested = 1;
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, answer);
    return TRUE;
}

INT_PTR Page::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = FALSE;
    switch (message) {
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == Frame() && header.code <= UINT(PSN_FIRST) && header.code >= UINT(PSN_LAST))
            return SheetNotify(header, lParam);
        LRESULT answer = 0;
        if (!Notify(header, answer))
            return FALSE;
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kDefaultsButton && HIWORD(wParam) == BN_CLICKED) {
            RestoreDefaults();
            SetFocus(Control(kDefaultsButton));
            return TRUE;
        }
        return Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
        return Scroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam), short(HIWORD(wParam)));
    case WM_HELP:
        Help(reinterpret_cast<const HELPINFO*>(lParam));
        return TRUE;
    case WM_CONTEXTMENU:
        ContextHelp(reinterpret_cast<HWND>(wParam));
        return TRUE;
    default:
        return Message(message, wParam, lParam, result) ? result : FALSE;
    }
}

namespace {
constexpr wchar_t kPageProperty[] = L"QvPage";
}

Page* PageOf(HWND window)
{
    return static_cast<Page*>(GetPropW(window, kPageProperty));
}

SheetContext* ContextOf(HWND page)
{
    return reinterpret_cast<SheetContext*>(GetWindowLongPtrW(page, DWLP_USER));
}

INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, MakePageFn make)
{
    if (message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* context = record ? reinterpret_cast<SheetContext*>(record->lParam) : nullptr;
        // A page that cannot trust its context shows nothing.
        if (!IsSheetContext(context))
            return TRUE;
        Page* page = make(window, context);
        SetPropW(window, kPageProperty, page);
        page->Open();
        return TRUE;
    }
    Page* page = PageOf(window);
    if (!page)
        return FALSE;
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kPageProperty);
        delete page;
        return FALSE;
    }
    return page->Handle(message, wParam, lParam);
}

}  // namespace pages
