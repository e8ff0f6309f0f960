// Unpacks the zip archives that the installation copied to the machine.
#pragma once

#include "engine/GenericInfo.h"

class UnzipFileInfo : public GenericInfo {
public:
    explicit UnzipFileInfo(OstrafelEngine* engine);
    bool HandleCommand(const CStdStringList& arguments) override;
};
