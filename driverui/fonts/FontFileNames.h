// The names of the files the driver keeps beside its driver files for one printer: the soft-font
// list (".PFM"), the font-metric list (".PCM") and the cached font summaries (".PCL"). The
// printer name comes from whoever created the printer (a remote server's name too), so it is made
// a plain file name before it is joined to the directory. No platform headers: fuzzed natively.
#pragma once

#include <string>
#include <string_view>

namespace fontfiles {

inline constexpr std::string_view kFontListExtension = ".PFM";
inline constexpr std::string_view kMetricListExtension = ".PCM";
inline constexpr std::string_view kFontCacheExtension = ".PCL";
inline constexpr std::string_view kNoPrinterStem = "LFS_NONE";

// "qel" and the last backslash-separated component of the printer name, with every character that
// a file name cannot hold (control characters, < > : " / \ | ? *) and every ".." made '_';
// "LFS_NONE" for an empty name.
std::string FileStem(std::string_view printerName);

// The directory (ending in its separator, or empty) joined with the stem and the extension.
std::string DownloadFileName(std::string_view directory, std::string_view printerName, std::string_view extension);

// Whether the path names a file directly inside the directory: the directory is its prefix and
// what follows is one plain component (no separator, drive colon, "." or "..").
bool StaysInside(std::string_view directory, std::string_view path);

}  // namespace fontfiles
