// Text helpers of the post-install utility. Names, keys and paths are 8-bit ANSI text; names
// compare without regard to case in the classic locale.
#pragma once

#include <string>
#include <vector>

using CStdStr = std::string;
using CStdStringList = std::vector<CStdStr>;

// White space as the classic locale sees it.
inline bool IsSpaceC(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline char ToLowerC(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline CStdStr ToLower(CStdStr s)
{
    for (char& c : s)
        c = ToLowerC(c);
    return s;
}

inline bool EqualNoCase(const CStdStr& a, const CStdStr& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToLowerC(a[i]) != ToLowerC(b[i]))
            return false;
    return true;
}

inline CStdStr TrimLeft(const CStdStr& s)
{
    size_t b = 0;
    while (b < s.size() && IsSpaceC(s[b]))
        ++b;
    return s.substr(b);
}

inline CStdStr TrimRight(const CStdStr& s)
{
    size_t e = s.size();
    while (e > 0 && IsSpaceC(s[e - 1]))
        --e;
    return s.substr(0, e);
}

inline CStdStr Trim(const CStdStr& s) { return TrimLeft(TrimRight(s)); }

// A decimal integer as the C library reads one: leading blanks and a sign allowed, text after
// the digits ignored, no digits gives 0. Saturates instead of overflowing.
long ParseDecimal(const CStdStr& s, bool* hadDigits = nullptr);
