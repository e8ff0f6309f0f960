// The library's event lock held for a scope: the printer events, the upgrade and the rename
// serialise their work on it.
#pragma once

#include "Library.h"

namespace events {

class EventLockHeld {
public:
    EventLockHeld() { EnterCriticalSection(&EventLock()); }
    ~EventLockHeld() { LeaveCriticalSection(&EventLock()); }
    EventLockHeld(const EventLockHeld&) = delete;
    EventLockHeld& operator=(const EventLockHeld&) = delete;
};

}  // namespace events
