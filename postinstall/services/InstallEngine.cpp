#include "InstallEngine.h"

#include <windows.h>

#include "../engine/DebugLog.h"

namespace {

// The engine's exports are stdcall on the 32-bit platform.
using TextProc = void(WINAPI*)(const char*);
using DoInstallProc = BYTE(WINAPI*)(const char*, const char*, const char*);
using ErrorCodeProc = LONG(WINAPI*)();

}  // namespace

bool InstallEngine::Load(const CStdStr& path)
{
    Unload();
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        const DWORD error = GetLastError();
        DebugLog << "InstallEngine::loadTheDll: could not load " << path << " (error code: " << error << ")" << '\n';
        return false;
    }
    library_ = module;
    return true;
}

void InstallEngine::Unload()
{
    if (library_)
        FreeLibrary(static_cast<HMODULE>(library_));
    library_ = nullptr;
}

void* InstallEngine::ourGetProcAddress(const char* name)
{
    if (!library_) {
        DebugLog << "InstallEngine::ourGetProcAddress: DLL has not been loaded." << '\n';
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), name));
}

void InstallEngine::SetWorkingDir(const CStdStr& directory)
{
    if (auto proc = reinterpret_cast<TextProc>(ourGetProcAddress("SetWorkingDirA")))
        proc(directory.c_str());
}

void InstallEngine::SetLanguage(const CStdStr& isoCode)
{
    if (auto proc = reinterpret_cast<TextProc>(ourGetProcAddress("SetLanguageA")))
        proc(isoCode.c_str());
}

bool InstallEngine::DoInstall(const CStdStr& scriptPath)
{
    if (auto proc = reinterpret_cast<DoInstallProc>(ourGetProcAddress("DoInstallA")))
        return proc(scriptPath.c_str(), "", "") != 0;
    return false;
}

long InstallEngine::GetErrorCode()
{
    if (auto proc = reinterpret_cast<ErrorCodeProc>(ourGetProcAddress("GetErrorCode")))
        return proc();
    return 0;
}
