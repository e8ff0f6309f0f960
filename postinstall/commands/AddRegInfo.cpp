#include "AddRegInfo.h"

#include <algorithm>
#include <cstdio>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/DriverComponent.h"

namespace {

constexpr std::uint32_t kTypeBits = 0xFFFF0001;
constexpr std::uint32_t kDwordType = 0x00010001;
constexpr std::uint32_t kBinaryType = 0x00000001;
constexpr std::uint32_t kNoClobber = 0x2;

}  // namespace

AddRegInfo::AddRegInfo(OstrafelEngine* engine, const CStdStr& driverName)
    : GenericInfo(engine, "AddReg", driverName)
{
}

RegValue AddRegInfo::setupRegValue(std::uint32_t flags, const CStdStr& text)
{
    RegValue value;
    const std::uint32_t type = flags & kTypeBits;
    if (type == kBinaryType)
        DebugLog << "setupRegValue: binary type not supported, assuming DWORD" << '\n';
    if (type == kDwordType || type == kBinaryType) {
        value.kind = RegValue::Number;
        value.number = std::uint32_t(ParseDecimal(text));
    } else {
        value.kind = RegValue::Text;
        value.text = text;
    }
    return value;
}

bool AddRegInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 3) {
        DebugLog << "PrtDrvDataInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    CStdStringList fields = arguments;
    fields.resize(std::max<size_t>(fields.size(), 5));
    const CStdStr root = engine_->DecodeMacros(fields[0]);
    const CStdStr key = engine_->DecodeMacros(fields[1]);
    const CStdStr name = engine_->DecodeMacros(fields[2]);
    // Scripts write these flags in hexadecimal (0x00010001) as often as in decimal.
    const std::uint32_t flags = ParseNumberText(fields[3]);
    const RegValue value = setupRegValue(flags, engine_->DecodeMacros(fields[4]));

    Registry reg;
    reg.CreateKey(root, key, true);
    if (!((flags & kNoClobber) && reg.ValueExists(root, key, name)) && !reg.WriteValue(root, key, name, value))
        return false;

    char item[1024];
    std::snprintf(item, sizeof item, "%s, \"%s\", %s", root.c_str(), key.c_str(), name.c_str());
    engine_->AddLogOp(3, item, "Uninstaller", true);
    return true;
}
