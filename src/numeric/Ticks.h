// Axis ticks on multiples of a 1-2-5 step: the oscillogram's axes, the
// spectrum's and the Settings dialog's all place their labels with these.
#pragma once

#include <cstdint>

namespace korvel {

// What TickRange gives as the count when it finds no ticks at all (see there).
inline constexpr int32_t NoTicks = -1;

// The ticks of an axis: count intervals from the first tick value, low, to the
// last, high (count + 1 ticks).
struct TickSet {
    int32_t count = NoTicks;
    float low = 0.0f;
    float high = 0.0f;
};

// A 1-2-5 number (1, 2, 5 or 10 times a power of ten) close to x. For x that
// is not a positive finite number there is no such step: the result is 0.
float NiceStep(float x);

// The ticks on the multiples of NiceStep(|high - low| / n) that lie within
// [low, high]: k = count, the number of intervals between the first and the
// last tick (k + 1 ticks). k may come out below 2, and below 0 when no
// multiple lies within the bounds; callers draw ticks 0..k, so a negative k
// draws none. A step can only be found, and the walk onto the bounds can only
// end, when the bounds are finite, n >= 1, the bounds differ as floats, and
// the step is coarse enough to move the bounds as floats; otherwise the
// count is NoTicks with low = high = 0: no ticks on that axis.
TickSet TickRange(float low, float high, int32_t n);

// Value of tick i of k between low and high (a TickSet's), in float as
// the labels show it; for k = 0 the one tick is low.
float TickValue(float low, float high, int32_t i, int32_t k);

}  // namespace korvel
