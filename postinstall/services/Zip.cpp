#include "Zip.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>

// iowin32.h relies on unzip.h's declarations.
#include <unzip.h>
#include <iowin32.h>

#include "../engine/DebugLog.h"
#include "FileOp.h"
#include "OSInfo.h"
#include "ZipEntryName.h"

namespace {

// Longest entry name kept; a longer one is cut here.
constexpr unsigned kMaxEntryName = 260;

ZipDate FromArchive(const tm_unz& t)
{
    // A zero DOS date gives month "-1": it stays invalid and fails the conversion.
    ZipDate date;
    date.year = int(t.tm_year);
    date.month = int(t.tm_mon) + 1;
    date.day = int(t.tm_mday);
    date.hour = int(t.tm_hour);
    date.minute = int(t.tm_min);
    date.second = int(t.tm_sec);
    return date;
}

bool ToFileTime(const ZipDate& date, FILETIME& time)
{
    SYSTEMTIME system = {};
    system.wYear = WORD(date.year);
    system.wMonth = WORD(date.month);
    system.wDay = WORD(date.day);
    system.wHour = WORD(date.hour);
    system.wMinute = WORD(date.minute);
    system.wSecond = WORD(date.second);
    return SystemTimeToFileTime(&system, &time) != FALSE;
}

void SetTimes(HANDLE file, const FILETIME& time, const CStdStr& path)
{
    if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, &time, &time, &time)) {
        const DWORD error = GetLastError();
        DebugLog << "zip_extract_file: unable to call SetFileTime for " << path << " (Error: " << error << ")"
                 << '\n';
    }
}

// minizip does not look for the end record at offset 0, which is where the whole of an archive
// without entries sits.
bool IsEmptyArchive(const CStdStr& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char record[22] = {};
    DWORD read = 0;
    LARGE_INTEGER size = {};
    bool empty = GetFileSizeEx(file, &size) && ReadFile(file, record, sizeof record, &read, nullptr) &&
                 read == sizeof record && std::memcmp(record, "PK\5\6", 4) == 0;
    CloseHandle(file);
    auto field = [&](int offset) { return unsigned(record[offset]) | unsigned(record[offset + 1]) << 8; };
    // No disks, no entries, nothing after the record's comment.
    return empty && field(4) == 0 && field(6) == 0 && field(8) == 0 && field(10) == 0 &&
           size.QuadPart == LONGLONG(sizeof record + field(20));
}

// Walks the archive's entries in order, handing each to visit with its output path; visit says
// whether the entry was handled well.
bool WalkArchive(const CStdStr& path, const CStdStr& destination,
                 const std::function<bool(void* archive, const ZipEntryInfo&, const CStdStr&)>& visit)
{
    zlib_filefunc64_def io;
    fill_win32_filefunc64A(&io);
    unzFile archive = unzOpen2_64(path.c_str(), &io);
    if (archive == nullptr) {
        if (IsEmptyArchive(path))
            return true;
        DebugLog << "ZipListContents: could not open zip file " << path << '\n';
        return false;
    }

    bool ok = true;
    unz_global_info64 global = {};
    int status = unzGetGlobalInfo64(archive, &global);
    // An empty archive has no first entry to move to.
    if (status == UNZ_OK)
        status = global.number_entry == 0 ? UNZ_END_OF_LIST_OF_FILE : unzGoToFirstFile(archive);
    while (status == UNZ_OK) {
        unz_file_info64 info = {};
        char name[kMaxEntryName + 1] = "";
        status = unzGetCurrentFileInfo64(archive, &info, name, kMaxEntryName, nullptr, 0, nullptr, 0);
        if (status != UNZ_OK)
            break;
        ZipEntryInfo entry;
        entry.name = name;
        for (char& c : entry.name)
            if (c == '/')
                c = '\\';
        entry.size = info.uncompressed_size;
        entry.date = FromArchive(info.tmu_date);
        CStdStr output = destination.empty() ? entry.name : destination + "\\" + entry.name;
        if (!visit(archive, entry, output))
            ok = false;
        status = unzGoToNextFile(archive);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        DebugLog << "ZipListContents: damaged zip file " << path << " (Error: " << status << ")" << '\n';
        ok = false;
    }
    unzClose(archive);
    return ok;
}

}  // namespace

bool ZipListContents(const CStdStr& path, int mode, const CStdStr& destination, CStdStringList* list) try {
    if (path.empty())
        return false;
    const bool listing = (mode & ZipList) && list != nullptr;
    const bool extracting = (mode & ZipExtract) != 0;
    std::unique_ptr<char[]> buffer;
    if (extracting) {
        buffer.reset(new (std::nothrow) char[kZipBufferSize]);
        if (!buffer)
            return false;
    }
    if (listing)
        list->clear();

    return WalkArchive(path, destination, [&](void* archive, const ZipEntryInfo& entry, const CStdStr& output) {
        if (listing)
            list->push_back(entry.name);
        if (!extracting)
            return true;
        if (!ZipEntryStaysInside(entry.name)) {
            DebugLog << "ZipListContents: refusing entry outside the target: " << entry.name << '\n';
            return false;
        }
        return zip_extract_file(archive, entry.date, output, buffer.get());
    });
} catch (...) {
    return false;
}

bool ZipListEntries(const CStdStr& path, std::vector<ZipEntryInfo>& entries) try {
    entries.clear();
    if (path.empty())
        return false;
    return WalkArchive(path, CStdStr(), [&](void*, const ZipEntryInfo& entry, const CStdStr&) {
        entries.push_back(entry);
        return true;
    });
} catch (...) {
    return false;
}

bool ExtractZip(const PathObject& archive, const PathObject& destination)
{
    return ZipListContents(archive.FullPath(), ZipExtract, destination.FullPath());
}

bool zip_extract_file(void* archive, const ZipDate& date, const CStdStr& path, char* buffer) try {
    FILETIME time = {};
    const bool haveTime = ToFileTime(date, time);
    if (!haveTime) {
        const DWORD error = GetLastError();
        DebugLog << "zip_extract_file: unable to call SystemTimeToFileTime for " << path << "(Error: " << error
                 << ")" << '\n';
    }

    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(archive) != UNZ_OK) {
        DebugLog << "zip_extract_file: could not open the archive entry for " << path << '\n';
        return false;
    }

    const bool haveDirectory = FileOp::DirectoryExists(PathObject(path), true);
    if (!path.empty() && path.back() == '\\') {
        unzCloseCurrentFile(archive);
        return haveDirectory;
    }

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        DebugLog << "zip_extract_file: could not create " << path << " (Error: " << error << ")" << '\n';
        unzCloseCurrentFile(archive);
        return false;
    }

    bool ok = true;
    unsigned long long total = 0;
    for (;;) {
        int read = unzReadCurrentFile(archive, buffer, kZipBufferSize);
        if (read < 0) {
            DebugLog << "zip_extract_file: could not read the archive entry for " << path << " (Error: " << read
                     << ")" << '\n';
            ok = false;
            break;
        }
        if (read == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(file, buffer, DWORD(read), &written, nullptr) || written != DWORD(read)) {
            const DWORD error = GetLastError();
            DebugLog << "zip_extract_file: could not write " << path << " (Error: " << error << ")" << '\n';
            ok = false;
            break;
        }
        total += written;
    }
    // minizip checks the CRC only when the entry ended at its stated size; a stream that ends
    // early must be caught here.
    const int closed = unzCloseCurrentFile(archive);
    if (ok && closed == UNZ_CRCERROR) {
        DebugLog << "zip_extract_file: CRC error in " << path << '\n';
        ok = false;
    } else if (ok && total != info.uncompressed_size) {
        DebugLog << "zip_extract_file: entry data ends after " << total << " of " << info.uncompressed_size
                 << " bytes for " << path << '\n';
        ok = false;
    }
    if (!ok) {
        CloseHandle(file);
        DeleteFileA(path.c_str());
        return false;
    }

    OSInfo os;
    if (haveTime && os.IsNT())
        SetTimes(file, time, path);
    CloseHandle(file);
    if (haveTime && os.Is9x()) {
        HANDLE again = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
        SetTimes(again, time, path);
        if (again != INVALID_HANDLE_VALUE)
            CloseHandle(again);
    }
    return true;
} catch (...) {
    return false;
}
