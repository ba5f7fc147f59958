// Numbers typed into the bars' fields, read as the C scan formats read them:
// a leading number is taken and any text after it is ignored.
#pragma once

#include <cstdint>

namespace korvel {

// "%d": blanks, an optional sign, then decimal digits. A number beyond the
// 32-bit range reads as the nearest 32-bit value. False when the text does not
// begin with a number; value is then untouched.
bool ScanInt(const char* text, int32_t& value);

// "%g" into a float, exactly as sscanf reads it (so "inf" and "nan" read too).
// False when the text does not begin with a number; value is then untouched.
bool ScanFloat(const char* text, float& value);

}  // namespace korvel
