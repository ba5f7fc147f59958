#include "numeric/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace korvel {
namespace {

// 1, 2 or 5 times a power of ten by its thresholds; no step for zero,
// negative or non-finite input.
TEST(NiceStep, RoundsToOneTwoFiveAndHasNoStepForNonsense) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> table[] = {
        {0.37f, 0.5f},  {1.4f, 1.0f},  {1.5f, 2.0f},        {25.0f, 20.0f},
        {69.0f, 50.0f}, {8.0f, 10.0f}, {0.003125f, 0.005f}, {1000.0f, 1000.0f},
        {0.0f, 0.0f},   {-3.0f, 0.0f}, {inf, 0.0f},         {std::nanf(""), 0.0f}};
    for (const auto& [value, step] : table)
        EXPECT_FLOAT_EQ(NiceStep(value), step) << value;
}

// Rows: low, high, wanted intervals; then the count, the first and the last tick.
TEST(TickRange, WorkedExamples) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::nanf("");
    const struct {
        float low, high;
        int32_t n, count;
        float first, last;
    } cases[] = {
        {0.0f, 100.0f, 10, 10, 0.0f, 100.0f},
        {-3.0f, 7.0f, 4, 4, -2.0f, 6.0f},
        {0.0f, 100.0f, 1, 1, 0.0f, 100.0f},  // the step spans the range
        {0.0f, 14.0f, 10, 14, 0.0f, 14.0f},  // more intervals when the step rounds down
        {0.11f, 0.19f, 1, -1, 0.2f, 0.1f},   // no multiple within the bounds
        {7.0f, -3.0f, 4, -6, 8.0f, -4.0f},   // bounds the wrong way round walk past each other
        {0.1f, 0.19f, 1, 0, 0.1f, 0.1f},     // a lone tick
        {250000.0f, 250000.025f, 10, 6, 250000.0f, 250000.031f},
        // No ticks where the steps alone would not end: equal bounds, a step
        // that does not move the bounds as floats, no intervals, non-finite bounds.
        {20.0f, 20.0f, 10, NoTicks, 0.0f, 0.0f},
        {250000.0f, 250000.001f, 4, NoTicks, 0.0f, 0.0f},
        {3489661.0f, 3489661.25f, 5, NoTicks, 0.0f, 0.0f},
        {1975.29602f, 1975.29626f, 7, NoTicks, 0.0f, 0.0f},
        {0.0f, 100.0f, 0, NoTicks, 0.0f, 0.0f},
        {0.0f, 100.0f, -3, NoTicks, 0.0f, 0.0f},
        {nan, 100.0f, 10, NoTicks, 0.0f, 0.0f},
        {0.0f, inf, 10, NoTicks, 0.0f, 0.0f},
        {-inf, inf, 10, NoTicks, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        const TickSet t = TickRange(c.low, c.high, c.n);
        EXPECT_EQ(t.count, c.count) << c.low << " " << c.high << " " << c.n;
        EXPECT_FLOAT_EQ(t.low, c.first) << c.low << " " << c.high << " " << c.n;
        EXPECT_FLOAT_EQ(t.high, c.last) << c.low << " " << c.high << " " << c.n;
    }
    const float expected[] = {-2.0f, 0.0f, 2.0f, 4.0f, 6.0f};
    for (int32_t i = 0; i <= 4; ++i)
        EXPECT_EQ(TickValue(-2.0f, 6.0f, i, 4), expected[i]);
    EXPECT_EQ(TickValue(0.1f, 0.1f, 0, 0), 0.1f);
}

}  // namespace
}  // namespace korvel
