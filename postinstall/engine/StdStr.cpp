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
    // Accumulate the magnitude, stopping at the largest one either sign can hold.
    const unsigned long limit = negative ? 0UL - (unsigned long)LONG_MIN : (unsigned long)LONG_MAX;
    unsigned long magnitude = 0;
    bool digits = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        digits = true;
        unsigned digit = unsigned(s[i] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (hadDigits)
        *hadDigits = digits;
    if (!negative)
        return long(magnitude);
    return magnitude == 0UL - (unsigned long)LONG_MIN ? LONG_MIN : -long(magnitude);
}
