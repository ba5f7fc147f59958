#include "numeric/Ticks.h"

#include <cmath>

namespace korvel {

namespace {

// The bound walks end after one or two steps whenever they end at all; this
// many means the step no longer moves the bound.
constexpr int32_t MaxWalkSteps = 64;

// Interval counts beyond this cannot come from a step that moves the bounds.
constexpr float MaxIntervals = 1.0e9f;

TickSet NoTickSet() {
    return TickSet{};
}

}  // namespace

// Each intermediate is a named float: the labels depend on the exact rounding
// of every step, and the build targets no fused multiply-add.
float NiceStep(float x) {
    if (!(x > 0.0f) || !std::isfinite(x)) return 0.0f;
    const int32_t e = static_cast<int32_t>(std::floor(std::log10(static_cast<double>(x))));
    const double p = std::pow(10.0, e);
    const float f = static_cast<float>(x / p);
    double multiplier = 10.0;
    if (f < 1.5f) {
        multiplier = 1.0;
    } else if (f < 3.0f) {
        multiplier = 2.0;
    } else if (f < 7.0f) {
        multiplier = 5.0;
    }
    return static_cast<float>(multiplier * p);
}

TickSet TickRange(float low, float high, int32_t n) {
    if (n < 1 || !std::isfinite(low) || !std::isfinite(high)) return NoTickSet();
    const float width = std::fabs(high - low);
    const float wanted = width / static_cast<float>(n);
    const float d = NiceStep(wanted);
    if (!(d > 0.0f) || !std::isfinite(d)) return NoTickSet();
    const float eps = static_cast<float>(0.001 * std::fabs(d));

    const float lowSteps = std::floor(low / d);
    float a = lowSteps * d;
    const float aNext = a + d;
    if (std::fabs(aNext - low) < eps) a = aNext;

    const float highSteps = std::ceil(high / d);
    float b = highSteps * d;
    const float bPrevious = b - d;
    if (std::fabs(bPrevious - high) < eps) b = bPrevious;

    const float intervals = (b - a) / d;
    const float rounded = intervals + 0.5f;
    if (!(std::fabs(rounded) < MaxIntervals)) return NoTickSet();
    int32_t k = static_cast<int32_t>(rounded);
    const float kd = static_cast<float>(k) * d;
    b = a + kd;

    for (int32_t steps = 0; a < low; ++steps) {
        const float next = a + d;
        if (next == a || steps == MaxWalkSteps) return NoTickSet();
        a = next;
        k = k - 1;
    }
    for (int32_t steps = 0; b > high; ++steps) {
        const float next = b - d;
        if (next == b || steps == MaxWalkSteps) return NoTickSet();
        b = next;
        k = k - 1;
    }
    return TickSet{k, a, b};
}

float TickValue(float low, float high, int32_t i, int32_t k) {
    if (k == 0) return low;
    const float span = high - low;
    const float scaled = span * static_cast<float>(i);
    return low + scaled / static_cast<float>(k);
}

}  // namespace korvel
