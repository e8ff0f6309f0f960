#include "SystemPath.h"

#include <windows.h>
#include <shlobj.h>

#include "../engine/DebugLog.h"
#include "FileOp.h"
#include "OSInfo.h"
#include "Registry.h"

namespace {

// Every platform query gets this many characters; an answer that does not fit counts as none.
constexpr DWORD kBufferChars = MAX_PATH;

const char* const kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kDefaultUserShellFolders =
    ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kCommonShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A folder text as PathObject keeps it: backslashes, no trailing separator.
CStdStr Normalised(const CStdStr& text)
{
    PathObject path;
    path.SetDirectory(text);
    return path.directory();
}

// The length of the part that has no parent: "C:" or "\\server\share".
size_t RootLength(const CStdStr& dir)
{
    if (dir.size() >= 2 && dir[1] == ':')
        return 2;
    if (dir.compare(0, 2, "\\\\") == 0) {
        size_t server = dir.find('\\', 2);
        if (server == CStdStr::npos)
            return dir.size();
        size_t share = dir.find('\\', server + 1);
        return share == CStdStr::npos ? dir.size() : share;
    }
    return 0;
}

CStdStr Parent(const CStdStr& dir)
{
    size_t root = RootLength(dir);
    size_t cut = dir.find_last_of('\\');
    if (cut == CStdStr::npos || cut < root)
        return dir.substr(0, root);
    return dir.substr(0, cut);
}

// Nothing is appended to a folder the system did not report.
CStdStr Join(const CStdStr& dir, const CStdStr& sub)
{
    if (dir.empty())
        return CStdStr();
    PathObject path;
    path.SetDirectory(dir);
    path.AppendSubDir(sub);
    return path.directory();
}

// length is what the query returned: 0 on failure, the size needed when the buffer was short.
CStdStr Answer(const char* buffer, DWORD length)
{
    if (length == 0 || length >= kBufferChars)
        return CStdStr();
    return Normalised(CStdStr(buffer, length));
}

CStdStr WindowsDirectory()
{
    char buffer[kBufferChars] = "";
    return Answer(buffer, GetWindowsDirectoryA(buffer, kBufferChars));
}

CStdStr SystemDirectory()
{
    char buffer[kBufferChars] = "";
    return Answer(buffer, GetSystemDirectoryA(buffer, kBufferChars));
}

CStdStr TempDirectory()
{
    char buffer[kBufferChars] = "";
    return Answer(buffer, GetTempPathA(kBufferChars, buffer));
}

CStdStr CurrentDirectory()
{
    char buffer[kBufferChars] = "";
    return Answer(buffer, GetCurrentDirectoryA(kBufferChars, buffer));
}

CStdStr ProgramDirectory()
{
    char buffer[kBufferChars] = "";
    // A full buffer means the name was cut short.
    DWORD length = GetModuleFileNameA(nullptr, buffer, kBufferChars);
    if (length == 0 || length >= kBufferChars)
        return CStdStr();
    return PathObject(CStdStr(buffer, length)).directory();
}

// Both spooler queries: local machine, default environment, level 1.
CStdStr PrinterDriverDirectory()
{
    char buffer[kBufferChars] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer), kBufferChars, &needed))
        return CStdStr();
    buffer[kBufferChars - 1] = '\0';
    return Normalised(buffer);
}

CStdStr PrintProcessorDirectory()
{
    char buffer[kBufferChars] = "";
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer), kBufferChars, &needed))
        return CStdStr();
    buffer[kBufferChars - 1] = '\0';
    return Normalised(buffer);
}

CStdStr DocumentsDirectory()
{
    char buffer[kBufferChars] = "";
    if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PERSONAL, FALSE))
        return CStdStr();
    buffer[kBufferChars - 1] = '\0';
    return Normalised(buffer);
}

CStdStr RegistryFolder(const char* root, const char* key, const char* name)
{
    Registry registry;
    CStdStr text = registry.ReadString(root, key, name);
    if (text.size() >= kBufferChars)
        return CStdStr();
    return Normalised(text);
}

// The current user's folder, or the one every user shares: on the 9x family that is the default
// user's, elsewhere the common one.
CStdStr ShellFolder(bool allUsers, const char* userName, const char* commonName)
{
    if (!allUsers)
        return RegistryFolder("HKCU", kUserShellFolders, userName);
    if (OSInfo().Is9x())
        return RegistryFolder("HKU", kDefaultUserShellFolders, userName);
    return RegistryFolder("HKLM", kCommonShellFolders, commonName);
}

CStdStr DriverCache(const char* platform)
{
    return Join(WindowsDirectory(), CStdStr("Driver Cache\\") + platform);
}

// The cabinet of the driver files: on 64-bit platforms the first that exists of the x64 and
// amd64 caches, else the 32-bit one, which is taken even when missing.
PathObject DriverCabinet()
{
    PathObject path;
    if (!OSInfo().Is64Bit()) {
        path.SetDirectory(DriverCache("i386"));
        path.SetName("driver.CAB");
    } else {
        for (const char* platform : {"x64", "amd64"}) {
            path.SetDirectory(DriverCache(platform));
            path.SetName("driver.CAB");
            if (path.HasDirectory() && FileOp::Exists(path))
                return path;
        }
        path.SetDirectory(DriverCache("i386"));
        path.SetName("driver32.CAB");
    }
    // Without the Windows directory a bare name would point at the current directory.
    if (!path.HasDirectory())
        return PathObject();
    return path;
}

CStdStr PrinterDriverVersionDirectory()
{
    OSInfo os;
    if (os.IsNT5OrLater())
        return Join(PrinterDriverDirectory(), "3");
    if (os.GetOSCode() == OSInfo::NT4)
        return Join(PrinterDriverDirectory(), "2");
    return PrinterDriverDirectory();
}

// The driver directory, or on the NT family the folder levels above it.
CStdStr AboveDriverDirectory(int levels)
{
    CStdStr dir = PrinterDriverDirectory();
    if (dir.empty() || !OSInfo().IsNT())
        return dir;
    for (int i = 0; i < levels; ++i)
        dir = Parent(dir);
    return dir;
}

CStdStr WindowsDrive()
{
    CStdStr dir = WindowsDirectory();
    return dir.size() >= 2 && dir[1] == ':' ? dir.substr(0, 2) : CStdStr();
}

}  // namespace

SystemPath::SystemPath(int code, bool allUsers)
{
    CStdStr dir;
    switch (code) {
    case folders::kProgramGrandparent:
    case folders::kProgramGrandparentAgain:
        dir = Parent(Parent(ProgramDirectory()));
        break;
    case folders::kCommonFiles:
        dir = RegistryFolder("HKLM", kCurrentVersionKey, "CommonFilesDir");
        break;
    case folders::kCurrentDirectory:
        dir = CurrentDirectory();
        break;
    case folders::kDesktop:
        dir = ShellFolder(allUsers, "Desktop", "Common Desktop");
        break;
    case folders::kDriverCabinet: {
        PathObject cabinet = DriverCabinet();
        SetDirectory(cabinet.directory());
        SetName(cabinet.name());
        return;
    }
    case folders::kDriverCache:
        dir = DriverCache(OSInfo().Is64Bit() ? "x64" : "i386");
        break;
    case folders::kDriverCacheI386:
        dir = DriverCache("i386");
        break;
    case folders::kDriverCacheAmd64:
        dir = DriverCache("amd64");
        break;
    case folders::kDriverCacheX64:
        dir = DriverCache("x64");
        break;
    case folders::kFonts:
        dir = Join(WindowsDirectory(), "Fonts");
        break;
    case folders::kProgramDirectory:
        dir = ProgramDirectory();
        break;
    case folders::kPrinterDrivers:
        dir = PrinterDriverDirectory();
        break;
    case folders::kPrinterDriversVersion:
        dir = PrinterDriverVersionDirectory();
        break;
    case folders::kPrintProcessors:
        dir = PrintProcessorDirectory();
        break;
    case folders::kProgramFiles:
        dir = RegistryFolder("HKLM", kCurrentVersionKey, "ProgramFilesDir");
        break;
    case folders::kSendTo:
        dir = RegistryFolder("HKCU", kUserShellFolders, "SendTo");
        break;
    case folders::kDriversGrandparent:
        dir = AboveDriverDirectory(2);
        break;
    case folders::kDriversParent:
        dir = AboveDriverDirectory(1);
        break;
    case folders::kProgramsMenu:
        dir = ShellFolder(allUsers, "Programs", "Common Programs");
        break;
    case folders::kSystemDirectory:
        dir = SystemDirectory();
        break;
    case folders::kInfDirectory:
        dir = Join(WindowsDirectory(), "Inf");
        break;
    case folders::kWindowsDrive:
        dir = WindowsDrive();
        break;
    case folders::kTempDirectory:
        dir = TempDirectory();
        break;
    case folders::kWindowsDirectory:
        dir = WindowsDirectory();
        break;
    case folders::kWin40Drivers:
        dir = Join(Join(Parent(PrinterDriverDirectory()), "Win40"), "0");
        break;
    case folders::kDriversVersion3:
        dir = Join(PrinterDriverDirectory(), "3");
        break;
    case folders::kDriversVersion2:
        dir = Join(PrinterDriverDirectory(), "2");
        break;
    case folders::kCommonAppData:
        dir = RegistryFolder("HKLM", kCommonShellFolders, "Common AppData");
        break;
    case folders::kDocuments:
        dir = DocumentsDirectory();
        break;
    default:
        DebugLog << "SystemPath::ctor: invalid path code " << code << '\n';
        return;
    }
    SetDirectory(dir);
}
