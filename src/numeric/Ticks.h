// Axis ticks on multiples of a 1-2-5 step: the oscillogram's axes, the
// spectrum's and the Settings dialog's all place their labels with these.
#pragma once

#include <cstdint>

namespace korvel {

// First and last tick value of the last TickRange call.
extern float TickLow;
extern float TickHigh;

// What TickRange returns when it finds no ticks at all (see there).
inline constexpr int32_t NoTicks = -1;

// A 1-2-5 number (1, 2, 5 or 10 times a power of ten) close to x. For x that
// is not a positive finite number there is no such step: the result is 0.
float NiceStep(float x);

// The ticks on the multiples of NiceStep(|high - low| / n) that lie within
// [low, high]: returns k, the number of intervals between TickLow and
// TickHigh (k + 1 ticks). k may come out below 2, and below 0 when no
// multiple lies within the bounds; callers draw ticks 0..k, so a negative k
// draws none. A step can only be found, and the walk onto the bounds can only
// end, when the bounds are finite, n >= 1, the bounds differ as floats, and
// the step is coarse enough to move the bounds as floats; otherwise the
// result is NoTicks with TickLow = TickHigh = 0: no ticks on that axis.
int32_t TickRange(float low, float high, int32_t n);

// Value of tick i of k between low and high (TickLow, TickHigh), in float as
// the labels show it; for k = 0 the one tick is low.
float TickValue(float low, float high, int32_t i, int32_t k);

}  // namespace korvel
