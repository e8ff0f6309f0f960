// qvtaglistcall <library path> <printer name>: loads the library and calls its
// ConvertTagListToDevmode for the printer, for the tests that need the call made from a process
// of a given name. Exit code: the call's result (1 success, 0 failure); 2 for bad use; 3 when the
// library or its export is missing.
#include <windows.h>

#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const HMODULE library = LoadLibraryA(argv[1]);
    if (!library)
        return 3;
    using ConvertTagList = LONG(WINAPI*)(DWORD, LPSTR, LPVOID, PDEVMODEW);
    const auto convert =
        reinterpret_cast<ConvertTagList>(GetProcAddress(library, "ConvertTagListToDevmode"));
    if (!convert)
        return 3;
    std::vector<BYTE> devmode(4096);
    const LONG result = convert(0, argv[2], nullptr, reinterpret_cast<PDEVMODEW>(devmode.data()));
    FreeLibrary(library);
    return int(result);
}
