// Copies one file from the installation source into place, expanding a compressed source on the
// way and replacing a destination that is in use.
#pragma once

#include "engine/GenericInfo.h"
#include "services/PathObject.h"

class InstFileInfo : public GenericInfo {
public:
    explicit InstFileInfo(OstrafelEngine* engine);
    // destination, source, temporary file [, delete source] [, uninstall component: 1 or 2]
    bool HandleCommand(const CStdStringList& arguments) override;

    // Expands (or plainly copies) source into destination. True only when the destination then
    // holds the whole expanded source; otherwise the destination is as it was.
    bool ourLZCopy(const PathObject& source, const PathObject& destination);

private:
    enum class Outcome {
        Installed,  // the destination holds the source, now or after the next restart
        NotNewer,   // the destination already holds an equal or newer file
        Failed,
    };

    Outcome install(const PathObject& source, const PathObject& destination, const PathObject& temp);
    Outcome replaceInUseNT(const PathObject& source, const PathObject& destination, const PathObject& temp);
    Outcome replaceInUse9x(const PathObject& source, const PathObject& destination, const PathObject& temp);
};
