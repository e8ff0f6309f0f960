#include "StdStr.h"

#include <climits>

long ParseDecimal(const CStdStr& s, bool* hadDigits)
{
    size_t i = 0;
    while (i < s.size() && IsSpaceC(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long value = 0;
    bool digits = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        digits = true;
        if (value <= (long long)LONG_MAX + 1)
            value = value * 10 + (s[i] - '0');
    }
    if (hadDigits)
        *hadDigits = digits;
    if (negative)
        value = -value;
    if (value > LONG_MAX)
        return LONG_MAX;
    if (value < LONG_MIN)
        return LONG_MIN;
    return long(value);
}
