// One queued uninstall-log operation; the commands queue them and the uninstaller command hands
// the queue to the log library.
#pragma once

#include "../engine/StdStr.h"

struct LogOp {
    int type = 0;
    CStdStr item;
    CStdStr component;
    bool useQualifier = false;
};
