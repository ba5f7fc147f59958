#include "model/FieldNumbers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace korvel {

// The C library's "%d" stores whatever the digits give into an int, so a long
// run of digits would come out as a wrapped, even negative, number. Held at the
// ends of the range instead, the value means what was typed: "very large".
namespace {

int32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

ScannedInt ScanLeadingInt(const char* text, int32_t base) {
    ScannedInt scanned;
    scanned.end = text;
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) p += 2;
    if (DigitValue(*p) >= base) return scanned;
    // Past this the value is held; counting on would overflow.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    int64_t magnitude = 0;
    for (; DigitValue(*p) < base; ++p) {
        magnitude = magnitude * base + DigitValue(*p);
        if (magnitude > limit) magnitude = limit;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    const int64_t held = std::clamp<int64_t>(signedValue, std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max());
    scanned.found = true;
    scanned.value = static_cast<int32_t>(held);
    scanned.inRange = held == signedValue;
    scanned.end = p;
    return scanned;
}

bool ScanInt(const char* text, int32_t& value) {
    const ScannedInt scanned = ScanLeadingInt(text);
    if (scanned.found) value = scanned.value;
    return scanned.found;
}

bool ScanFloat(const char* text, float& value) {
    float read = 0.0f;
    if (std::sscanf(text, "%g", &read) != 1) return false;
    value = read;
    return true;
}

}  // namespace korvel
