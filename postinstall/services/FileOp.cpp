#include "FileOp.h"

#include <windows.h>

namespace FileOp {

bool Exists(const PathObject& path)
{
    return path.HasFileName() && GetFileAttributesA(path.FullPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool AnythingAt(const PathObject& path)
{
    CStdStr full = path.FullPath();
    return !full.empty() && GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES;
}

unsigned long ReplaceWith(const PathObject& source, const PathObject& destination)
{
    if (MoveFileExA(source.FullPath().c_str(), destination.FullPath().c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return GetLastError();
}

}  // namespace FileOp

PathObject get_temp_name(const PathObject& path)
{
    char name[MAX_PATH];
    CStdStr dir = path.directory().empty() ? CStdStr(".") : path.directory();
    if (!GetTempFileNameA(dir.c_str(), "tmp", 0, name))
        return PathObject();
    return PathObject(CStdStr(name));
}

PathObject get_temp_name()
{
    char dir[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, dir);
    if (n == 0 || n >= MAX_PATH)
        return PathObject();
    PathObject p;
    p.SetDirectory(dir);
    return get_temp_name(p);
}
