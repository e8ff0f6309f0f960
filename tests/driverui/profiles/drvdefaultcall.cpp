// qvdrvdefault <library path> <printer name>: loads the library and asks its DrvConvertDevMode
// for the printer's driver default (CDM_DRIVER_DEFAULT), for the tests that need the call made
// from a process of a given name. Exit code: 1 when the call succeeded, 0 when it failed; 2 for
// bad use; 3 when the library or its export is missing.
#include <windows.h>

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const HMODULE library = LoadLibraryA(argv[1]);
    if (!library)
        return 3;
    using ConvertDevMode = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    const auto convert = reinterpret_cast<ConvertDevMode>(GetProcAddress(library, "DrvConvertDevMode"));
    if (!convert)
        return 3;
    const std::string narrow = argv[2];
    std::wstring printer(narrow.begin(), narrow.end());
    std::vector<BYTE> devmode(1256);
    LONG size = LONG(devmode.size());
    const BOOL done = convert(printer.data(), nullptr, reinterpret_cast<PDEVMODEW>(devmode.data()), &size,
                              4 /* CDM_DRIVER_DEFAULT */);
    FreeLibrary(library);
    return done ? 1 : 0;
}
