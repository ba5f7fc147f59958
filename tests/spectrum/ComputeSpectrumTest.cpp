// ComputeSpectrum: worked examples, the cut-off, the cache and the running
// average, and ranges it must refuse. Samples are 1 us apart unless a test
// says otherwise, so bin widths are exact.
#include "spectrum/ComputeSpectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "model/OscState.h"
#include "spectrum/SpectrumData.h"
#include "support/CoreTest.h"

namespace korvel::test {
namespace {

class ComputeSpectrumTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        OscState.SamplePeriod = 1.0f;
    }
    static void Put(int32_t first, const std::vector<float>& samples) {
        std::copy(samples.begin(), samples.end(), OscState.Record + first);
    }
    static std::vector<float> Cosine(int32_t n, int32_t bin, float amplitude) {
        std::vector<float> x(n);
        for (int32_t i = 0; i < n; ++i)
            x[i] = 100.0f + amplitude * static_cast<float>(std::cos(2.0 * M_PI * bin * i / n));
        return x;
    }
    static std::vector<float> Noise(int32_t n, uint32_t seed) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> value(-500.0f, 500.0f);
        std::vector<float> x(n);
        for (float& v : x)
            v = value(random);
        return x;
    }
    // Bins 0 .. k, all 0 but the last.
    static std::vector<float> Peak(int32_t k, float power) {
        std::vector<float> bins(k + 1, 0.0f);
        bins[k] = power;
        return bins;
    }
    static std::vector<float> Work(int32_t count) {
        return {SpectrumData.Work, SpectrumData.Work + count};
    }
};

// The mean goes first; the bins kept are those up to where 99 % of the
// energy is reached, all of them when there is none.
TEST_F(ComputeSpectrumTest, WorkedExamplesKeepTheirBins) {
    const struct {
        std::vector<float> samples;
        int32_t size;
        float binWidth;
        std::vector<float> bins;
    } rows[] = {
        {{1, 0, -1, 0, 1, 0, -1, 0}, 8, 125, {0, 0, 0.25f}},  // a quarter-rate tone
        {{3, 0, 0}, 4, 250, {0, 0.625f}},                     // less 1, padded: X1 = (3 + i) / 4
        {{1, 2, 0, 0}, 4, 250, {0, 0.3125f}},  // less 0.75: X1 = (1 - 2i) / 4, X2 = -1/4
        {Cosine(256, 10, 3), 256, 3.90625f, Peak(10, 2.25f)},  // a cosine on bin 10: A^2 / 4
        {std::vector<float>(100, 42.5f), 128, 7.8125f, std::vector<float>(64, 0)},
        {{12, -4}, 2, 500, {0}},  // one bin, empty once the mean is gone
        {{12}, 1, 0, {}},         // no bin at all
    };
    for (const auto& row : rows) {
        const int32_t n = static_cast<int32_t>(row.samples.size());
        SCOPED_TRACE(n);
        Put(10, row.samples);
        const SpectrumResult r = ComputeSpectrum(10, 10 + n - 1, ModeFresh);
        EXPECT_EQ(SpectrumData.FftSize, row.size);
        EXPECT_EQ(SpectrumData.FftSize, 1 << SpectrumData.FftLog2);
        EXPECT_EQ(r.Bins, SpectrumData.Work);
        EXPECT_EQ(r.FreqLow, 0.0f);
        if (n == 1) {
            EXPECT_EQ(std::pair(r.BinCount, r.FreqHigh), std::pair(0, 0.0f));
            continue;
        }
        EXPECT_EQ(SpectrumData.BinWidth, row.binWidth);
        ASSERT_EQ(r.BinCount, static_cast<int32_t>(row.bins.size()));
        EXPECT_EQ(r.FreqHigh, static_cast<float>(r.BinCount - 1) * row.binWidth);
        for (int32_t k = 0; k < row.size / 2; ++k) {
            EXPECT_NEAR(SpectrumData.Work[k], k < r.BinCount ? row.bins[k] : 0.0f, 1e-5) << k;
        }
    }
    EXPECT_EQ(OscState.SpectrumValid, 1);
    EXPECT_EQ(std::pair(SpectrumData.CachedFirst, SpectrumData.CachedLast), std::pair(10, 10));
}

TEST_F(ComputeSpectrumTest, PaddingIsZerosWhateverTheLastTransformLeft) {
    Put(0, Noise(MaxData, 1));
    ComputeSpectrum(200, 1199, ModeFresh);
    const std::vector<float> clean = Work(1024);
    OscState.SamplePeriod = 0.0125f;
    ComputeSpectrum(0, MaxData - 1, ModeFresh);  // both halves of Work full of other values
    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.BinWidth),
              std::pair(65536, 1.220703125f));
    EXPECT_GT(SpectrumData.LastBin, 30000);  // white noise: the cut-off near the top
    OscState.SamplePeriod = 1.0f;
    const SpectrumResult r = ComputeSpectrum(200, 1199, ModeFresh);
    EXPECT_EQ(std::memcmp(SpectrumData.Work, clean.data(), 1024 * sizeof(float)), 0);
    EXPECT_EQ(SpectrumData.BinWidth, 0.9765625f);
    EXPECT_EQ(r.FreqHigh, static_cast<float>(SpectrumData.LastBin) * 0.9765625f);
    // A not-a-number sample spoils the energy: every bin is kept.
    OscState.Record[17] = NAN;
    EXPECT_EQ(ComputeSpectrum(0, 63, ModeFresh).BinCount, 32);
}

TEST_F(ComputeSpectrumTest, CachedResultNeedsNoTransformUntilARecordIsProcessed) {
    Put(0, Cosine(512, 20, 2));
    EXPECT_EQ(ComputeSpectrum(0, 511, ModeCached).BinCount, 21);
    const float peak = SpectrumData.Work[20];
    Put(0, Cosine(512, 40, 2));
    SpectrumData.Work[3] = -7.0f;  // a transform would refill Work and lose the mark
    SpectrumResult r = ComputeSpectrum(0, 511, ModeCached);
    EXPECT_EQ(std::pair(r.BinCount, r.FreqHigh), std::pair(21, 20 * 1.953125f));
    EXPECT_EQ(std::pair(r.Bins[3], r.Bins[20]), std::pair(-7.0f, peak));
    OscState.SpectrumValid = 0;  // a processed record: computed again
    r = ComputeSpectrum(0, 511, ModeCached);
    EXPECT_EQ(std::pair(OscState.SpectrumValid, r.BinCount), std::pair(1, 41));
    EXPECT_NEAR(r.Bins[40], 1.0, 1e-5);
    SpectrumData.Work[3] = -7.0f;  // another range is another spectrum, whatever the flag
    ComputeSpectrum(0, 255, ModeCached);
    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.CachedLast), std::pair(256, 255));
    EXPECT_NE(SpectrumData.Work[3], -7.0f);
    // Resetting the average neither transforms nor touches the cache.
    ComputeSpectrum(0, 999, ModeResetAverage);
    EXPECT_EQ(SpectrumData.FftSize, 1024);
    EXPECT_EQ(std::pair(SpectrumData.CachedFirst, SpectrumData.CachedLast), std::pair(0, 255));
    EXPECT_EQ(ComputeSpectrum(0, 255, ModeCached).BinCount, 21);
}

TEST_F(ComputeSpectrumTest, AverageStartsWithTheFirstSpectrumAndTakesTheMean) {
    const int32_t n = 256;
    Put(0, Cosine(n, 12, 1));
    ComputeSpectrum(0, n - 1, ModeFresh);
    SpectrumData.AverageCount = 5;
    std::fill(SpectrumData.Average, SpectrumData.Average + n, 9.0f);
    const SpectrumResult reset = ComputeSpectrum(0, n - 1, ModeResetAverage);
    EXPECT_EQ(std::pair(SpectrumData.AverageCount, reset.BinCount), std::pair(0, 13));
    EXPECT_EQ(reset.Bins, SpectrumData.Average);
    EXPECT_EQ(std::vector<float>(SpectrumData.Average, SpectrumData.Average + n / 2 + 2),
              Peak(n / 2 + 1, 9.0f));

    Put(0, Noise(n, 3));
    const SpectrumResult once = ComputeSpectrum(0, n - 1, ModeAccumulate);
    const int32_t kept = SpectrumData.LastBin + 1;
    EXPECT_EQ(std::pair(SpectrumData.AverageCount, once.BinCount), std::pair(1, kept));
    EXPECT_EQ(once.Bins, SpectrumData.Average);
    const std::vector<float> first = Work(n / 2);
    EXPECT_EQ(std::vector<float>(SpectrumData.Average, SpectrumData.Average + kept), Work(kept));
    // Four times the same noise: every power 16 times larger, to the bit, the
    // cut-off the same, and the mean 8.5 times the first.
    for (int32_t i = 0; i < n; ++i)
        OscState.Record[i] *= 4.0f;
    ComputeSpectrum(0, n - 1, ModeAccumulate);
    ASSERT_EQ(SpectrumData.LastBin + 1, kept);
    EXPECT_EQ(SpectrumData.AverageCount, 2);
    for (int32_t k = 0; k < kept; ++k)
        EXPECT_EQ(SpectrumData.Average[k], 8.5f * first[k]) << k;
    // A spectrum that keeps fewer bins leaves the average above its cut-off alone.
    const std::vector<float> before(SpectrumData.Average, SpectrumData.Average + n / 2);
    Put(0, Cosine(n, 2, 5));
    EXPECT_EQ(ComputeSpectrum(0, n - 1, ModeAccumulate).BinCount, 3);
    EXPECT_EQ(SpectrumData.AverageCount, 3);
    EXPECT_EQ(std::vector<float>(SpectrumData.Average + 3, SpectrumData.Average + n / 2),
              std::vector<float>(before.begin() + 3, before.end()));
    const std::vector<float> third(SpectrumData.Average, SpectrumData.Average + n / 2);
    ComputeSpectrum(0, n - 1, ModeFresh);  // without Accumulate the average stays
    EXPECT_EQ(SpectrumData.AverageCount, 3);
    EXPECT_EQ(std::vector<float>(SpectrumData.Average, SpectrumData.Average + n / 2), third);
}

TEST_F(ComputeSpectrumTest, RangesOutsideTheRecordReadNothingAndChangeNothing) {
    Put(0, Cosine(64, 4, 1));
    ComputeSpectrum(0, 63, ModeFresh);
    SpectrumData.Work[0] = -3.0f;
    const std::pair<int32_t, int32_t> bad[] = {
        {10, 9}, {-1, 20}, {0, MaxData}, {MaxData, MaxData}, {-5, -1}};
    for (const auto& [first, last] : bad) {
        for (const SpectrumMode mode : {ModeCached, ModeResetAverage, ModeFresh, ModeAccumulate}) {
            const SpectrumResult r = ComputeSpectrum(first, last, mode);
            EXPECT_EQ(std::pair(r.Bins, r.BinCount),
                      std::pair(static_cast<const float*>(SpectrumData.Work), 0))
                << first << ".." << last << " mode " << mode;
            EXPECT_EQ(r.FreqHigh, 0.0f);
        }
    }
    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.CachedLast), std::pair(64, 63));
    EXPECT_EQ(std::pair(SpectrumData.Work[0], SpectrumData.AverageCount), std::pair(-3.0f, 0));
    EXPECT_GT(ComputeSpectrum(MaxData - 8, MaxData - 1, ModeFresh).BinCount, 0);  // still inside
    // One sample: no bin in any mode, and the average untouched.
    SpectrumData.Average[0] = 4.0f;
    for (const SpectrumMode mode : {ModeCached, ModeAccumulate})
        EXPECT_EQ(ComputeSpectrum(5, 5, mode).BinCount, 0);
    EXPECT_EQ(SpectrumData.Average[0], 4.0f);
}

}  // namespace
}  // namespace korvel::test
