// Hands the queued uninstall-log operations to the log library, which is loaded for this moment
// only.
#include <windows.h>

#include <vector>

#include "../engine/DebugLog.h"
#include "../engine/OstrafelEngine.h"
#include "LogLibrary.h"
#include "QelLogApi.h"

namespace uninstlog {

ModulePathHook ModulePathFn = OwnModulePath;

CStdStr SiblingPath(const CStdStr& modulePath, const CStdStr& fileName)
{
    const size_t cut = modulePath.find_last_of("\\:");
    const size_t dirLength = cut == CStdStr::npos ? 0 : cut + 1;
    if (dirLength + fileName.size() > kMaxSiblingPath)
        return fileName;
    return modulePath.substr(0, dirLength) + fileName;
}

CStdStr OwnModulePath() try {
    // Module paths may pass MAX_PATH; the fall-back to the bare name is decided on the whole path.
    constexpr DWORD kLongest = 32768;
    std::vector<char> path(kLongest);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), kLongest);
    if (length == 0 || length >= kLongest)
        return CStdStr();
    return CStdStr(path.data(), length);
} catch (...) {
    return CStdStr();
}

}  // namespace uninstlog

void OstrafelEngine::FlushLogOps(const CStdStr& qualifier) try {
    DebugLog << "OstrafelEngine::flushLogOps: logging operations..." << '\n';
    if (logOps_.empty())
        return;

    const CStdStr path = uninstlog::SiblingPath(uninstlog::ModulePathFn(), qellog::kLibraryName);
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) {
        DebugLog << "OstrafelEngine::FlushLogOps: Could not load QelLog, error code " << GetLastError() << '\n';
        return;
    }

    auto addAnyItem = reinterpret_cast<qellog::AddAnyItemProc>(GetProcAddress(library, qellog::kAddAnyItemName));
    if (addAnyItem) {
        for (const LogOp& op : logOps_)
            addAnyItem(op.component.c_str(), op.item.c_str(), op.type, op.useQualifier ? qualifier.c_str() : "");
    } else {
        DebugLog << "OstrafelEngine::FlushLogOps: could not get address of AddAnyItem" << '\n';
    }

    auto addDriverNameEx =
        reinterpret_cast<qellog::AddDriverNameExProc>(GetProcAddress(library, qellog::kAddDriverNameExName));
    if (addDriverNameEx)
        addDriverNameEx(driverName_.c_str(), qualifier.c_str(), int(networkLevel_));

    FreeLibrary(library);
} catch (...) {
}
