// Deletes files named by the script, now or at the next restart.
#pragma once

#include "engine/GenericInfo.h"

class DeleteFileInfo : public GenericInfo {
public:
    explicit DeleteFileInfo(OstrafelEngine* engine);
    bool HandleCommand(const CStdStringList& arguments) override;
};
