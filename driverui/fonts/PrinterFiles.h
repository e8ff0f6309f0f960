// The printer's font files in the directory of its driver files (from the spooler's level-2
// driver information). Every path is checked to stay inside that directory.
#pragma once

#include <windows.h>

#include <string>

namespace fontfiles {

struct PrinterFiles {
    std::string directory;  // with its separator
    std::string fontList;   // ".PFM"
    std::string metricList; // ".PCM"
    std::string fontCache;  // ".PCL"
};

// All empty when the driver's information cannot be read; "LFS_NONE" names when the printer's
// own information cannot.
PrinterFiles PrinterFontFiles(HANDLE printer);

// The files for a printer name in a directory; empty paths for a name that would leave it.
PrinterFiles FontFilesIn(const std::string& directory, const std::string& printerName);

}  // namespace fontfiles
