#include "StartMenuInfo.h"

#include <objbase.h>

StartMenuInfo::StartMenuInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelAddGroup") {}

bool StartMenuInfo::Process()
{
    HRESULT com = CoInitialize(nullptr);
    bool result = GenericInfo::Process();
    if (SUCCEEDED(com))
        CoUninitialize();
    return result;
}

bool StartMenuInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("StartMenuInfo", arguments);
}
