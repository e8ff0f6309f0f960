// The printer's downloaded-font lists: record lists (the format of the printer values' lists)
// kept as whole files beside the driver files. A list is written back by replacing its file in
// one step, so a failed write leaves the fonts as they were.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "RecordList.h"

namespace fontfiles {

class FontListFile {
public:
    // Reads the whole file. A file that does not exist, or holds fewer than 4 bytes, is created
    // empty and registered with the install log for the printer. Null when it can be neither
    // read nor created: the caller then changes nothing.
    static std::unique_ptr<FontListFile> Open(const std::string& path, HANDLE printer, const std::string& printerName);
    ~FontListFile();
    FontListFile(const FontListFile&) = delete;
    FontListFile& operator=(const FontListFile&) = delete;

    recordlist::RecordList& Records() { return records_; }
    const std::string& Path() const { return path_; }
    // Writes the list back when it changed: a temporary file beside it, then a replace. False
    // when that failed (the old file is left as it was).
    bool Close();

private:
    FontListFile(std::string path, std::vector<std::uint8_t> bytes);

    std::string path_;
    recordlist::RecordList records_;
    bool closed_ = false;
};

// The records of a list file as they are, without creating it; nothing when it cannot be read.
std::optional<recordlist::RecordList> ReadFontList(const std::string& path);

// Writes the bytes to path through a temporary file in the same directory and a replace.
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Moves the records of the printer's old "SoftFont" value into the list (appended, then written
// to its file) and empties the value; the value is kept when the file could not be written.
void MoveSoftFontValue(FontListFile& list, const std::string& printerName);

}  // namespace fontfiles
