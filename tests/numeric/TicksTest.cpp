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

TEST(TickRange, WorkedExamples) {
    EXPECT_EQ(TickRange(0.0f, 100.0f, 10), 10);
    EXPECT_EQ(TickLow, 0.0f);
    EXPECT_EQ(TickHigh, 100.0f);

    ASSERT_EQ(TickRange(-3.0f, 7.0f, 4), 4);
    const float expected[] = {-2.0f, 0.0f, 2.0f, 4.0f, 6.0f};
    for (int32_t i = 0; i <= 4; ++i)
        EXPECT_EQ(TickValue(TickLow, TickHigh, i, 4), expected[i]);

    // One wanted interval is a valid request: the step spans the range.
    EXPECT_EQ(TickRange(0.0f, 100.0f, 1), 1);
    // More intervals than wanted when the step rounds down.
    EXPECT_EQ(TickRange(0.0f, 14.0f, 10), 14);
}

TEST(TickRange, EndsBelowZeroWhenNoMultipleLiesWithinTheBounds) {
    EXPECT_EQ(TickRange(0.11f, 0.19f, 1), -1);
    EXPECT_EQ(TickLow, 0.2f);
    EXPECT_EQ(TickHigh, 0.1f);
    // Bounds the wrong way round walk past each other too.
    EXPECT_EQ(TickRange(7.0f, -3.0f, 4), -6);
    // A lone tick: k = 0 has its value at TickLow.
    EXPECT_EQ(TickRange(0.1f, 0.19f, 1), 0);
    EXPECT_EQ(TickValue(TickLow, TickHigh, 0, 0), TickLow);
}

// Inputs the steps alone would not survive: a logarithm of 0, a division by
// a zero step, or a walk whose step vanishes in the bounds' float rounding.
TEST(TickRange, DegenerateInputsGiveNoTicksAndReturn) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::nanf("");
    const struct {
        float low, high;
        int32_t n;
    } cases[] = {
        {20.0f, 20.0f, 10},             // equal bounds
        {250000.0f, 250000.001f, 4},    // equal once rounded to float
        {3489661.0f, 3489661.25f, 5},   // a step of 0.05 does not move 3489661
        {1975.29602f, 1975.29626f, 7},  // nor one of 2e-5 this bound
        {0.0f, 100.0f, 0},
        {0.0f, 100.0f, -3},
        {nan, 100.0f, 10},
        {0.0f, inf, 10},
        {-inf, inf, 10},
    };
    for (const auto& c : cases) {
        TickLow = TickHigh = 5.0f;
        EXPECT_EQ(TickRange(c.low, c.high, c.n), NoTicks) << c.low << " " << c.high << " " << c.n;
        EXPECT_EQ(TickLow, 0.0f);
        EXPECT_EQ(TickHigh, 0.0f);
    }
}

TEST(TickRange, KeepsItsResultsDownToTheFloatResolution) {
    // Sample times of a file that starts at 250000 us, 0.0125 us apart.
    for (int32_t n = 2; n <= 10; ++n) {
        const int32_t k = TickRange(250000.0f, 250000.025f, n);
        EXPECT_GE(k, 0) << n;
        EXPECT_LE(TickLow, TickHigh);
    }
    EXPECT_EQ(TickRange(250000.0f, 250000.025f, 10), 6);
}

}  // namespace
}  // namespace korvel
