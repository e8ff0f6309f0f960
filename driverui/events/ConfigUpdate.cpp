#include "ConfigUpdate.h"

#include "BuildNotice.h"
#include "InstallLog.h"
#include "Library.h"
#include "LibraryFiles.h"
#include "ProfileStore.h"
#include "UpdateRules.h"

namespace events {
namespace {

constexpr unsigned kFailedString = 6089;
constexpr unsigned kControlSectionString = 15007;
constexpr unsigned kFontsSectionString = 15011;
constexpr std::size_t kLongestConfigPath = 260;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string DriverString(unsigned id, const char* fallback)
{
    char text[512];
    const int n = LoadStringA(DriverModule(), id, text, int(sizeof text));
    return n > 0 ? std::string(text, std::size_t(n)) : std::string(fallback);
}

std::string ConfigFileFullName()
{
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::string path = std::string(dir, n) + "\\" + kConfigFile;
    return path.size() <= kLongestConfigPath ? path : std::string();
}

bool UpdateConfigFile(HANDLE printer, const std::string& printerName, bool mayShowBox)
{
    UpdateFiles files;
    // The library's own directory in the profile functions' narrow form; a directory the code
    // page cannot name has no update file we could open.
    files.libraryDir = ExactNarrow(LibraryDirectory()).value_or("");
    if (!files.libraryDir.empty() && Exists(files.libraryDir + kUpdateFile))
        files.updateFile = files.libraryDir + kUpdateFile;
    files.configFile = kConfigFile;
    files.versionSection = "QVTDX5DD";
    files.controlSection = DriverString(kControlSectionString, "UpdateControl");
    files.fontsSection = DriverString(kFontsSectionString, "AdditionalFonts");

    ProfileStore store;
    switch (RunIniUpdate(store, files)) {
    case UpdateResult::Unchanged:
        return true;
    case UpdateResult::Updated:
        installlog::RegisterWithInstallLog(printer, printerName,
                                           installlog::LogKind::Driver, {ConfigFileFullName(), {}, {}, {}});
        return true;
    case UpdateResult::Failed:
        break;
    }
    if (mayShowBox)
        notices::NoticeBox(printerName, DriverString(kFailedString, "Failed to update initialization files."),
                           MB_OK | MB_ICONWARNING);
    return false;
}

}  // namespace events
