// Unpacks the uninstaller package and runs its install engine.
#pragma once

#include "engine/GenericInfo.h"

class UninstallInfo : public GenericInfo {
public:
    explicit UninstallInfo(OstrafelEngine* engine);
    bool HandleCommand(const CStdStringList& arguments) override;
};
