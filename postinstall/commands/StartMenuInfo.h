// Creates start-menu groups and shortcuts.
#pragma once

#include "engine/GenericInfo.h"

class StartMenuInfo : public GenericInfo {
public:
    explicit StartMenuInfo(OstrafelEngine* engine);
    // Shortcuts are shell objects: the lines run with COM initialised.
    bool Process() override;
    bool HandleCommand(const CStdStringList& arguments) override;
};
