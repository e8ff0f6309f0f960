// Comparing files by version resource and by last-write time.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "../engine/DebugLog.h"
#include "../engine/Tokenizer.h"
#include "FileOp.h"

namespace {

// Version resources are a few kilobytes; anything near this is not one.
constexpr DWORD kMaxVersionInfo = 1 << 20;

// Whether [p, p + size) lies inside the block.
bool Inside(const std::vector<char>& block, const void* p, size_t size)
{
    const char* c = static_cast<const char*>(p);
    return c >= block.data() && size_t(block.data() + block.size() - c) >= size;
}

bool LastWriteTime(const PathObject& path, FILETIME& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.FullPath().c_str(), GetFileExInfoStandard, &data)) {
        DebugLog << "FileOp::IsNewerTime: could not get file time for " << path.FullPath() << '\n';
        return false;
    }
    time = data.ftLastWriteTime;
    return true;
}

}  // namespace

namespace FileOp {

CStdStr GetFileVersion(const PathObject& path) try {
    if (!path.HasFileName())
        return CStdStr();
    const CStdStr full = path.FullPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(full.c_str(), &handle);
    if (size == 0 || size > kMaxVersionInfo)
        return CStdStr();
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(full.c_str(), 0, size, block.data()))
        return CStdStr();

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) ||
        length < sizeof(DWORD) || !Inside(block, value, sizeof(DWORD)))
        return CStdStr();
    DWORD translation;
    std::memcpy(&translation, value, sizeof translation);
    // Stored as language in the low half, code page in the high; the block name is the reverse.
    unsigned long swapped = ((translation & 0xFFFFul) << 16) | (translation >> 16);
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%08lx\\FileVersion", swapped);

    value = nullptr;
    length = 0;
    if (!VerQueryValueA(block.data(), query, &value, &length) || !Inside(block, value, 1))
        return CStdStr();
    const char* text = static_cast<const char*>(value);
    size_t room = size_t(block.data() + block.size() - text);
    CStdStr version(text, strnlen(text, room));
    for (char& c : version)
        if (c == ',')
            c = '.';
    return version;
} catch (...) {
    return CStdStr();
}

int CompareVersionText(const CStdStr& source, const CStdStr& destination) try {
    CStdStringList sourceParts, destinationParts;
    Tokenizer(source, '.').SplitAll(sourceParts);
    Tokenizer(destination, '.').SplitAll(destinationParts);
    for (size_t i = 0;; ++i) {
        if (i == sourceParts.size())
            return i == destinationParts.size() ? 0 : -1;
        if (i == destinationParts.size())
            return 1;
        long s = ParseDecimal(sourceParts[i]);
        long d = ParseDecimal(destinationParts[i]);
        if (s != d)
            return s > d ? 1 : -1;
    }
} catch (...) {
    return 0;
}

int CompareVersion(const PathObject& source, const PathObject& destination) try {
    return CompareVersionText(GetFileVersion(source), GetFileVersion(destination));
} catch (...) {
    return 0;
}

int IsNewerTime(const PathObject& source, const PathObject& destination) try {
    // Attributes only: a destination held open without sharing still has a time.
    FILETIME sourceTime, destinationTime;
    if (!LastWriteTime(source, sourceTime) || !LastWriteTime(destination, destinationTime))
        return 0;
    return CompareFileTime(&sourceTime, &destinationTime);
} catch (...) {
    return 0;
}

}  // namespace FileOp
