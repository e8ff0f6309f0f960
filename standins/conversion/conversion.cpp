// The job-conversion library's entries as the document events reach them: the one the rendering
// driver would call (only looked up) and the conversion after the job, in a rundll32 process
// ("runConvert" finds runConvertW) or in the printing process. Each call is one line appended to
// the file QVTDX5LU_RECORD names: the entry, its argument text with U+0001 written as "|", the
// current directory, and whether the temporary file (the argument's third part) exists.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ConversionApi.h"
#include "LaunchCommands.h"

namespace {

std::string Narrow(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void Record(const std::string& line)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QVTDX5LU_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

}  // namespace

extern "C" int __stdcall ConvertDataForNetwork(void*)
{
    Record("ConvertDataForNetwork");
    return 1;
}

extern "C" void __stdcall runConvertW(HWND, HINSTANCE, LPWSTR arguments, int)
try {
    std::wstring text = arguments ? arguments : L"";
    std::wstring parts[4];
    std::size_t part = 0;
    for (wchar_t c : text) {
        if (c == docevents::kConversionSeparator && part < 3)
            ++part;
        else
            parts[part] += c;
    }
    for (wchar_t& c : text)
        if (c == docevents::kConversionSeparator)
            c = L'|';
    wchar_t dir[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, dir);
    const bool exists = GetFileAttributesW(parts[2].c_str()) != INVALID_FILE_ATTRIBUTES;
    Record("runConvertW\t" + Narrow(text) + "\t" + Narrow(dir) + "\t" + (exists ? "file" : "no file"));
} catch (...) {
}
