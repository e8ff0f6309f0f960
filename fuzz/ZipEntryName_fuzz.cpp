#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "services/ZipEntryName.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The component as the platform opens it: trailing dots and blanks dropped.
CStdStr AsOpened(const CStdStr& component)
{
    size_t end = component.size();
    while (end > 0 && (component[end - 1] == '.' || component[end - 1] == ' '))
        --end;
    return component.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CStdStr name(reinterpret_cast<const char*>(data), size);
    if (!ZipEntryStaysInside(name))
        return 0;
    // An accepted name is relative, names no drive or stream, and never climbs: no component is
    // "..", nor dots and blanks the platform could shorten to one.
    FUZZ_CHECK(name.empty() || !IsSeparator(name[0]));
    FUZZ_CHECK(name.find(':') == CStdStr::npos);
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        const CStdStr component = name.substr(start, end - start);
        FUZZ_CHECK(component != "..");
        if (AsOpened(component).empty())
            FUZZ_CHECK(std::count(component.begin(), component.end(), '.') < 2);
        start = end + 1;
    }
    return 0;
}
