#include "GenericInfo.h"

#include "DebugLog.h"

bool GenericInfo::Process()
{
    DebugLog << "GenericInfo::Process: Processing " << keyword_ << '\n';
    return false;
}
