// The files beside the driver that hold what was downloaded to a printer: its soft-font list
// (".PFM"), its font-metric list (".PCM") and its cached font summary (".PCL"), named after the
// printer.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace events {

struct DownloadFiles {
    std::string softFonts;
    std::string metrics;
    std::string fontCache;
};

// "qel" and the printer name's last component, cut after its last '\', '/' or ':' so that any
// name stays a file of the directory; "LFS_NONE" when there is no name. The directory ends in its
// separator.
std::string DownloadFileName(std::string_view directory, std::string_view printerName, std::string_view extension);

// The printer's files in the directory of its driver files; all empty when the driver's
// information cannot be read.
DownloadFiles PrinterDownloadFiles(HANDLE printer);

}  // namespace events
