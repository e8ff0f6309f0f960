// A folder of the system chosen by a numeric code (0 to 29), as a PathObject with an empty name
// for the caller to fill in. An invalid code, or a folder the system does not report, leaves the
// path empty.
#pragma once

#include "PathObject.h"

// The folder codes, by the folder each names (the table of the system folders).
namespace folders {
enum Code : int {
    kProgramGrandparent = 0,  // the program's directory, two levels up
    kCommonFiles = 1,  // "CommonFilesDir"
    kCurrentDirectory = 2,  // the current working directory
    kDesktop = 3,  // the desktop (all users with the flag)
    kDriverCabinet = 4,  // the driver cabinet file (a path with a name)
    kDriverCache = 5,  // "Driver Cache" of this platform
    kDriverCacheI386 = 6,  // "Driver Cache\\i386"
    kDriverCacheAmd64 = 7,  // "Driver Cache\\amd64"
    kDriverCacheX64 = 8,  // "Driver Cache\\x64"
    kFonts = 9,  // the fonts folder
    kProgramDirectory = 10,  // the program's directory
    kPrinterDrivers = 11,  // the printer-driver directory
    kPrinterDriversVersion = 12,  // kPrinterDrivers + the version folder of this system
    kPrintProcessors = 13,  // the print-processor directory
    kProgramFiles = 14,  // "ProgramFilesDir"
    kSendTo = 15,  // the user's "SendTo"
    kDriversGrandparent = 16,  // kPrinterDrivers; on the NT family its grandparent
    kDriversParent = 17,  // kPrinterDrivers; on the NT family its parent
    kProgramsMenu = 18,  // the programs menu (all users with the flag)
    kSystemDirectory = 19,  // the system directory
    kInfDirectory = 20,  // the "Inf" folder
    kWindowsDrive = 21,  // the drive of the Windows directory
    kTempDirectory = 22,  // the temporary directory
    kWindowsDirectory = 23,  // the Windows directory
    kWin40Drivers = 24,  // the parent of kPrinterDrivers + "Win40\\0"
    kDriversVersion3 = 25,  // kPrinterDrivers + "3"
    kDriversVersion2 = 26,  // kPrinterDrivers + "2"
    kCommonAppData = 27,  // "Common AppData"
    kProgramGrandparentAgain = 28,  // the same as kProgramGrandparent
    kDocuments = 29,  // the user's documents
};
}  // namespace folders

class SystemPath : public PathObject {
public:
    // The all-users flag counts only for folders::kDesktop and folders::kProgramsMenu.
    explicit SystemPath(int code, bool allUsers = false);
};
