#include "Resources.h"

#include "CodePages.h"
#include "Library.h"
#include "XlatedMaps.h"

namespace dialogs {
namespace {

std::uint16_t ResourceIdOf(const XlatedResourceRequest& r)
{
    return r.direct ? r.number : xlated::ResourceIdOf(r.number);
}

// A request is read only as far as its declared size covers the record.
template <class Request>
bool Usable(const Request* request)
{
    return request && request->size >= sizeof(Request);
}

HRSRC FindXlated(const XlatedResourceRequest* request)
{
    if (!Usable(request) || !LanguageLibrary())
        return nullptr;
    const std::uint16_t id = ResourceIdOf(*request);
    if (id == 0)
        return nullptr;
    return FindResourceW(LanguageLibrary(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(request->type));
}

}  // namespace

int LoadXlatedStringA(XlatedStringRequest* request)
{
    if (!Usable(request) || !request->buffer || request->length == 0)
        return 0;
    request->buffer[0] = '\0';
    const std::uint16_t id = request->direct ? request->number : xlated::StringIdOf(request->number);
    if (id == 0 || !LanguageLibrary())
        return 0;
    return LoadStringA(LanguageLibrary(), id, request->buffer, request->length);
}

HGLOBAL LoadXlatedResourceOf(const XlatedResourceRequest* request)
{
    const HRSRC found = FindXlated(request);
    return found ? LoadResource(LanguageLibrary(), found) : nullptr;
}

DWORD SizeofXlatedResource(const XlatedResourceRequest* request)
{
    const HRSRC found = FindXlated(request);
    return found ? SizeofResource(LanguageLibrary(), found) : 0;
}

WORD TrayId(WORD index)
{
    return xlated::TrayStringId(index);
}

std::wstring LoadDlString(UINT id)
{
    const wchar_t* text = nullptr;
    // A length of 0 asks for the resource's own read-only text, so no string is ever cut.
    const int n = LanguageLibrary() ? LoadStringW(LanguageLibrary(), id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
    return n > 0 && text ? std::wstring(text, std::size_t(n)) : std::wstring();
}

HBITMAP LoadDlBitmap(UINT id)
{
    if (!LanguageLibrary())
        return nullptr;
    return static_cast<HBITMAP>(
        LoadImageW(LanguageLibrary(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HICON LoadDlIcon(UINT id, int size)
{
    if (!LanguageLibrary())
        return nullptr;
    return static_cast<HICON>(LoadImageW(LanguageLibrary(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                                         size == 0 ? LR_DEFAULTSIZE : 0));
}

const DLGTEMPLATE* LoadDlTemplate(UINT id)
{
    const HMODULE language = LanguageLibrary();
    const HRSRC found = language ? FindResourceW(language, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG)) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(language, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

UINT ActiveDoubleByteCodePage()
{
    return text::DoubleByteCodePage(GetACP());
}

}  // namespace dialogs
