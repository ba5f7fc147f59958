#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "acquisition/sigrok/SampleRateSeries.h"

namespace korvel {
namespace {

TEST(SampleRateSeries, TheSeriesWithinARangeOnItsStep) {
    struct Row {
        uint64_t minHz, maxHz, stepHz;
        std::vector<uint64_t> rates;
    };
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    const Row rows[] = {
        {3, 60, 1, {5, 10, 20, 50}},
        {100, 100, 0, {100}},
        {7, 3, 1, {}},
        {0, 0, 1, {}},
        // from 1 kHz on a step of 3 Hz, only the rates 999, 99999... above it
        {1000, 1000000, 3, {1000, 10000, 100000, 1000000}},
        // at the top of the type: 2e19 would not fit, and the loop stops there
        {10000000000000000000u, kMax, 0, {10000000000000000000u}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SampleRateSeries(row.minHz, row.maxHz, row.stepHz), row.rates)
            << row.minHz << ".." << row.maxHz << " step " << row.stepHz;

    // The demo device's range: 1 Hz to 1 GHz in steps of 1 Hz.
    const std::vector<uint64_t> demo = SampleRateSeries(1, 1000000000, 1);
    ASSERT_EQ(demo.size(), 28u);
    EXPECT_EQ(demo[0], 1u);
    EXPECT_EQ(demo[1], 2u);
    EXPECT_EQ(demo[2], 5u);
    EXPECT_EQ(demo[3], 10u);
    EXPECT_EQ(demo[26], 500000000u);
    EXPECT_EQ(demo[27], 1000000000u);
}

}  // namespace
}  // namespace korvel
