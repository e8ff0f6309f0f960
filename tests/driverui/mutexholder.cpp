// Holds named mutexes in a process of its own, for the serialisation tests:
//   qvmutexholder <event base> <ms> hold|abandon <mutex name>...
// Takes every mutex, sets the event "<base>-ready", then keeps them for <ms> or until the event
// "<base>-stop" is set (both events are the caller's). "hold" releases them before exiting;
// "abandon" exits still owning them. Exit code 0, or 2 for bad arguments, 3 when a mutex cannot
// be taken, 4 when an event cannot be opened.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    const std::string base = argv[1];
    const DWORD ms = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    const std::string mode = argv[3];
    if (mode != "hold" && mode != "abandon")
        return 2;

    const HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, (base + "-ready").c_str());
    const HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, (base + "-stop").c_str());
    if (!ready || !stop)
        return 4;

    std::vector<HANDLE> mutexes;
    for (int i = 4; i < argc; ++i) {
        const HANDLE mutex = CreateMutexA(nullptr, FALSE, argv[i]);
        if (!mutex)
            return 3;
        const DWORD wait = WaitForSingleObject(mutex, 10000);
        if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
            return 3;
        mutexes.push_back(mutex);
    }
    SetEvent(ready);
    WaitForSingleObject(stop, ms);

    if (mode == "abandon")
        ExitProcess(0);
    for (HANDLE mutex : mutexes) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    return 0;
}
