// Splitting a text into fields at a separator (command lines, key lists, version numbers), and
// the split of an INI line into key and value. No platform headers: this is fuzzed natively.
#pragma once

#include "StdStr.h"

enum TokOptions : unsigned {
    TokQuotes = 1,    // a field opening with " or ' runs to the same quote; the quotes are dropped
    TokTrimLeft = 2,  // leading white space before the first field is skipped
};

class Tokenizer {
public:
    Tokenizer() = default;
    Tokenizer(const CStdStr& text, char separator, unsigned options = 0) { set(text, separator, options); }

    void set(const CStdStr& text, char separator, unsigned options = 0);
    bool HasMore() const { return !remainder_.empty(); }
    // False, with an empty field, once nothing remains. An empty field is a field.
    bool Next(CStdStr& field);
    // Every remaining field: "a,,b" gives three, "a," one, ",a" two.
    void SplitAll(CStdStringList& fields);

private:
    CStdStr remainder_;
    char separator_ = ',';
    unsigned options_ = 0;
};

// key=value: the first "=" splits; both sides are trimmed and lose one pair of enclosing double
// quotes. A line without "=" is all key. A line starting with "=" has no key and gives false.
bool SplitKeyValue(const CStdStr& line, CStdStr& key, CStdStr& value);
