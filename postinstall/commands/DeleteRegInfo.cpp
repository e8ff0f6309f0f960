#include "DeleteRegInfo.h"

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/Registry.h"

DeleteRegInfo::DeleteRegInfo(OstrafelEngine* engine, const CStdStr& driverName)
    : GenericInfo(engine, "DelReg", driverName)
{
}

bool DeleteRegInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 2) {
        DebugLog << "PrtDrvDataInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const CStdStr root = engine_->DecodeMacros(arguments[0]);
    const CStdStr key = engine_->DecodeMacros(arguments[1]);
    // Without a value name the key's default value goes.
    const CStdStr name = arguments.size() > 2 ? engine_->DecodeMacros(arguments[2]) : CStdStr();
    Registry reg;
    return reg.DeleteValue(root, key, name);
}
