#include "Shortcut.h"

#include <windows.h>
#include <shlobj.h>

#include "../engine/DebugLog.h"
#include "FileOp.h"

Shortcut::LinkObjectHook Shortcut::CreateLinkObjectFn = Shortcut::PlatformLinkObject;

long Shortcut::PlatformLinkObject(IShellLinkA** link)
{
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                            reinterpret_cast<void**>(link));
}

void Shortcut::SetLocation(const PathObject& folder, const CStdStr& title)
{
    folder_ = folder;
    linkFile_ = PathObject();
    linkFile_.SetDirectory(folder.directory());
    linkFile_.SetName(title + ".LNK");
}

bool Shortcut::CreateLink() try {
    if (!FileOp::DirectoryExists(linkFile_, true))
        return false;

    IShellLinkA* link = nullptr;
    if (FAILED(CreateLinkObjectFn(&link)) || link == nullptr)
        return false;
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) || file == nullptr) {
        link->Release();
        return false;
    }

    // Every setting is tried, so the log names each one that failed.
    bool ok = true;
    const CStdStr target = target_.FullPath();
    if (FAILED(link->SetPath(target.c_str()))) {
        DebugLog << "Shortcut::CreateLink: failed to set shortcut path: " << target << '\n';
        ok = false;
    }
    if (!arguments_.empty() && FAILED(link->SetArguments(arguments_.c_str()))) {
        DebugLog << "Shortcut::CreateLink: failed to set shortcut arguments: " << arguments_ << '\n';
        ok = false;
    }
    // "C:" alone is the drive's current directory, not its root.
    CStdStr directory = target_.directory();
    if (directory.size() == 2)
        directory += '\\';
    if (FAILED(link->SetWorkingDirectory(directory.c_str()))) {
        DebugLog << "Shortcut::CreateLink: failed to set working directory: " << directory << '\n';
        ok = false;
    }
    if (!comment_.empty() && FAILED(link->SetDescription(comment_.c_str()))) {
        DebugLog << "Shortcut::CreateLink: failed to set comment: " << comment_ << '\n';
        ok = false;
    }
    if (icon_.HasFileName()) {
        const CStdStr icon = icon_.FullPath();
        if (FAILED(link->SetIconLocation(icon.c_str(), iconNumber_))) {
            DebugLog << "Shortcut::CraeteLink: failed to set icon path: " << icon << '\n';
            DebugLog << "\twith icon number: " << iconNumber_ << '\n';
            ok = false;
        }
    }

    if (ok) {
        const CStdStr linkPath = linkFile_.FullPath();
        int length = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, nullptr, 0);
        std::wstring wide(length > 0 ? size_t(length) : 1, L'\0');
        if (length > 0)
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide.data(), length);
        file->Save(wide.c_str(), TRUE);
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, folder_.directory().c_str(), nullptr);
    }

    file->Release();
    link->Release();
    return ok;
} catch (...) {
    return false;
}
