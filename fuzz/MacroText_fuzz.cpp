// The input is a script: its [Strings] lines fill the variable table, and every line of every
// section is expanded, as the commands do with their fields.
#include <cstddef>
#include <cstdint>
#include <map>

#include "FuzzCheck.h"
#include "engine/InfFile.h"
#include "engine/MacroText.h"
#include "engine/Tokenizer.h"

namespace {

// A few codes have directories, as on a machine; the rest have none.
CStdStr Directory(long code)
{
    switch (code) {
    case 1: return "C:\\QV5PKG";
    case 10: return "C:\\windows";
    case 777: return "C:\\Program Files\\Qelbrin";
    default: return CStdStr();
    }
}

bool HasMacroMark(const CStdStr& s)
{
    return s.find_first_of("%$") != CStdStr::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InfFile inf;
    inf.LoadFromText(CStdStr(reinterpret_cast<const char*>(data), size));
    std::map<CStdStr, CStdStr> variables;
    if (const CStdStringList* strings = inf.FindSection("Strings")) {
        for (const CStdStr& line : *strings) {
            CStdStr key, value;
            if (SplitKeyValue(line, key, value))
                variables[ToLower(key)] = value;
        }
    }
    for (const InfSection& section : inf.Sections()) {
        for (const CStdStr& line : section.lines) {
            const CStdStr expanded = ExpandMacros(line, variables, Directory);
            if (!HasMacroMark(line))
                FUZZ_CHECK(expanded == line);
        }
    }
    // A text made only of known plain variables expands to their values.
    for (const auto& [name, value] : variables) {
        if (HasMacroMark(name) || HasMacroMark(value))
            continue;
        const CStdStr expanded = ExpandMacros("%" + name + "%", variables, Directory);
        FUZZ_CHECK(expanded == value || (value.empty() && expanded == Directory(ParseDecimal(name))));
    }
    return 0;
}
