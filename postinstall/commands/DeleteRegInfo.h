// Removes registry values for one installed driver, from lines in the platform's delete-registry
// form: root, key, optional value name.
#pragma once

#include "engine/GenericInfo.h"

class DeleteRegInfo : public GenericInfo {
public:
    DeleteRegInfo(OstrafelEngine* engine, const CStdStr& driverName);

    // Lines of this command have no applicability mode: every field is an argument.
    bool ParseCommand(const CStdStr& line) override { return ParseAllFields(line); }
    bool HandleCommand(const CStdStringList& arguments) override;
};
