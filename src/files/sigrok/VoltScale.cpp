#include "files/sigrok/VoltScale.h"

namespace korvel {

// Both ways in double: the quotient and the product are rounded once, to
// float, so the round trip is exact wherever the float grid of volts allows.
float VoltsOfMillivolts(float mv) {
    return static_cast<float>(static_cast<double>(mv) / 1000.0);
}

float MillivoltsOfVolts(float volts) {
    return MillivoltsOf(volts, 1000.0);
}

float MillivoltsOf(float value, double scale) {
    if (scale == 1.0) return value;
    return static_cast<float>(static_cast<double>(value) * scale);
}

}  // namespace korvel
