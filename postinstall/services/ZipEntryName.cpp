#include "ZipEntryName.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The platform trims trailing dots and blanks from path components, so "..." and ".. " can
// end up meaning "..".
bool IsParentLike(const CStdStr& component)
{
    int dots = 0;
    for (char c : component) {
        if (c == '.')
            ++dots;
        else if (c != ' ')
            return false;
    }
    return dots >= 2;
}

}  // namespace

bool ZipEntryStaysInside(const CStdStr& name)
{
    if (!name.empty() && IsSeparator(name.front()))
        return false;
    if (name.find(':') != CStdStr::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        if (IsParentLike(name.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}
