#include "numeric/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace korvel {
namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::nanf("");

// 1, 2 or 5 times a power of ten by its thresholds; no step for zero,
// negative or non-finite input.
TEST(NiceStep, RoundsToOneTwoFiveAndHasNoStepForNonsense) {
    const std::pair<float, float> table[] = {{0.37f, 0.5f},       {1.4f, 1.0f},       {1.5f, 2.0f},
                                             {25.0f, 20.0f},      {69.0f, 50.0f},     {8.0f, 10.0f},
                                             {0.003125f, 0.005f}, {1000.0f, 1000.0f}, {0.0f, 0.0f},
                                             {-3.0f, 0.0f},       {inf, 0.0f},        {nan, 0.0f}};
    for (const auto& [value, step] : table)
        EXPECT_FLOAT_EQ(NiceStep(value), step) << value;
}

// (intervals, first tick, last tick) of the ticks between low and high.
std::tuple<int32_t, float, float> Ticks(float low, float high, int32_t n) {
    TickLow = TickHigh = 5.0f;
    const int32_t k = TickRange(low, high, n);
    return {k, TickLow, TickHigh};
}

TEST(TickRange, WorkedExamplesAndInputsWithoutTicks) {
    const struct {
        float low, high;
        int32_t n;
        std::tuple<int32_t, float, float> ticks;
    } table[] = {
        {0.0f, 100.0f, 10, {10, 0.0f, 100.0f}},
        {-3.0f, 7.0f, 4, {4, -2.0f, 6.0f}},
        {0.0f, 100.0f, 1, {1, 0.0f, 100.0f}},  // one interval: the step spans the range
        {0.0f, 14.0f, 10, {14, 0.0f, 14.0f}},  // more than wanted when the step rounds down
        {0.1f, 0.19f, 1, {0, 0.1f, 0.1f}},     // a lone tick
        // No multiple within the bounds, or bounds the wrong way round: the
        // ends walk past each other and k is below 0, so nothing is drawn.
        {0.11f, 0.19f, 1, {-1, 0.2f, 0.1f}},
        {7.0f, -3.0f, 4, {-6, 8.0f, -4.0f}},
        // Sample times of a file that starts at 250000 us, 0.0125 us apart.
        {250000.0f, 250000.025f, 10, {6, 250000.0f, 250000.031f}},
        // No step, or a step the bounds' float rounding swallows: no ticks.
        {20.0f, 20.0f, 10, {NoTicks, 0, 0}},
        {250000.0f, 250000.001f, 4, {NoTicks, 0, 0}},
        {3489661.0f, 3489661.25f, 5, {NoTicks, 0, 0}},   // 0.05 does not move 3489661
        {1975.29602f, 1975.29626f, 7, {NoTicks, 0, 0}},  // nor 2e-5 this bound
        {0.0f, 100.0f, 0, {NoTicks, 0, 0}},
        {0.0f, 100.0f, -3, {NoTicks, 0, 0}},
        {nan, 100.0f, 10, {NoTicks, 0, 0}},
        {0.0f, inf, 10, {NoTicks, 0, 0}},
        {-inf, inf, 10, {NoTicks, 0, 0}},
    };
    for (const auto& row : table)
        EXPECT_EQ(Ticks(row.low, row.high, row.n), row.ticks)
            << row.low << " " << row.high << " " << row.n;
    for (int32_t n = 2; n <= 10; ++n) {
        const auto [k, low, high] = Ticks(250000.0f, 250000.025f, n);
        EXPECT_TRUE(k >= 0 && low <= high) << n;
    }
    const float values[] = {-2.0f, 0.0f, 2.0f, 4.0f, 6.0f};
    for (int32_t i = 0; i <= 4; ++i)
        EXPECT_EQ(TickValue(-2.0f, 6.0f, i, 4), values[i]);
    EXPECT_EQ(TickValue(0.1f, 0.3f, 0, 0), 0.1f);  // k = 0: the one tick is low
}

}  // namespace
}  // namespace korvel
