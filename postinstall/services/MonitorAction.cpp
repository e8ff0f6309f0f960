#include "MonitorAction.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "../engine/DebugLog.h"

namespace MonitorAction {

bool MonitorExists(const CStdStr& name)
{
    DWORD needed = 0, count = 0;
    EnumMonitorsA(nullptr, 1, nullptr, 0, &needed, &count);
    if (needed == 0) {
        DebugLog << "MonitorAction::MonitorExists: First call to EnumMonitors failed with code " << GetLastError()
                 << '\n';
        return false;
    }
    std::vector<BYTE> buffer(needed);
    if (!EnumMonitorsA(nullptr, 1, buffer.data(), needed, &needed, &count)) {
        DebugLog << "MonitorAction::monitorExists: Call to EnumMonitors() failed. Error code: " << GetLastError()
                 << '\n';
        return false;
    }
    const auto* monitors = reinterpret_cast<const MONITOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (monitors[i].pName && std::strcmp(monitors[i].pName, name.c_str()) == 0)
            return true;
    return false;
}

}  // namespace MonitorAction
