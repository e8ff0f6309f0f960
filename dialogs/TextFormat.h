// Texts of the language library used as formats, free of platform headers. The library is a
// replaceable file: a format is never handed to printf. Each caller fills exactly the one "%s"
// it expects; every other conversion is copied as written, and a text without "%s" is used as
// it stands. Results are bounded like the fixed buffers they end in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The format with its first "%s" replaced by `value` and each "%%" by "%" (as a C format would
// print them); a format without "%s" comes back unchanged. The result is cut to capacity - 1
// characters, the room a buffer of `capacity` leaves before its terminator (capacity 0: empty).
template <class Char>
std::basic_string<Char> FormatOne(std::basic_string_view<Char> format, std::basic_string_view<Char> value,
                                  std::size_t capacity);

// A label's text with every "&" removed, for messages that quote the label.
template <class Char>
std::basic_string<Char> WithoutMnemonics(std::basic_string_view<Char> label);

// Copies text into buffer[0 .. capacity) with a terminator, cut to fit; the characters copied.
template <class Char>
std::size_t CopyBounded(std::basic_string_view<Char> text, Char* buffer, std::size_t capacity);

}  // namespace text
