#include "DialogStrings.h"

#include "DialogLibrary.h"

namespace profiles {
namespace {

// LoadString's limit for one string.
constexpr std::size_t kStringBuffer = 4096;

}  // namespace

std::optional<std::string> DialogString(std::uint16_t number)
{
    return siblings::DialogLibrary().String(number, false, kStringBuffer);
}

std::string DialogStringRun(std::uint16_t first, std::size_t limit)
{
    const siblings::DialogLibrary library;
    std::string text;
    for (std::uint32_t number = first; number <= 0xFFFF && text.size() < limit; ++number) {
        const std::optional<std::string> part = library.String(std::uint16_t(number), false, kStringBuffer);
        if (!part)
            break;
        text += *part;
    }
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> args)
{
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next != args.end())
                    out += *next++;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace profiles
