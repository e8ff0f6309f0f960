#include "UninstallInfo.h"

#include "engine/OstrafelEngine.h"

UninstallInfo::UninstallInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelUninstall") {}

bool UninstallInfo::HandleCommand(const CStdStringList& arguments)
{
    // The log library gets what the run recorded even while the uninstaller itself is not set up.
    const CStdStr qualifier = arguments.size() > 1 ? engine_->DecodeMacros(arguments[1]) : CStdStr();
    engine_->FlushLogOps(qualifier);
    return NotCarriedOut("UninstallInfo", arguments);
}
