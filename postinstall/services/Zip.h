// Zip archives through minizip's unzip interface: listing, and extraction into a directory with
// its sub-directories and each entry's time stamp.
#pragma once

#include <vector>

#include "../engine/StdStr.h"
#include "PathObject.h"

// An entry's date and time as the archive stores it: the packing machine's local time, taken
// as it is, without a zone.
struct ZipDate {
    int year = 1980;
    int month = 1;  // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct ZipEntryInfo {
    CStdStr name;                  // "\" separators
    unsigned long long size = 0;  // uncompressed bytes
    ZipDate date;
};

// Bits of the ZipListContents mode.
enum ZipModes : int {
    ZipList = 1,
    ZipExtract = 2,
};

// Extraction reads and writes in pieces of this size.
inline constexpr unsigned kZipBufferSize = 16384;

// Lists (mode 1), extracts into destination (mode 2; the current directory when destination is
// empty) or both (3). The list gets the entry names in archive order, "\" separated, and is filled
// only when listing. Every entry is tried; false for an empty path, an archive that cannot be
// opened or whose directory is damaged, an entry refused for leaving the destination, and an
// entry that failed to extract.
bool ZipListContents(const CStdStr& path, int mode, const CStdStr& destination,
                     CStdStringList* list = nullptr);
// The entries with their sizes and dates; extracts nothing.
bool ZipListEntries(const CStdStr& path, std::vector<ZipEntryInfo>& entries);
// Every entry of the archive into the destination directory.
bool ExtractZip(const PathObject& archive, const PathObject& destination);

// Writes the archive's current entry (archive is minizip's unzFile) to path, making its directory
// first, and gives the file the entry's date as creation, access and write time. A path ending in
// "\" names a directory, which is only made. buffer holds kZipBufferSize bytes. On failure no
// partial file is left.
bool zip_extract_file(void* archive, const ZipDate& date, const CStdStr& path, char* buffer);
