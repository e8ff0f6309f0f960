// Work left for the next restart: the delayed move, the wininit.ini renames of the 9x family, and
// the batch file that removes directories at the next logon.
#include <windows.h>

#include <cstring>
#include <vector>

#include "../engine/DebugLog.h"
#include "../engine/TextFile.h"
#include "FileOp.h"
#include "FileOpInternal.h"
#include "OSInfo.h"
#include "Registry.h"

using namespace fileop_detail;

namespace {

constexpr DWORD kShortPathBuffer = 250;
// wininit.ini is read whole by the system at restart; a section beyond this is not one we wrote.
constexpr DWORD kMaxRenameSection = 1 << 20;

CStdStringList g_rebootRenameList;

// The 8.3 form, or nothing when the platform has none (a missing file) or it does not fit.
CStdStr ShortPath(const CStdStr& path)
{
    char buffer[kShortPathBuffer];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, kShortPathBuffer);
    if (n == 0 || n >= kShortPathBuffer)
        return CStdStr();
    return CStdStr(buffer, n);
}

bool ListHas(const CStdStringList& list, const CStdStr& line)
{
    for (const CStdStr& entry : list)
        if (EqualNoCase(entry, line))
            return true;
    return false;
}

CStdStr WininitPath() { return WindowsDirectory() + "\\wininit.ini"; }

// Adds the line to wininit.ini's [rename] section unless it is there. The whole section is
// rewritten: it holds one "NUL=" key per deletion, which a per-key write would collapse.
bool StoreInWininit(const CStdStr& line)
{
    const CStdStr ini = WininitPath();
    std::vector<char> section(4096);
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileSectionA("rename", section.data(), DWORD(section.size()), ini.c_str());
        if (n + 2 < section.size())
            break;
        if (section.size() >= kMaxRenameSection) {
            DebugLog << "FileOp::replaceOnReboot: the [rename] section of " << ini << " is too long"
                     << '\n';
            return false;
        }
        section.assign(section.size() * 2, '\0');
    }
    CStdStringList lines;
    for (size_t at = 0; at < n;) {
        size_t length = strnlen(section.data() + at, n - at);
        if (length == 0)
            break;
        lines.emplace_back(section.data() + at, length);
        at += length + 1;
    }
    if (ListHas(lines, line))
        return true;
    lines.push_back(line);

    CStdStr block;
    for (const CStdStr& entry : lines) {
        block += entry;
        block.push_back('\0');
    }
    block.push_back('\0');
    if (!WritePrivateProfileSectionA("rename", block.c_str(), ini.c_str())) {
        DebugLog << "FileOp::replaceOnReboot: could not write " << ini << " (Error code: "
                 << GetLastError() << ")" << '\n';
        return false;
    }
    return true;
}

// The command interpreter of the running platform: NT has no command.com in its Windows folder.
CStdStr Interpreter()
{
    if (OSInfo().Is9x())
        return WindowsDirectory() + "\\command.com";
    return SystemDirectory() + "\\cmd.exe";
}

}  // namespace

namespace FileOp {

const CStdStringList& RebootRenameList() { return g_rebootRenameList; }

bool replaceOnReboot(const CStdStr& existing, const CStdStr& newName) try {
    if (existing.empty())
        return false;
    DebugLog << "Attempting to move " << existing << " to " << (newName.empty() ? "NULL" : newName)
             << " on reboot." << '\n';

    // The 9x family has no delayed move at all.
    const bool nineX = OSInfo().Is9x();
    DWORD error = ERROR_CALL_NOT_IMPLEMENTED;
    if (!nineX) {
        DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT;
        // Without it the move at restart fails on the very file it is meant to replace.
        if (!newName.empty())
            flags |= MOVEFILE_REPLACE_EXISTING;
        if (MoveFileExA(existing.c_str(), newName.empty() ? nullptr : newName.c_str(), flags)) {
            DebugLog << "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; "
                        "MoveFileEx call."
                     << '\n';
            return true;
        }
        error = GetLastError();
    }

    PathObject parsed(existing);
    bool stored;
    if (parsed.HasDirectory() && !parsed.HasFileName()) {
        stored = addToRebootBatFile(parsed.directory());
    } else {
        CStdStr from = ShortPath(existing);
        CStdStr to = newName.empty() ? CStdStr("NUL") : ShortPath(newName);
        if (from.empty())
            from = existing;
        if (to.empty())
            to = newName;
        CStdStr line = to + "=" + from;
        if (!ListHas(g_rebootRenameList, line))
            g_rebootRenameList.push_back(line);
        // Only the 9x family reads wininit.ini; elsewhere the rename would never happen.
        if (nineX) {
            stored = StoreInWininit(line);
        } else {
            DebugLog << "FileOp::replaceOnReboot: MoveFileEx failed with code " << error << '\n';
            stored = false;
        }
    }
    if (!stored)
        return false;
    DebugLog << "! Reboot Required: To replace file on reboot. Inside FileOp::replaceOnReboot; "
                "wininit.ini change."
             << '\n';
    return true;
} catch (...) {
    return false;
}

}  // namespace FileOp

bool addToRebootBatFile(const CStdStr& directory) try {
    const CStdStr batch = TempDirectory() + "\\unsttmp0.bat";
    CStdStringList lines;
    {
        TextFile in;
        if (in.Open(batch, TextFile::ModeRead)) {
            CStdStr line;
            while (in.ReadString(line))
                lines.push_back(line);
            if (!lines.empty() && lines.back().find("del") != CStdStr::npos)
                lines.pop_back();
        }
    }
    lines.push_back("rmdir \"" + directory + "\"");
    lines.push_back("del \"" + batch + "\"");

    TextFile out;
    bool saved = out.Open(batch, TextFile::ModeWrite, TextFile::EncAnsi);
    for (size_t i = 0; saved && i < lines.size(); ++i)
        saved = out.WriteString(lines[i] + "\n");
    saved = out.Close() && saved;
    if (!saved) {
        DebugLog << "addToRebootBatFile: file " << batch << " could not be saved!" << '\n';
        return false;
    }

    RegValue command;
    command.kind = RegValue::Text;
    command.text = Interpreter() + " /C \"" + batch + "\"";
    Registry registry;
    if (!registry.WriteValue("HKLM", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                             "QelTmpDelBat", command)) {
        // The batch file alone never runs.
        DebugLog << "addToRebootBatFile: could not store the RunOnce value QelTmpDelBat" << '\n';
        return false;
    }
    return true;
} catch (...) {
    return false;
}
