// The protocol every property page of the dialog library follows, as one base class: a page
// derives from Page, declares what it shows in a PageSpec, overrides the hooks it needs, and
// exports its procedure as PageProcedure<ItsClass>. The base does the rest:
//
//   WM_INITDIALOG   accepts the sheet context (both self references), stores it in DWLP_USER,
//                   counts the page for its sheet kind, asks for the summary window (document
//                   pages that say so), then Init, Fill, UpdateStates and permission greying
//   PSN_SETACTIVE   Fill, UpdateStates, greying (values may have changed on another page)
//   PSN_KILLACTIVE  Validate (leaving is allowed unless it says no)
//   PSN_APPLY       the OK-pressed flags, PSM_UNCHANGED for the Apply button, and the commit once
//                   the sheet's last page applied (document sheet: Apply only; device: OK too)
//   PSN_RESET       nothing is written back
//   PSN_HELP        the help file's contents, and the context's help flag
//   WM_HELP, WM_CONTEXTMENU  the page's help table
//   6283 (Defaults) every listed entry takes its default, refresh, refill
//
// The context's feature entries are reached through EntryView (bounded accessors over the
// offsets of FeatureBindings.h); a page never casts into an entry itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "EntryView.h"
#include "SheetCalls.h"
#include "SheetContext.h"

namespace pages {

// A help table: (control ID, help context ID) pairs ending with {0, 0}; kNoHelp marks a control
// without help.
struct HelpPair {
    DWORD control;
    DWORD context;
};
inline constexpr DWORD kNoHelp = 0xFFFFFFFF;

enum class SheetKind { Document, Device };

// The Defaults button every page that has one uses.
inline constexpr int kDefaultsButton = 6283;

// What a page declares about itself, constant for its procedure.
struct PageSpec {
    // The entries the page shows: change detection compares these with the saved entries, and
    // Defaults restores them.
    std::span<const std::int16_t> features;
    // Controls disabled while the user may not change settings (permission flag 0).
    std::span<const int> lockedControls;
    // WM_HELP and WM_CONTEXTMENU; null: the page has no help table.
    const HelpPair* help = nullptr;
    // Document pages except About ask for the summary window when they open.
    bool asksForSummary = false;
};

class Page {
public:
    Page(HWND window, SheetContext* context, const PageSpec& layout);
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // ---- Hooks ---------------------------------------------------------------------------

    // Once, when the page opens, after the context is stored and the page counted: fixed lists,
    // fonts, hidden placeholders.
    virtual void Init() {}
    // Every control from the current entries: at opening, on PSN_SETACTIVE, after a constraint
    // refresh and after Defaults.
    virtual void Fill() {}
    // Enabled, shown and hidden states that depend on other features; runs after every Fill and
    // after each change, before the permission greying.
    virtual void UpdateStates() {}
    // WM_COMMAND of a control (Defaults is the protocol's); true when handled.
    virtual bool Command(int id, int code, HWND control) { return false; }
    // WM_HSCROLL and WM_VSCROLL of a scroll bar or trackbar; true when handled.
    virtual bool Scroll(HWND bar, int code, int position) { return false; }
    // WM_NOTIFY of a control (the sheet's PSN_ codes are the protocol's); true when handled.
    virtual bool Notify(const NMHDR& header, LRESULT& result) { return false; }
    // Any other message; true when handled, with the dialog procedure's answer in result.
    virtual bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }
    // PSN_KILLACTIVE: false keeps the user on the page (the page has said why).
    virtual bool Validate() { return true; }
    // PSN_APPLY, before the protocol's bookkeeping: store what only the controls hold.
    virtual void BeforeApply(bool ok) {}
    // Change detection beyond the listed entries (say, the printer configuration block).
    virtual bool ChangedBeyondEntries() const { return false; }
    // Defaults for what EntryView::RestoreDefault does not cover; runs after the listed entries
    // took their defaults and before the refresh.
    virtual void RestoreOwnDefaults() {}

    // ---- The sheet -------------------------------------------------------------------------

    HWND Window() const { return window_; }
    HWND Frame() const { return GetParent(window_); }
    SheetContext& Context() const { return *context_; }
    // The document flag of the context (its opened flag) tells the kinds apart.
    SheetKind Kind() const;
    // The user may change settings (the context's permission flag).
    bool MayChange() const { return context_->permission != 0; }

    // ---- Entries -------------------------------------------------------------------------

    // The current and the saved entry of an identifier; an empty view when the model has none.
    EntryView Entry(int id) const;
    EntryView SavedEntry(int id) const;
    // After the user changed feature `id`: a constrained entry gets its changed flag, the
    // driver's refresh runs and every control is filled again; then the states, change
    // detection and the summary row (0: every row; -1: none).
    void ValueChanged(int id, int summaryRow = 0);
    // Stores v as the current value and runs ValueChanged; false (nothing done) when the entry is
    // missing or already holds v.
    bool Store(int id, std::int16_t v, int summaryRow = 0);
    // PSM_CHANGED when any listed entry (or ChangedBeyondEntries) differs from the saved one,
    // else PSM_UNCHANGED.
    void DetectChanges();
    // For Fill, when a stored value is not among those the page offers: stores v, and when the
    // value changed and the entry is constrained, runs the driver's refresh once the fill is
    // done. A fill inside that refresh never starts another, so a value the refresh moves off
    // the list again cannot refill without end.
    void Settle(int id, std::int16_t v);
    // The driver's refresh procedure (by the name the context holds) on the current block, then
    // Fill, UpdateStates and greying.
    void RunRefresh();
    // Fill, UpdateStates and greying.
    void Refill();
    // What the Defaults button does.
    void RestoreDefaults();

    // ---- The driver library ----------------------------------------------------------------

    // CallBackAccess; its 16-bit result, 0 when the driver library lacks the export.
    WORD CallBack(DWORD type, void* data);
    // A copy of the working devmode with the current entries written back (CallBackAccess 36).
    bool DevmodeCopy(devmode::Buffer& buffer);

    // ---- Controls and texts --------------------------------------------------------------

    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // A string of the language library (empty when it has none), and one with its "%s" filled.
    static std::wstring String(UINT id);
    static std::wstring Format(UINT id, std::wstring_view value);
    void SetText(int id, std::wstring_view text);
    std::wstring Text(int id) const;
    void Enable(int id, bool on);
    void Show(int id, bool on);
    void SetCheck(int id, bool on);
    bool Checked(int id) const;
    // Combo boxes whose item data is the value an item stands for.
    void ComboClear(int id);
    int ComboAdd(int id, std::wstring_view text, LPARAM data);
    // Selects the item with this data; false (no selection) when none has it.
    bool ComboSelect(int id, LPARAM data);
    // The selected item's data; nullopt without a selection.
    std::optional<LPARAM> ComboSelection(int id) const;

    // The summary window beside the document sheet: one row again (0 every row), the paper
    // preview filled again, the printer picture repainted. Nothing without a summary window.
    void RefreshSummary(int row = 0);
    void RefillSummaryPreview();
    void RepaintSummaryPicture();

    // The protocol's message handling; PageProcedure calls it.
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_INITDIALOG's work after construction.
    void Open();

private:
    INT_PTR SheetNotify(const NMHDR& header, LPARAM lParam);
    void Apply(bool ok);
    void Help(const HELPINFO* info);
    void ContextHelp(HWND target);
    void GreyLocked();
    std::uint16_t* Bookkeeping(int which);

    HWND window_;
    SheetContext* context_;
    const PageSpec& spec_;
    bool settled_ = false;   // a Settle during this fill asks for the refresh
    bool settling_ = false;  // that refresh is running
};

// CallBackAccess of the context's driver library; its 16-bit result, 0 when the library lacks
// the export. For code outside a page (the summary window, dialogs a page opens).
WORD CallBack(SheetContext* context, DWORD type, void* data);

// The window's page object; null before WM_INITDIALOG and after a refused context.
Page* PageOf(HWND window);
// The sheet context a page stored in its user slot.
SheetContext* ContextOf(HWND page);

using MakePageFn = Page* (*)(HWND window, SheetContext* context);
INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, MakePageFn make);

// The dialog procedure of page class P, constructible from (HWND, SheetContext*). Export it:
//   extern "C" INT_PTR CALLBACK PaperDlgProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
//   { return pages::PageProcedure<PaperPage>(w, m, wp, lp); }
template <class P>
INT_PTR PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(window, message, wParam, lParam,
                    [](HWND w, SheetContext* c) -> Page* { return new P(w, c); });
}

}  // namespace pages
