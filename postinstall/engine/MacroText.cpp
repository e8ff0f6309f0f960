#include "MacroText.h"

#include "DebugLog.h"

CStdStr ExpandMacros(const CStdStr& text, std::map<CStdStr, CStdStr>& variables,
                     const DirectoryOf& directory)
{
    CStdStr output;
    CStdStr name;
    char open = 0;
    for (char c : text) {
        if (!open) {
            if (c == '%' || c == '$') {
                open = c;
                name.clear();
            } else {
                output += c;
            }
            continue;
        }
        if (c != open) {
            name += c;
            continue;
        }
        bool number = false;
        long code = ParseDecimal(name, &number);
        if (open == '$') {
            if (number) {
                output += directory(code);
            } else {
                output += '$' + name + '$';
                DebugLog << "OstrafelEngine::DecodeMacros: invalid macro: " << name << '\n';
            }
        } else {
            const CStdStr& value = variables[ToLower(name)];
            if (value.empty() && number)
                output += directory(code);
            else
                output += value;
        }
        open = 0;
    }
    if (open) {
        DebugLog << "OstrafelEngine::DecodeMacros: Runaway macro in string " << text << '\n';
        output += open + name;
    }
    return output;
}
