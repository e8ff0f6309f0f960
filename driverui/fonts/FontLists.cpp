#include "FontLists.h"

#include <vector>

#include "InstallLog.h"
#include "PrinterList.h"

namespace fontfiles {
namespace {

// A list file is a few hundred records at most; anything far larger is not one of ours.
constexpr std::uint64_t kMaxListFile = 4u << 20;

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWhole(const std::string& path, std::vector<std::uint8_t>& out)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                               : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    ReadResult result = ReadResult::Failed;
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && std::uint64_t(size.QuadPart) <= kMaxListFile) {
        out.resize(std::size_t(size.QuadPart));
        DWORD got = 0;
        if (out.empty() || (ReadFile(file, out.data(), DWORD(out.size()), &got, nullptr) && got == out.size()))
            result = ReadResult::Read;
    }
    CloseHandle(file);
    return result;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    const bool written = (bytes.empty() || (WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr) &&
                                            put == bytes.size())) &&
                         FlushFileBuffers(file);
    CloseHandle(file);
    if (!written || !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

FontListFile::FontListFile(std::string path, std::vector<std::uint8_t> bytes)
    : path_(std::move(path)), records_(std::move(bytes))
{
}

std::unique_ptr<FontListFile> FontListFile::Open(const std::string& path, HANDLE printer, const std::string& printerName)
{
    if (path.empty())
        return nullptr;
    std::vector<std::uint8_t> bytes;
    const ReadResult read = ReadWhole(path, bytes);
    // A file we cannot read now (held, refused) keeps its fonts: nothing is done to it.
    if (read == ReadResult::Failed)
        return nullptr;
    if (read == ReadResult::Missing || bytes.size() < 4) {
        if (!ReplaceFile(path, {}))
            return nullptr;
        installlog::RegisterWithInstallLog(printer, printerName, installlog::LogKind::Printer, {path, {}, {}, {}});
        bytes.clear();
    }
    auto list = std::unique_ptr<FontListFile>(new FontListFile(path, bytes));
    // A damaged tail is kept beside the list before the list is written without it.
    if (list->records_.Truncated())
        ReplaceFile(path + ".BAD", bytes);
    return list;
}

FontListFile::~FontListFile()
{
    Close();
}

bool FontListFile::Close()
{
    if (closed_)
        return true;
    closed_ = true;
    return !records_.Changed() || ReplaceFile(path_, records_.Bytes());
}

std::optional<recordlist::RecordList> ReadFontList(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (path.empty() || ReadWhole(path, bytes) != ReadResult::Read)
        return std::nullopt;
    return recordlist::RecordList(std::move(bytes));
}

void MoveSoftFontValue(FontListFile& list, const std::string& printerName)
{
    std::unique_ptr<PrinterList> old = PrinterList::Open(printerName, kSoftFontList);
    if (!old || old->Records().Empty())
        return;
    const recordlist::RecordList& from = old->Records();
    std::vector<std::uint8_t> merged = list.Records().Bytes();
    merged.insert(merged.end(), from.Bytes().begin(), from.Bytes().end());
    recordlist::RecordList combined(merged);
    if (!ReplaceFile(list.Path(), combined.Bytes())) {
        old->Discard();
        return;
    }
    list.Records() = std::move(combined);
    old->Records().Clear();
    old->Close();
}

}  // namespace fontfiles
