// Scaling of voltages and times to pixels, shared by both plots.
#pragma once

#include <cstdint>

#include "display/PlotState.h"

namespace korvel {

// Truncation toward zero into the range where every later pixel or index
// sum still fits an int32_t: a NaN gives 0, anything beyond +-2^29 the limit.
// Degenerate scales (a tiny range, a huge typed time) thus place marks far
// off the canvas instead of overflowing.
int32_t SaturatedTrunc(double value);

// The vertical range of one plot, widened when its bounds are equal.
struct VerticalScale {
    float lo = 0.0f;
    float hi = 0.0f;
    float range = 0.0f;   // hi - lo, never 0 nor NaN
    bool noData = false;  // both bounds were 0: no record yet, so no trace
};

// Equal bounds are widened by 50 mV each way within -128 .. 127 mV. Where
// the limits would leave the range empty or upside down (a flat record
// beyond about +-77 mV), the widening is made without the limits: the record
// shows as a flat line in the middle of its own +-50 mV. A range that is
// still empty or not finite (NaN or infinite bounds, values so large that 50
// mV vanishes) is shown as -128 .. 127. Unequal bounds stand as they are;
// lower above upper draws the plot upside down.
VerticalScale WidenRange(float lo, float hi);

// y of 0 mV for a trace area of height pixels from top (not clamped).
int32_t ZeroY(int32_t top, int32_t height, const VerticalScale& scale);

// y of a value in mV, not clamped.
int32_t ValueY(int32_t zeroY, int32_t height, float valueMv, float range);

// x of a time (us, with TimeOffset) on an area: the time's distance from the
// area's first sample scaled like the samples. An area of span 0 puts every
// time on its axis.
int32_t TimeX(const PlotArea& area, double timeUs);

// The time of a sample as the user sees it: IndexToTime(index) + TimeOffset.
double ShownTime(int32_t index);

}  // namespace korvel
