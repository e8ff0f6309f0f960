// Edits keys of INI files.
#pragma once

#include "engine/GenericInfo.h"

class UpdateIniInfo : public GenericInfo {
public:
    explicit UpdateIniInfo(OstrafelEngine* engine);

    // Lines of this command have no applicability mode: every field is an argument.
    bool ParseCommand(const CStdStr& line) override { return ParseAllFields(line); }
    bool HandleCommand(const CStdStringList& arguments) override;

    // key=value: split at the first "=", blanks around both parts dropped; no "=" is all key.
    static void SplitField(const CStdStr& field, CStdStr& key, CStdStr& value);
};
