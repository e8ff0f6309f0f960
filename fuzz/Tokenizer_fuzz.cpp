// Byte 0 is the separator, byte 1 the options, the rest the text.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "engine/Tokenizer.h"

namespace {

bool HasSpace(const CStdStr& s)
{
    for (char c : s)
        if (IsSpaceC(c))
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const char separator = char(data[0]);
    const unsigned options = data[1] & (TokQuotes | TokTrimLeft);
    const CStdStr text(reinterpret_cast<const char*>(data + 2), size - 2);

    Tokenizer stepped(text, separator, options);
    CStdStringList fields;
    CStdStr field;
    while (stepped.Next(field)) {
        FUZZ_CHECK(field.size() <= text.size());
        fields.push_back(field);
    }
    FUZZ_CHECK(field.empty() && !stepped.HasMore());
    FUZZ_CHECK(fields.size() <= text.size() + 1);

    CStdStringList all;
    Tokenizer(text, separator, options).SplitAll(all);
    FUZZ_CHECK(all == fields);

    // Without quotes or blanks the fields are the text cut at each separator; a final separator
    // opens no field.
    if (options == 0 && !IsSpaceC(separator) && !HasSpace(text)) {
        CStdStr joined;
        for (size_t i = 0; i < fields.size(); ++i)
            joined += (i ? CStdStr(1, separator) : CStdStr()) + fields[i];
        if (!text.empty() && text.back() == separator)
            joined += separator;
        FUZZ_CHECK(joined == text);
    }

    // A quoted first field keeps the separators and blanks inside its quotes.
    if ((options & TokQuotes) && !IsSpaceC(separator) && separator != '"') {
        CStdStr inner;
        for (char c : text)
            if (c != '"')
                inner += c;
        CStdStr first;
        Tokenizer(CStdStr("\"") + inner + "\"" + separator + text, separator, options).Next(first);
        FUZZ_CHECK(first == inner);
    }
    return 0;
}
