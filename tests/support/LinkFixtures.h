// Reading back a saved shell link (.LNK) through the shell's own link object; the caller
// initialises COM.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace qvtest {

inline std::wstring Wide(const std::string& text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

// What a saved link holds, read back through the shell's own link object.
struct LinkContents {
    std::string path, arguments, directory, description, icon;
    int iconNumber = -1;
};

inline bool ReadLink(const std::string& file, LinkContents& contents)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ok = ok && SUCCEEDED(persist->Load(Wide(file).c_str(), STGM_READ));
    char text[MAX_PATH * 2] = "";
    if (ok && SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
        contents.path = text;
    text[0] = 0;
    if (ok && SUCCEEDED(link->GetArguments(text, sizeof text)))
        contents.arguments = text;
    text[0] = 0;
    if (ok && SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
        contents.directory = text;
    text[0] = 0;
    if (ok && SUCCEEDED(link->GetDescription(text, sizeof text)))
        contents.description = text;
    text[0] = 0;
    if (ok && SUCCEEDED(link->GetIconLocation(text, sizeof text, &contents.iconNumber)))
        contents.icon = text;
    if (persist)
        persist->Release();
    link->Release();
    return ok;
}

}  // namespace qvtest
