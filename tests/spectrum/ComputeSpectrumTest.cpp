#include "spectrum/ComputeSpectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "model/OscState.h"
#include "numeric/Fft.h"
#include "spectrum/SpectrumData.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

// Samples 1 us apart unless a test says otherwise: bin widths are exact.
class ComputeSpectrumTest : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        OscState.SamplePeriod = 1.0f;
    }
    static void SetSamples(int32_t first, const std::vector<float>& samples) {
        std::copy(samples.begin(), samples.end(), OscState.Record + first);
    }

    static std::vector<float> Cosine(int32_t n, int32_t bin, float amplitude, float offset) {
        std::vector<float> x(n);
        for (int32_t i = 0; i < n; ++i) {
            x[i] = offset + amplitude * static_cast<float>(std::cos(2.0 * M_PI * bin * i / n));
        }
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

    static std::vector<float> Bins(const SpectrumResult& r) {
        return std::vector<float>(r.Bins, r.Bins + r.BinCount);
    }

    // The powers of the record's stretch done step by step with explicit
    // zero padding, for comparison bit for bit.
    static std::vector<float> ExpectedPowers(int32_t first, int32_t n, int32_t m) {
        const int32_t size = 1 << m;
        double sum = 0.0;
        for (int32_t i = 0; i < n; ++i)
            sum += OscState.Record[first + i];
        const double mean = sum / n;
        std::vector<float> re(size, 0.0f), im(size, 0.0f);
        for (int32_t i = 0; i < n; ++i) {
            re[i] = static_cast<float>(OscState.Record[first + i] - mean);
        }
        Fft(re.data(), im.data(), m, -1);
        std::vector<float> power(size / 2);
        for (int32_t k = 0; k < size / 2; ++k) {
            power[k] = static_cast<float>(static_cast<double>(re[k]) * re[k] +
                                          static_cast<double>(im[k]) * im[k]);
        }
        return power;
    }
};

TEST_F(ComputeSpectrumTest, EightSamplesOfAQuarterRateTone) {
    SetSamples(0, {1, 0, -1, 0, 1, 0, -1, 0});
    const SpectrumResult r = ComputeSpectrum(0, 7, ModeFresh);

    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.FftLog2), std::pair(8, 3));
    const float want[4] = {0.0f, 0.0f, 0.25f, 0.0f};
    for (int32_t k = 0; k < 4; ++k)
        EXPECT_NEAR(SpectrumData.Work[k], want[k], 1e-12) << k;
    EXPECT_EQ(SpectrumData.LastBin, 2);
    EXPECT_EQ(r.Bins, SpectrumData.Work);
    EXPECT_EQ(r.BinCount, 3);
    EXPECT_EQ(SpectrumData.BinWidth, 125.0f);
    EXPECT_EQ(r.FreqLow, 0.0f);
    EXPECT_EQ(r.FreqHigh, 250.0f);
    EXPECT_EQ(OscState.SpectrumValid, 1);
    EXPECT_EQ(SpectrumData.CachedFirst, 0);
    EXPECT_EQ(SpectrumData.CachedLast, 7);
}

TEST_F(ComputeSpectrumTest, ThousandSamplesArePaddedWithZerosTo1024) {
    // A full-length spectrum first leaves both halves of Work full of values
    // that the shorter one must not pick up.
    SetSamples(0, Noise(MaxData, 1));
    ComputeSpectrum(0, MaxData - 1, ModeFresh);

    const SpectrumResult r = ComputeSpectrum(200, 1199, ModeFresh);
    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.FftLog2), std::pair(1024, 10));
    EXPECT_EQ(SpectrumData.BinWidth, 0.9765625f);
    EXPECT_LE(r.BinCount, 512);
    const std::vector<float> want = ExpectedPowers(200, 1000, 10);
    EXPECT_EQ(std::memcmp(SpectrumData.Work, want.data(), want.size() * sizeof(float)), 0);
    EXPECT_EQ(r.FreqHigh, SpectrumData.LastBin * 0.9765625f);
}

TEST_F(ComputeSpectrumTest, WholeRecordAtTheDefaultSamplePeriod) {
    OscState.SamplePeriod = 0.0125f;
    SetSamples(0, Noise(MaxData, 2));
    const SpectrumResult r = ComputeSpectrum(0, MaxData - 1, ModeFresh);
    EXPECT_EQ(std::pair(SpectrumData.FftSize, SpectrumData.FftLog2), std::pair(65536, 16));
    EXPECT_EQ(SpectrumData.BinWidth, 1.220703125f);
    EXPECT_LE(r.BinCount, 32768);
    // White noise spreads its energy: the cut-off lies near the top.
    EXPECT_GT(r.BinCount, 30000);
    const std::vector<float> want = ExpectedPowers(0, MaxData, 16);
    EXPECT_EQ(std::memcmp(SpectrumData.Work, want.data(), want.size() * sizeof(float)), 0);
}

TEST_F(ComputeSpectrumTest, ConstantRecordHasNoPowerAndKeepsEveryBin) {
    SetSamples(100, std::vector<float>(100, 42.5f));
    const SpectrumResult r = ComputeSpectrum(100, 199, ModeFresh);
    EXPECT_EQ(SpectrumData.FftSize, 128);
    EXPECT_EQ(SpectrumData.LastBin, 63);
    ASSERT_EQ(r.BinCount, 64);
    for (float power : Bins(r))
        EXPECT_EQ(power, 0.0f);
    EXPECT_EQ(r.FreqHigh, 63 * SpectrumData.BinWidth);
}

TEST_F(ComputeSpectrumTest, CosineOnABinIsTheLastBinKept) {
    const int32_t n = 256, bin = 10;
    const float amplitude = 3.0f;
    // The offset goes with the mean; only the tone is left.
    SetSamples(0, Cosine(n, bin, amplitude, 100.0f));
    const SpectrumResult r = ComputeSpectrum(0, n - 1, ModeFresh);
    EXPECT_EQ(SpectrumData.FftSize, n);
    EXPECT_EQ(SpectrumData.LastBin, bin);
    ASSERT_EQ(r.BinCount, bin + 1);
    EXPECT_NEAR(r.Bins[bin], amplitude * amplitude / 4, 1e-4);
    for (int32_t k = 0; k < n / 2; ++k) {
        if (k != bin) {
            EXPECT_LT(SpectrumData.Work[k], 1e-8) << k;
        }
    }
}

TEST_F(ComputeSpectrumTest, CachedResultNeedsNoTransformUntilARecordIsProcessed) {
    SetSamples(0, Cosine(512, 20, 2.0f, 0.0f));
    const SpectrumResult first = ComputeSpectrum(0, 511, ModeCached);
    EXPECT_EQ(OscState.SpectrumValid, 1);
    ASSERT_EQ(first.BinCount, 21);
    const std::vector<float> firstBins = Bins(first);

    // A transform would refill Work from the new samples and lose the mark.
    SetSamples(0, Cosine(512, 40, 2.0f, 0.0f));
    SpectrumData.Work[3] = -7.0f;
    const SpectrumResult again = ComputeSpectrum(0, 511, ModeCached);
    EXPECT_EQ(again.Bins, SpectrumData.Work);
    EXPECT_EQ(again.BinCount, first.BinCount);
    EXPECT_EQ(again.FreqHigh, first.FreqHigh);
    EXPECT_EQ(again.Bins[3], -7.0f);
    EXPECT_EQ(again.Bins[20], firstBins[20]);

    // Processing a record clears the flag: the same range is computed again.
    OscState.SpectrumValid = 0;
    const SpectrumResult fresh = ComputeSpectrum(0, 511, ModeCached);
    EXPECT_EQ(OscState.SpectrumValid, 1);
    EXPECT_EQ(fresh.BinCount, 41);
    EXPECT_NEAR(fresh.Bins[40], 1.0, 1e-5);
    EXPECT_NE(fresh.Bins[3], -7.0f);

    // Another range is another spectrum, whatever the flag says.
    SpectrumData.Work[3] = -7.0f;
    ComputeSpectrum(0, 255, ModeCached);
    EXPECT_EQ(SpectrumData.FftSize, 256);
    EXPECT_EQ(SpectrumData.CachedLast, 255);
    EXPECT_NE(SpectrumData.Work[3], -7.0f);
}

TEST_F(ComputeSpectrumTest, AverageStartsWithTheFirstSpectrumAndTakesTheMean) {
    const int32_t n = 256;
    SetSamples(0, Cosine(n, 12, 1.0f, 0.0f));
    ComputeSpectrum(0, n - 1, ModeFresh);
    SpectrumData.AverageCount = 5;
    std::fill(SpectrumData.Average, SpectrumData.Average + n, 9.0f);

    const SpectrumResult reset = ComputeSpectrum(0, n - 1, ModeResetAverage);
    EXPECT_EQ(SpectrumData.AverageCount, 0);
    EXPECT_EQ(reset.Bins, SpectrumData.Average);
    EXPECT_EQ(reset.BinCount, 13);  // from the last computation
    for (int32_t k = 0; k <= n / 2; ++k)
        EXPECT_EQ(SpectrumData.Average[k], 0.0f) << k;
    EXPECT_EQ(SpectrumData.Average[n / 2 + 1], 9.0f);

    SetSamples(0, Noise(n, 3));
    const SpectrumResult once = ComputeSpectrum(0, n - 1, ModeAccumulate);
    EXPECT_EQ(SpectrumData.AverageCount, 1);
    EXPECT_EQ(once.Bins, SpectrumData.Average);
    const int32_t lastBin = SpectrumData.LastBin;
    EXPECT_EQ(once.BinCount, lastBin + 1);
    EXPECT_EQ(std::memcmp(SpectrumData.Average, SpectrumData.Work, (lastBin + 1) * sizeof(float)),
              0);
    const std::vector<float> firstPowers(SpectrumData.Work, SpectrumData.Work + n / 2);

    // Four times the same noise: every power is 16 times larger, to the bit, so the cut-off stays.
    std::vector<float> louder(n);
    for (int32_t i = 0; i < n; ++i)
        louder[i] = 4.0f * OscState.Record[i];
    SetSamples(0, louder);
    ComputeSpectrum(0, n - 1, ModeAccumulate);
    ASSERT_EQ(SpectrumData.LastBin, lastBin);
    EXPECT_EQ(SpectrumData.AverageCount, 2);
    for (int32_t k = 0; k <= lastBin; ++k) {
        const double mean = (static_cast<double>(firstPowers[k]) + SpectrumData.Work[k]) / 2;
        EXPECT_EQ(SpectrumData.Average[k], static_cast<float>(mean)) << k;
    }

    // A spectrum that keeps fewer bins leaves the average above its cut-off alone.
    const std::vector<float> before(SpectrumData.Average, SpectrumData.Average + n / 2);
    SetSamples(0, Cosine(n, 2, 5.0f, 0.0f));
    const SpectrumResult third = ComputeSpectrum(0, n - 1, ModeAccumulate);
    EXPECT_EQ(third.BinCount, 3);
    EXPECT_EQ(SpectrumData.AverageCount, 3);
    for (int32_t k = 3; k < n / 2; ++k)
        EXPECT_EQ(SpectrumData.Average[k], before[k]) << k;

    // Without Accumulate a run leaves the average as it was.
    ComputeSpectrum(0, n - 1, ModeFresh);
    EXPECT_EQ(SpectrumData.AverageCount, 3);
    EXPECT_EQ(SpectrumData.Average[5], before[5]);
}

TEST_F(ComputeSpectrumTest, ResettingTheAverageLeavesTheCacheAlone) {
    SetSamples(0, Cosine(64, 4, 1.0f, 0.0f));
    ComputeSpectrum(0, 63, ModeFresh);
    ComputeSpectrum(0, 999, ModeResetAverage);
    EXPECT_EQ(SpectrumData.FftSize, 1024);
    EXPECT_EQ(SpectrumData.CachedFirst, 0);
    EXPECT_EQ(SpectrumData.CachedLast, 63);
    EXPECT_EQ(OscState.SpectrumValid, 1);
    EXPECT_EQ(ComputeSpectrum(0, 63, ModeCached).BinCount, 5);
}

TEST_F(ComputeSpectrumTest, FourPointTransformsComeInNaturalOrder) {
    // Three samples 3, 0, 0 less their mean 1, padded: X1 = (3 + i)/4, X2 = 1/2.
    SetSamples(10, {3, 0, 0});
    SpectrumResult r = ComputeSpectrum(10, 12, ModeFresh);
    EXPECT_EQ(SpectrumData.FftSize, 4);
    ASSERT_EQ(r.BinCount, 2);
    EXPECT_NEAR(r.Bins[0], 0.0, 1e-12);
    EXPECT_NEAR(r.Bins[1], 0.625, 1e-6);
    EXPECT_EQ(r.FreqHigh, 250.0f);

    // Four samples 1, 2, 0, 0 less 0.75: X1 = (1 - 2i)/4, X2 = -1/4.
    SetSamples(10, {1, 2, 0, 0});
    r = ComputeSpectrum(10, 13, ModeFresh);
    ASSERT_EQ(r.BinCount, 2);
    EXPECT_NEAR(r.Bins[1], 0.3125, 1e-6);
}

TEST_F(ComputeSpectrumTest, RangesTooShortForASpectrum) {
    OscState.Record[5] = 12.0f;
    OscState.Record[6] = -4.0f;

    // One sample: N = 1, no bin at all.
    SpectrumResult r = ComputeSpectrum(5, 5, ModeFresh);
    EXPECT_EQ(SpectrumData.FftSize, 1);
    EXPECT_EQ(SpectrumData.LastBin, -1);
    EXPECT_NE(r.Bins, nullptr);
    EXPECT_EQ(r.BinCount, 0);
    EXPECT_EQ(r.FreqLow, 0.0f);
    EXPECT_EQ(r.FreqHigh, 0.0f);
    r = ComputeSpectrum(5, 5, ModeCached);
    EXPECT_EQ(r.BinCount, 0);
    EXPECT_EQ(r.FreqHigh, 0.0f);
    SpectrumData.Average[0] = 4.0f;
    r = ComputeSpectrum(5, 5, ModeAccumulate);
    EXPECT_EQ(r.BinCount, 0);
    EXPECT_EQ(SpectrumData.Average[0], 4.0f);

    // Two samples: one bin, at 0 kHz, empty once the mean is gone.
    r = ComputeSpectrum(5, 6, ModeFresh);
    EXPECT_EQ(SpectrumData.FftSize, 2);
    ASSERT_EQ(r.BinCount, 1);
    EXPECT_EQ(r.Bins[0], 0.0f);
    EXPECT_EQ(r.FreqHigh, 0.0f);
    EXPECT_EQ(SpectrumData.BinWidth, 500.0f);
}

TEST_F(ComputeSpectrumTest, RangesOutsideTheRecordReadNothingAndChangeNothing) {
    SetSamples(0, Cosine(64, 4, 1.0f, 0.0f));
    ComputeSpectrum(0, 63, ModeFresh);
    SpectrumData.Work[0] = -3.0f;
    const struct {
        int32_t first, last;
    } bad[] = {{10, 9}, {-1, 20}, {0, MaxData}, {MaxData, MaxData}, {-5, -1}};
    for (const auto& range : bad) {
        for (const SpectrumMode mode : {ModeCached, ModeResetAverage, ModeFresh, ModeAccumulate}) {
            const SpectrumResult r = ComputeSpectrum(range.first, range.last, mode);
            EXPECT_NE(r.Bins, nullptr);
            EXPECT_EQ(r.BinCount, 0) << range.first << ".." << range.last << " mode " << mode;
            EXPECT_EQ(r.FreqHigh, 0.0f);
        }
    }
    EXPECT_EQ(SpectrumData.FftSize, 64);
    EXPECT_EQ(SpectrumData.CachedLast, 63);
    EXPECT_EQ(SpectrumData.Work[0], -3.0f);
    EXPECT_EQ(SpectrumData.AverageCount, 0);

    // The last sample of the buffer is still inside.
    EXPECT_GT(ComputeSpectrum(MaxData - 8, MaxData - 1, ModeFresh).BinCount, 0);
}

TEST_F(ComputeSpectrumTest, ANotANumberSampleKeepsEveryBin) {
    std::vector<float> samples = Cosine(64, 4, 1.0f, 0.0f);
    samples[17] = std::numeric_limits<float>::quiet_NaN();
    SetSamples(0, samples);
    const SpectrumResult r = ComputeSpectrum(0, 63, ModeFresh);
    EXPECT_EQ(r.BinCount, 32);
}

}  // namespace
}  // namespace korvel
