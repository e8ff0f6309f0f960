// Writes registry values for one installed driver, from lines in the platform's add-registry
// form: root, key, value name, flags, value.
#pragma once

#include "engine/GenericInfo.h"
#include "services/Registry.h"

class AddRegInfo : public GenericInfo {
public:
    AddRegInfo(OstrafelEngine* engine, const CStdStr& driverName);

    // Lines of this command have no applicability mode: every field is an argument.
    bool ParseCommand(const CStdStr& line) override { return ParseAllFields(line); }
    bool HandleCommand(const CStdStringList& arguments) override;

    // The value a line writes: a number for the number types of the flags, else text.
    static RegValue setupRegValue(std::uint32_t flags, const CStdStr& text);
};
