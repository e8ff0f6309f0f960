// Copies and expands files from the installation source into place.
#pragma once

#include "engine/GenericInfo.h"

class InstFileInfo : public GenericInfo {
public:
    explicit InstFileInfo(OstrafelEngine* engine);
    bool HandleCommand(const CStdStringList& arguments) override;
};
