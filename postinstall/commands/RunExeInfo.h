// Runs programs named by the script: type 0 the extractors before the files are installed,
// type 1 the applications after everything else.
#pragma once

#include "engine/GenericInfo.h"

class RunExeInfo : public GenericInfo {
public:
    // The type selects the keyword only.
    RunExeInfo(OstrafelEngine* engine, int type);
    bool HandleCommand(const CStdStringList& arguments) override;

private:
    int type_;
};
