// One queued uninstall-log operation; the commands queue them and the uninstaller command hands
// the queue to the log library.
#pragma once

#include "../engine/StdStr.h"

struct LogOp {
    // What the item text names.
    enum Type : int {
        File = 1,      // a full path
        Registry = 3,  // root, "key", value name
    };

    int type = 0;
    CStdStr item;
    CStdStr component;
    bool useQualifier = false;
};
