#include "acquisition/RecordMeasurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "model/OscState.h"

namespace korvel {
namespace {

std::vector<float> Sine(int32_t count, double amplitude, double cyclesPerSample,
                        double offset = 0.0) {
    std::vector<float> v(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        v[i] = static_cast<float>(
            offset + amplitude * std::sin(2.0 * std::numbers::pi * cyclesPerSample * i));
    }
    return v;
}

TEST(RecordMeasurements, LevelsOfAKnownRecord) {
    const std::vector<float> v{3.0f, -1.0f, 5.0f, -3.0f};
    const RecordMeasurements m = MeasureLevels(v.data(), 4);
    EXPECT_EQ(m.samples, 4);
    EXPECT_EQ(m.minimumMv, -3.0f);
    EXPECT_EQ(m.maximumMv, 5.0f);
    EXPECT_EQ(m.peakToPeakMv, 8.0);
    EXPECT_EQ(m.meanMv, 1.0);
    EXPECT_DOUBLE_EQ(m.rmsMv, std::sqrt(44.0 / 4));
    // Deviations 2, -2, 4, -4.
    EXPECT_DOUBLE_EQ(m.acRmsMv, std::sqrt(40.0 / 4));
}

TEST(RecordMeasurements, SineGivesItsFrequencyWithinABinAndItsRmsWithinATenthOfAPercent) {
    // 1 us samples, 37.3 kHz: between bins of the 65536-point transform.
    const float periodUs = 1.0f;
    const double kHz = 37.3;
    const std::vector<float> v = Sine(MaxData, 250.0, kHz / 1000.0, 40.0);
    const RecordMeasurements m = MeasureRecord(v.data(), MaxData, periodUs);
    ASSERT_TRUE(m.hasLine);
    EXPECT_DOUBLE_EQ(m.binWidthKHz, 1000.0 / 65536.0);
    EXPECT_EQ(m.lineBin, 2444);  // 37.3 / (1000 / 65536) = 2444.5
    // Refined between the bins to a twentieth of one.
    EXPECT_NEAR(m.lineKHz, kHz, m.binWidthKHz / 20);
    EXPECT_DOUBLE_EQ(m.periodUs, 1000.0 / m.lineKHz);
    // A part of a period is left over: the mean is near the offset, not on it.
    EXPECT_NEAR(m.meanMv, 40.0, 0.05);
    EXPECT_NEAR(m.acRmsMv, 250.0 / std::sqrt(2.0), 250.0 / std::sqrt(2.0) * 0.001);
    const double rms = std::sqrt(40.0 * 40.0 + 250.0 * 250.0 / 2.0);
    EXPECT_NEAR(m.rmsMv, rms, rms * 0.001);
    EXPECT_NEAR(m.peakToPeakMv, 500.0, 0.01);
}

TEST(RecordMeasurements, SquareWaveBetweenBinsIsFoundAtItsFundamentalNotItsHarmonic) {
    // The simulated card's wave: 1000-sample period, high for 200 samples.
    // Its fundamental falls between bins (65.5), its second harmonic almost
    // on one (131.1); unweighted powers would make the harmonic the taller.
    std::vector<float> v(MaxData);
    for (int32_t i = 0; i < MaxData; ++i)
        v[i] = i % 1000 < 800 ? -312.5f : 781.25f;
    const RecordMeasurements m = MeasureRecord(v.data(), MaxData, 0.0125f);
    ASSERT_TRUE(m.hasLine);
    EXPECT_EQ(m.lineBin, 66);
    EXPECT_NEAR(m.lineKHz, 80.0, 0.05);
    EXPECT_NEAR(m.periodUs, 12.5, 0.01);
}

TEST(RecordMeasurements, ToneOnABinIsFoundThereAndTheStrongerOfTwoWins) {
    // 1024 samples of 0.5 us: bins of 1000 / 512 kHz.
    std::vector<float> v(1024);
    for (int32_t i = 0; i < 1024; ++i) {
        v[i] = static_cast<float>(std::cos(2.0 * std::numbers::pi * 10 * i / 1024) +
                                  3.0 * std::cos(2.0 * std::numbers::pi * 40 * i / 1024));
    }
    RecordMeasurements m = MeasureRecord(v.data(), 1024, 0.5f);
    ASSERT_TRUE(m.hasLine);
    EXPECT_EQ(m.lineBin, 40);
    EXPECT_NEAR(m.lineKHz, 40 * 1000.0 / 512.0, 1e-3);
    EXPECT_NEAR(m.periodUs, 12.8, 1e-6);

    // A range that is not a power of two is padded: 1000 samples use 1024 points.
    m = MeasureRecord(v.data(), 1000, 0.5f);
    EXPECT_DOUBLE_EQ(m.binWidthKHz, 1000.0 / 512.0);
    EXPECT_EQ(m.samples, 1000);
}

TEST(RecordMeasurements, SmallSignalOnALargeOffsetKeepsItsAcRms) {
    // Summing squares of values near 1e6 would lose the 1 mV signal entirely.
    const std::vector<float> v = Sine(4096, 1.0, 1.0 / 64.0, 1.0e6);
    long double sum = 0.0L;
    for (float x : v)
        sum += x;
    const long double mean = sum / v.size();
    long double dev = 0.0L;
    for (float x : v)
        dev += (x - mean) * (x - mean);
    const double expected = static_cast<double>(std::sqrt(dev / v.size()));
    const RecordMeasurements m = MeasureLevels(v.data(), 4096);
    EXPECT_NEAR(m.acRmsMv, expected, expected * 1e-9);
    EXPECT_GT(m.acRmsMv, 0.5);
}

TEST(RecordMeasurements, RecordsWithoutALine) {
    const std::vector<float> constant(500, 12.5f);
    RecordMeasurements m = MeasureRecord(constant.data(), 500, 1.0f);
    EXPECT_FALSE(m.hasLine);
    EXPECT_EQ(m.peakToPeakMv, 0.0);
    EXPECT_EQ(m.acRmsMv, 0.0);
    EXPECT_EQ(m.meanMv, 12.5);
    EXPECT_EQ(m.rmsMv, 12.5);

    // Three samples have no bin between 0 and N/2 = 2.
    const std::vector<float> three{1.0f, -1.0f, 1.0f};
    EXPECT_FALSE(MeasureRecord(three.data(), 3, 1.0f).hasLine);

    // No time step, no frequency; the levels stand.
    const std::vector<float> sine = Sine(256, 1.0, 0.125);
    for (float period : {0.0f, -1.0f, NAN, INFINITY}) {
        m = MeasureRecord(sine.data(), 256, period);
        EXPECT_FALSE(m.hasLine);
        EXPECT_NEAR(m.acRmsMv, std::sqrt(0.5), 1e-6);
    }

    m = MeasureRecord(sine.data(), 0, 1.0f);
    EXPECT_EQ(m.samples, 0);
    EXPECT_FALSE(m.hasLine);
    m = MeasureRecord(sine.data(), 1, 1.0f);
    EXPECT_EQ(m.samples, 1);
    EXPECT_EQ(m.minimumMv, m.maximumMv);
}

}  // namespace
}  // namespace korvel
