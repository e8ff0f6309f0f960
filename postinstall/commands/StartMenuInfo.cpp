#include "StartMenuInfo.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <iterator>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/OSInfo.h"
#include "services/Shortcut.h"

namespace {

struct NamedFolder {
    const char* name;
    int id;
};

const NamedFolder kFolders[] = {
    {"DESKTOP", 0},           {"PROGRAMS", 2},          {"CONTROLS", 3},
    {"PRINTERS", 4},          {"PERSONAL", 5},          {"FAVORITES", 6},
    {"STARTUP", 7},           {"RECENT", 8},            {"SENDTO", 9},
    {"BITBUCKET", 10},        {"STARTMENU", 11},        {"DESKTOPDIRECTORY", 16},
    {"DRIVES", 17},           {"NETWORK", 18},          {"NETHOOD", 19},
    {"FONTS", 20},            {"TEMPLATES", 21},        {"COMMON_STARTMENU", 22},
    {"COMMON_PROGRAMS", 23},  {"COMMON_STARTUP", 24},   {"COMMON_DESKTOPDIRECTORY", 25},
    {"APPDATA", 26},          {"PRINTHOOD", 27},
};

}  // namespace

StartMenuInfo::StartMenuInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelAddGroup") {}

bool StartMenuInfo::Process()
{
    HRESULT com = CoInitialize(nullptr);
    bool result = GenericInfo::Process();
    if (SUCCEEDED(com))
        CoUninitialize();
    return result;
}

int StartMenuInfo::FolderId(const CStdStr& name)
{
    for (const NamedFolder& folder : kFolders)
        if (EqualNoCase(name, folder.name))
            return folder.id;
    return OSInfo().IsNT() ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
}

CStdStr StartMenuInfo::FolderPath(int folderId)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &list)) || !list)
        return CStdStr();
    char path[MAX_PATH] = "";
    const BOOL ok = SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
    // Virtual folders may answer with a parsing name ("::{...}") rather than failing.
    const bool drivePath = ok && path[0] && path[1] == ':' && path[2] == '\\';
    const bool networkPath = ok && path[0] == '\\' && path[1] == '\\';
    return drivePath || networkPath ? CStdStr(path) : CStdStr();
}

bool StartMenuInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 4) {
        DebugLog << "StartMenuInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const CStdStr shellPath = FolderPath(FolderId(arguments[0]));
    const CStdStr subFolder = engine_->DecodeMacros(arguments[1]);
    const CStdStr item = engine_->DecodeMacros(arguments[2]);
    const CStdStr target = engine_->DecodeMacros(arguments[3]);
    const CStdStr linkArguments = arguments.size() > 4 ? engine_->DecodeMacros(arguments[4]) : CStdStr();

    PathObject folder;
    bool created = false;
    if (shellPath.empty()) {
        // Without this check the link would land in the current directory.
        DebugLog << "StartMenuInfo::HandleCommand: folder " << arguments[0] << " has no file-system path." << '\n';
    } else {
        folder.SetDirectory(shellPath);
        if (!subFolder.empty())
            folder.AppendSubDir(subFolder);
        Shortcut link;
        link.SetLocation(folder, item);
        link.SetTarget(PathObject(target));
        link.SetArguments(linkArguments);
        created = link.CreateLink();
    }
    if (!created) {
        DebugLog << "StartMenuInfo::HandleCommand: failed to create link." << '\n';
        DebugLog << "\tLink folder: " << folder.FullPath() << '\n';
        DebugLog << "\tItem name: " << item << '\n';
        DebugLog << "\tTarget file: " << target << '\n';
        DebugLog << "\tArguments: " << linkArguments << '\n';
    }
    return true;
}
