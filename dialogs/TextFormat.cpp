#include "TextFormat.h"

#include <algorithm>

namespace text {
namespace {

// Where the first "%s" conversion starts, skipping "%%" pairs; npos when there is none.
template <class Char>
std::size_t FirstTextConversion(std::basic_string_view<Char> format)
{
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != Char('%'))
            continue;
        if (format[i + 1] == Char('s'))
            return i;
        if (format[i + 1] == Char('%'))
            ++i;
    }
    return std::basic_string_view<Char>::npos;
}

}  // namespace

template <class Char>
std::basic_string<Char> FormatOne(std::basic_string_view<Char> format, std::basic_string_view<Char> value,
                                  std::size_t capacity)
{
    const std::size_t limit = capacity == 0 ? 0 : capacity - 1;
    std::basic_string<Char> out;
    const std::size_t at = FirstTextConversion(format);
    if (at == std::basic_string_view<Char>::npos) {
        out.assign(format.substr(0, std::min(limit, format.size())));
        return out;
    }
    for (std::size_t i = 0; i < format.size() && out.size() < limit; ++i) {
        if (i == at) {
            out.append(value.substr(0, limit - out.size()));
            ++i;
        } else if (format[i] == Char('%') && i + 1 < format.size() && format[i + 1] == Char('%')) {
            out.push_back(Char('%'));
            ++i;
        } else {
            out.push_back(format[i]);
        }
    }
    return out;
}

template <class Char>
std::basic_string<Char> WithoutMnemonics(std::basic_string_view<Char> label)
{
    std::basic_string<Char> out;
    for (Char c : label)
        if (c != Char('&'))
            out.push_back(c);
    return out;
}

template <class Char>
std::size_t CopyBounded(std::basic_string_view<Char> text, Char* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    const std::size_t n = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = Char(0);
    return n;
}

template std::string FormatOne(std::string_view, std::string_view, std::size_t);
template std::wstring FormatOne(std::wstring_view, std::wstring_view, std::size_t);
template std::string WithoutMnemonics(std::string_view);
template std::wstring WithoutMnemonics(std::wstring_view);
template std::size_t CopyBounded(std::string_view, char*, std::size_t);
template std::size_t CopyBounded(std::wstring_view, wchar_t*, std::size_t);

}  // namespace text
