#include "DialogStrings.h"

#include <vector>

#include "Library.h"
#include "SiblingNames.h"
#include "SiblingPath.h"

namespace profiles {
namespace {

// LoadString's limit for one string.
constexpr WORD kStringBuffer = 4096;

// Loads and frees the dialog library around one use.
class DialogLibrary {
public:
    DialogLibrary() : module_(LoadLibraryA(SiblingPathA(DriverModule(), kDialogLibrary.narrow).c_str())) {}
    ~DialogLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    DialogLibrary(const DialogLibrary&) = delete;
    DialogLibrary& operator=(const DialogLibrary&) = delete;

    std::optional<std::string> String(std::uint16_t number) const
    {
        const auto load =
            module_ ? reinterpret_cast<LoadXlatedStringProc>(GetProcAddress(module_, "LoadXlatedString"))
                    : nullptr;
        if (!load)
            return std::nullopt;
        std::vector<char> text(kStringBuffer, '\0');
        XlatedStringRequest request{};
        request.size = sizeof request;
        request.number = number;
        request.buffer = text.data();
        request.length = kStringBuffer;
        const int n = load(&request);
        if (n <= 0)
            return std::nullopt;
        text.back() = '\0';
        return std::string(text.data());
    }

private:
    HMODULE module_;
};

}  // namespace

std::optional<std::string> DialogString(std::uint16_t number)
{
    return DialogLibrary().String(number);
}

std::string DialogStringRun(std::uint16_t first, std::size_t limit)
{
    const DialogLibrary library;
    std::string text;
    for (std::uint32_t number = first; number <= 0xFFFF && text.size() < limit; ++number) {
        const std::optional<std::string> part = library.String(std::uint16_t(number));
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
