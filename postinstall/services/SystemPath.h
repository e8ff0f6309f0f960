// A folder of the system chosen by a numeric code (0 to 29), as a PathObject with an empty name
// for the caller to fill in. An invalid code, or a folder the system does not report, leaves the
// path empty.
#pragma once

#include "PathObject.h"

class SystemPath : public PathObject {
public:
    // The all-users flag counts only for the desktop (3) and the programs menu (18).
    explicit SystemPath(int code, bool allUsers = false);
};
