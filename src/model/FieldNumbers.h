// Numbers typed into the bars' fields, read as the C scan formats read them:
// a leading number is taken and any text after it is ignored.
#pragma once

#include <cstdint>

namespace korvel {

// The leading integer of a text as "%d" (base 10) or "%x" (base 16, an
// optional "0x" after the sign) reads it: blanks, an optional sign, digits.
struct ScannedInt {
    bool found = false;         // the text begins with a number
    int32_t value = 0;          // beyond the 32-bit range: the nearest 32-bit value
    bool inRange = true;        // false when the value was held at an end of the range
    const char* end = nullptr;  // just past the digits (the text itself when none)
};
ScannedInt ScanLeadingInt(const char* text, int32_t base = 10);

// "%d" into value, held at the ends of the 32-bit range. False when the text
// does not begin with a number; value is then untouched.
bool ScanInt(const char* text, int32_t& value);

// "%g" into a float, exactly as sscanf reads it (so "inf" and "nan" read too).
// False when the text does not begin with a number; value is then untouched.
bool ScanFloat(const char* text, float& value);

}  // namespace korvel
