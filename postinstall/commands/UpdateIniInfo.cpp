#include "UpdateIniInfo.h"

#include <windows.h>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "engine/QuickIni.h"

UpdateIniInfo::UpdateIniInfo(OstrafelEngine* engine) : GenericInfo(engine, "UpdateInis") {}

void UpdateIniInfo::SplitField(const CStdStr& field, CStdStr& key, CStdStr& value)
{
    // Only the first "=" splits: a value may hold "=" itself (Cmd=a=b keeps a=b).
    const size_t equals = field.find('=');
    key = Trim(field.substr(0, equals));
    value = equals == CStdStr::npos ? CStdStr() : Trim(field.substr(equals + 1));
}

bool UpdateIniInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 3) {
        DebugLog << "UpdateIniInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const CStdStr file = engine_->DecodeMacros(arguments[0]);
    const CStdStr section = engine_->DecodeMacros(arguments[1]);
    const CStdStr remove = engine_->DecodeMacros(arguments[2]);
    const CStdStr write = arguments.size() > 3 ? engine_->DecodeMacros(arguments[3]) : CStdStr();

    bool result = false;
    CStdStr key, value;
    if (!remove.empty()) {
        SplitField(remove, key, value);
        QuickDeleteIniString(file, section, key, value);
        result = true;
    }
    if (!write.empty()) {
        SplitField(write, key, value);
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            HANDLE created = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                         nullptr);
            if (created != INVALID_HANDLE_VALUE)
                CloseHandle(created);
        }
        result = QuickWriteIniString(file, section, key, value);
        if (!result) {
            DebugLog << "UpdateIniInfo::HandleCommand: QuickWriteIniString failed." << '\n';
            DebugLog << "\tFile = " << file << '\n';
            DebugLog << "\tSection = " << section << '\n';
            DebugLog << "\tKey Name = " << key << '\n';
            DebugLog << "\tValue = " << value << '\n';
        }
    }
    return result;
}
