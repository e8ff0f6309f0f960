// The install engine that an uninstaller package carries: a library loaded by path and called
// by export name. What it does with the script is its own business; this side only passes texts
// and reads back an error code.
#pragma once

#include "../engine/StdStr.h"

class InstallEngine {
public:
    InstallEngine() = default;
    ~InstallEngine() { Unload(); }
    InstallEngine(const InstallEngine&) = delete;
    InstallEngine& operator=(const InstallEngine&) = delete;

    // False, with a log line, when the library cannot be loaded.
    bool Load(const CStdStr& path);
    void Unload();
    bool IsLoaded() const { return library_ != nullptr; }

    // Each does nothing when the library is not loaded (one log line) or lacks the export.
    void SetWorkingDir(const CStdStr& directory);
    void SetLanguage(const CStdStr& isoCode);
    // The engine's success flag; false when it was not called.
    bool DoInstall(const CStdStr& scriptPath);
    // 0 when it cannot be asked.
    long GetErrorCode();

private:
    void* ourGetProcAddress(const char* name);

    void* library_ = nullptr;
};
