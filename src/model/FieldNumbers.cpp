#include "model/FieldNumbers.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace korvel {

// The C library's "%d" stores whatever the digits give into an int, so a long
// run of digits would come out as a wrapped, even negative, number. Held at the
// ends of the range instead, the value means what was typed: "very large".
bool ScanInt(const char* text, int32_t& value) {
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(signedValue > std::numeric_limits<int32_t>::max()
                                     ? std::numeric_limits<int32_t>::max()
                                     : signedValue);
    return true;
}

bool ScanFloat(const char* text, float& value) {
    float read = 0.0f;
    if (std::sscanf(text, "%g", &read) != 1) return false;
    value = read;
    return true;
}

}  // namespace korvel
