// Unpacks the uninstaller package and runs its install engine, then hands the recorded
// uninstall-log operations to the log library.
#pragma once

#include "engine/GenericInfo.h"
#include "services/PathObject.h"

class UninstallInfo : public GenericInfo {
public:
    explicit UninstallInfo(OstrafelEngine* engine);
    // The section also holds the install-directory setting, which is not a command.
    bool ParseCommand(const CStdStr& line) override;
    bool HandleCommand(const CStdStringList& arguments) override;

private:
    void installUninstaller(const PathObject& package);
};
