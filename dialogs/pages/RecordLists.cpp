#include "RecordLists.h"

#include <algorithm>

#include "Library.h"
#include "Page.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "SheetCalls.h"
#include "TextFormat.h"

namespace records {
namespace {

// The size of a block the driver library allocated from the context's heap; 0 when unknown.
std::size_t BlockSize(HANDLE heap, const void* block)
{
    if (!heap || !block)
        return 0;
    const SIZE_T size = HeapSize(heap, 0, block);
    return size == SIZE_T(-1) ? 0 : std::size_t(size);
}

}  // namespace

std::vector<listanswer::Item> Fetch(SheetContext* context, DWORD type, std::int16_t first, std::int16_t last)
{
    if (!context)
        return {};
    ListAnswer answer{};
    const WORD count = pages::CallBack(context, type, &answer);
    const auto* numbers = reinterpret_cast<const std::uint8_t*>(answer.numbers);
    std::vector<listanswer::Item> items =
        listanswer::Read({numbers, numbers ? BlockSize(context->heap, numbers) : 0},
                         {answer.names, answer.names ? BlockSize(context->heap, answer.names) : 0}, count, first, last);
    if (answer.numbers)
        HeapFree(context->heap, 0, answer.numbers);
    if (answer.names)
        HeapFree(context->heap, 0, answer.names);
    return items;
}

std::vector<listanswer::Item> PaperNames(SheetContext* context)
{
    constexpr std::size_t kMaxPapers = 512;
    PaperListRequest request{};
    request.size = sizeof request;
    request.mode = 1;
    pages::CallBack(context, kCbPaperList, &request);
    const std::size_t capacity = std::min<std::size_t>(request.count, kMaxPapers);
    std::vector<listanswer::Item> papers;
    if (capacity == 0)
        return papers;
    std::vector<std::uint8_t> buffer(capacity * kPaperListEntryBytes);
    request.buffer = buffer.data();
    request.capacity = DWORD(capacity);
    request.count = 0;
    pages::CallBack(context, kCbPaperList, &request);
    const std::size_t listed = std::min<std::size_t>(request.count, capacity);
    for (std::size_t i = 0; i < listed; ++i) {
        const auto code = std::int16_t(buffer[2 * i] | (buffer[2 * i + 1] << 8));
        const char* name = reinterpret_cast<const char*>(buffer.data() + 2 * capacity + kRecordNameBytes * i);
        papers.push_back({code, listanswer::FieldText(name, kRecordNameBytes)});
    }
    return papers;
}

std::wstring Wide(std::string_view narrow)
{
    if (narrow.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, narrow.data(), int(narrow.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, narrow.data(), int(narrow.size()), wide.data(), n);
    return wide;
}

std::string Narrow(std::wstring_view wide, std::size_t maxBytes)
{
    if (wide.empty() || maxBytes == 0)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(std::size_t(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), narrow.data(), n, nullptr, nullptr);
    // Cut by bytes, at a character's start.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < narrow.size();) {
        const std::size_t step = IsDBCSLeadByte(BYTE(narrow[i])) ? 2 : 1;
        if (i + step > maxBytes - 1 || i + step > narrow.size())
            break;
        i += step;
        keep = i;
    }
    narrow.resize(keep);
    return narrow;
}

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::wstring NoneItem()
{
    return L"(" + dialogs::LoadDlString(IDS_NONE) + L")";
}

void PlaceDialog(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT own{}, mine{};
    GetWindowRect(dialog, &mine);
    HMONITOR monitor = MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{sizeof info};
    GetMonitorInfoW(monitor, &info);
    const RECT screen = info.rcWork;
    if (!owner || !GetWindowRect(owner, &own))
        own = screen;
    const LONG width = mine.right - mine.left, height = mine.bottom - mine.top;
    LONG x = own.left + ((own.right - own.left) - width) / 2;
    LONG y = own.top + std::max<LONG>(0, (own.bottom - own.top) - height) * 2 / 5;
    x = std::clamp<LONG>(x, screen.left, std::max(screen.left, screen.right - width));
    y = std::clamp<LONG>(y, screen.top, std::max(screen.top, screen.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TakeCaption(HWND dialog, HWND page)
{
    wchar_t caption[128] = L"";
    if (page && GetDlgItemTextW(page, IDC_FORMS_GROUP, caption, int(std::size(caption))) > 0)
        SetWindowTextW(dialog, text::WithoutMnemonics<wchar_t>(caption).c_str());
}

void RefuseField(HWND dialog, int label, int field, UINT messageId)
{
    wchar_t labelText[128] = L"";
    GetDlgItemTextW(dialog, label, labelText, int(std::size(labelText)));
    std::wstring name = text::WithoutMnemonics<wchar_t>(labelText);
    // The message quotes the label, not its colon.
    while (!name.empty() && (name.back() == L':' || name.back() == L' '))
        name.pop_back();
    const std::wstring message = pages::Page::Format(messageId, name);
    const std::wstring caption = dialogs::LoadDlString(IDS_MESSAGE_CAPTION);
    MessageBoxW(dialog, message.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    HWND control = GetDlgItem(dialog, field);
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

std::vector<ComboItem> ComboItems(HWND combo)
{
    std::vector<ComboItem> items;
    const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0);
        std::wstring text(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
        if (length >= 0)
            SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text.data()));
        text.resize(wcslen(text.c_str()));
        items.push_back({text, LPARAM(SendMessageW(combo, CB_GETITEMDATA, WPARAM(i), 0))});
    }
    return items;
}

INT_PTR RunDialog(UINT templateId, HWND owner, DLGPROC procedure, LPARAM parameter)
{
    const DLGTEMPLATE* dialog = dialogs::LoadDlTemplate(templateId);
    if (!dialog)
        return -1;
    return DialogBoxIndirectParamW(dialogs::LanguageLibrary(), dialog, owner, procedure, parameter);
}

}  // namespace records
