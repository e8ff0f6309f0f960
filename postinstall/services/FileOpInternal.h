// Shared by the FileOp sources only.
#pragma once

#include <windows.h>

#include <vector>

#include "../engine/StdStr.h"

namespace fileop_detail {

// Longest text taken from a size-reporting platform call.
constexpr DWORD kMaxPathText = 32767;

// Text from a call that fills a buffer and, when it is too small, reports the size it needs
// (with or without the terminator). Empty on failure or beyond kMaxPathText.
template <class Fill>
CStdStr QueryText(Fill fill)
{
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD n = fill(buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return CStdStr();
        if (n < buffer.size())
            return CStdStr(buffer.data(), n);
        if (n > kMaxPathText)
            return CStdStr();
        buffer.assign(size_t(n) + 1, '\0');
    }
    return CStdStr();
}

// The folders the system reports, without a trailing separator; empty when unknown. Kept apart
// so that they can go over to the folder service.
CStdStr TempDirectory();
CStdStr WindowsDirectory();
CStdStr SystemDirectory();

}  // namespace fileop_detail
