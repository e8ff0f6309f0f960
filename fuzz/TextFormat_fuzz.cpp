// The dialog library's format path over texts of a replaceable language library: a format,
// the one value its caller fills and the caller's buffer size, as narrow and as wide text; and
// the "..." fitting of a text into a width. Input: format, a zero byte, value, a zero byte, then
// two bytes of buffer size and one of width (missing bytes count as 0).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "TextFit.h"
#include "TextFormat.h"

namespace {

// Where the format's first "%s" conversion is, read as a C format reads "%%".
template <class Char>
bool HasTextConversion(std::basic_string_view<Char> f)
{
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        if (f[i] == Char('%')) {
            if (f[i + 1] == Char('s'))
                return true;
            ++i;
        }
    return false;
}

template <class Char>
void CheckFormat(std::basic_string_view<Char> format, std::basic_string_view<Char> value, std::size_t capacity)
{
    using String = std::basic_string<Char>;
    const std::size_t unlimited = format.size() + value.size() + 1;
    const String full = text::FormatOne<Char>(format, value, unlimited);
    const String cut = text::FormatOne<Char>(format, value, capacity);
    // Bounded: a buffer of `capacity` characters holds the result and its terminator.
    FUZZ_CHECK(cut.size() + 1 <= std::max<std::size_t>(capacity, 1));
    FUZZ_CHECK(cut == full.substr(0, std::min(full.size(), capacity == 0 ? 0 : capacity - 1)));
    if (!HasTextConversion(format)) {
        FUZZ_CHECK(full == String(format));  // used as it stands
        return;
    }
    // Exactly one value: the result is the empty-value result with the value put in one place.
    const String bare = text::FormatOne<Char>(format, {}, unlimited);
    FUZZ_CHECK(full.size() == bare.size() + value.size());
    bool placed = false;
    for (std::size_t k = 0; k <= bare.size() && !placed; ++k)
        placed = full.compare(0, k, bare, 0, k) == 0 && full.compare(k, value.size(), value) == 0 &&
                 full.compare(k + value.size(), String::npos, bare, k) == 0;
    FUZZ_CHECK(placed);
    FUZZ_CHECK(bare.size() < format.size());

    // The caller's buffer gets the bounded copy, and nothing past it.
    const std::size_t room = std::max<std::size_t>(capacity, 1);
    std::unique_ptr<Char[]> buffer(new Char[room]);
    const std::size_t copied = text::CopyBounded<Char>(full, buffer.get(), room);
    FUZZ_CHECK(copied == std::min(full.size(), room - 1) && buffer[copied] == Char(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end1 = std::min(input.find('\0'), input.size());
    const std::string_view format = input.substr(0, end1);
    const std::string_view rest = input.substr(std::min(end1 + 1, input.size()));
    const std::size_t end2 = std::min(rest.find('\0'), rest.size());
    const std::string_view value = rest.substr(0, end2);
    const std::string_view tail = rest.substr(std::min(end2 + 1, rest.size()));
    auto Byte = [&](std::size_t i) { return i < tail.size() ? std::uint8_t(tail[i]) : 0; };
    const std::size_t capacity = std::size_t(Byte(0)) | std::size_t(Byte(1)) << 8;
    const int width = Byte(2);

    CheckFormat<char>(format, value, capacity);
    const std::wstring wideFormat(format.begin(), format.end()), wideValue(value.begin(), value.end());
    CheckFormat<wchar_t>(wideFormat, wideValue, capacity);

    const std::string label = text::WithoutMnemonics<char>(format);
    FUZZ_CHECK(label.find('&') == std::string::npos);
    FUZZ_CHECK(label.size() + std::size_t(std::count(format.begin(), format.end(), '&')) == format.size());

    // One pixel per character.
    const auto measure = [](std::wstring_view s) { return int(s.size()); };
    const std::wstring fitted = text::FitWithEllipsis(wideFormat, width, measure);
    if (int(wideFormat.size()) <= width) {
        FUZZ_CHECK(fitted == wideFormat);
    } else {
        FUZZ_CHECK(fitted.size() >= 3 && fitted.compare(fitted.size() - 3, 3, L"...") == 0);
        FUZZ_CHECK(int(fitted.size()) <= std::max(width, 3));
        FUZZ_CHECK(wideFormat.compare(0, fitted.size() - 3, fitted, 0, fitted.size() - 3) == 0);
    }
    return 0;
}
