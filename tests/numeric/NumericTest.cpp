#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "model/TestTables.h"
#include "numeric/Fft.h"
#include "numeric/MovingWindowSum.h"
#include "numeric/Ticks.h"

namespace korvel {
namespace {

// The real then the imaginary parts of 2^m values. "noise": -1000..1000 in
// steps of 1/64; "zeros": only +0 and -0; "extremes": sums that overflow to
// infinity, infinity less infinity, and subnormals on the way.
std::vector<float> Input(const std::string& kind, int32_t m) {
    const float inf = std::numeric_limits<float>::infinity();
    const float extremes[] = {0.0f, -0.0f, 1e-40f, -1e-42f, 3e38f, -3e38f, inf, 1.0f};
    uint32_t state = 1000u * m + 7u;
    std::vector<float> x(2 << m);
    for (float& v : x) {
        const uint32_t r = test::Draw(state);
        if (kind == "noise") v = static_cast<float>(static_cast<int32_t>(r % 128001) - 64000) / 64;
        if (kind == "zeros") v = r % 2 == 0 ? 0.0f : -0.0f;
        if (kind == "extremes") v = extremes[r % 8];
    }
    return x;
}

// Each kernel the processor has must give the bits of fft_bits.txt: every
// size both ways, hostile values, then sizes and directions alternating, so
// that the twiddles of one call cannot leak into the next.
TEST(Fft, EveryKernelGivesThePinnedBits) {
    for (const FftKernel kernel : {FftKernel::Generic, FftKernel::Avx2, FftKernel::Avx512}) {
        if (UseFftKernel(kernel) != kernel) continue;
        SCOPED_TRACE(static_cast<int32_t>(kernel));
        const int32_t rows = test::ForEachRow("numeric/fft_bits.txt", [](std::istringstream& row) {
            int32_t m = 0, direction = 0;
            std::string kind;
            uint64_t bits = 0;
            row >> m >> direction >> kind >> std::hex >> bits;
            std::vector<float> x = Input(kind, m);
            Fft(x.data(), x.data() + (1 << m), m, direction);
            EXPECT_EQ(test::BitPrint(x.data(), x.size()), bits);
        });
        EXPECT_EQ(rows, 71);
    }
    UseFftKernel(BestFftKernel());

    // A size outside 2^0 .. 2^16 leaves the arrays as they are.
    std::vector<float> x = {1, 2, 3, 4, 5, 6, 7, 8};
    Fft(x.data(), x.data() + 4, -1, -1);
    Fft(x.data(), x.data() + 4, MaxFftLog2 + 1, -1);
    EXPECT_EQ(x, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
}

// Records of 20000 samples. "codes": accumulated codes, which a double sums
// exactly. "decimals": millivolts of four decimals as a text file holds them,
// with one value near zero whose finest bit lies 50 binary orders below the
// largest values. "wide": every binary order of the float range at once, with
// 3e38 + 1 - 3e38 cancelling exactly.
std::vector<float> Record(const std::string& kind) {
    std::vector<float> x(20000);
    uint32_t state = 11;
    for (int32_t i = 0; i < 20000; ++i) {
        const uint32_t r = test::Draw(state);
        if (kind == "codes") x[i] = static_cast<float>(static_cast<int32_t>(r % 1000000) - 500000);
        if (kind == "decimals")
            x[i] = static_cast<float>(static_cast<int32_t>(r % 6000001) - 3000000) / 10000;
        if (kind == "wide") {
            const int32_t order = static_cast<int32_t>(test::Draw(state) % 277) - 172;
            const float v = std::ldexp(static_cast<float>(r), order);
            x[i] = (std::isfinite(v) ? v : 3.4e38f) * (r % 2 == 0 ? 1.0f : -1.0f);
        }
        if (kind == "wide" && i % 97 < 3) x[i] = std::vector<float>{3e38f, 1.0f, -3e38f}[i % 97];
    }
    if (kind == "decimals") x[100] = 1.2345e-5f;
    return x;
}

std::vector<double> AllSums(const std::vector<float>& x, int64_t width, int32_t capacity) {
    MovingWindowSum sums(x.data(), static_cast<int32_t>(x.size()), width);
    std::vector<double> out(x.size());
    size_t done = 0;
    while (const int32_t count = sums.Next(out.data() + done, capacity))
        done += count;
    EXPECT_EQ(done, x.size());
    return out;
}

TEST(MovingWindowSumTest, SmallWindowsByHand) {
    const int32_t rows =
        test::ForEachRow("numeric/windows_by_hand.txt", [](std::istringstream& row) {
            const auto width = static_cast<int64_t>(test::Numbers(row)[0]);
            const std::vector<double> samples = test::Numbers(row), sums = test::Numbers(row);
            std::vector<float> x(samples.begin(), samples.end());
            x.reserve(1);  // even no samples lie somewhere
            const std::vector<double> got = AllSums(x, width, 2);
            for (size_t i = 0; i < sums.size(); ++i)
                EXPECT_TRUE(std::isnan(sums[i]) ? std::isnan(got[i]) : got[i] == sums[i])
                    << i << ": " << got[i];
        });
    EXPECT_EQ(rows, 14);
}

// window_sums.txt pins every output, the exact window sum rounded once to
// double, in blocks of 512 and of 7 alike, and the method each record needs.
TEST(MovingWindowSumTest, LongRecordsGiveThePinnedExactSums) {
    const std::string methods[] = {"Exact53", "Units64", "Units128", "Wide"};
    int32_t n = 0;
    const int32_t rows = test::ForEachRow("numeric/window_sums.txt", [&](std::istringstream& row) {
        std::string kind, method;
        int64_t width = 0;
        uint64_t bits = 0;
        row >> kind >> width >> method >> std::hex >> bits;
        const std::vector<float> x = Record(kind);
        EXPECT_EQ(methods[static_cast<int32_t>(MovingWindowSum(x.data(), 20000, width).method())],
                  method);
        const std::vector<double> sums = AllSums(x, width, ++n % 2 == 0 ? 7 : 512);
        EXPECT_EQ(test::BitPrint(sums.data(), sums.size()), bits);
    });
    EXPECT_EQ(rows, 27);
}

TEST(Ticks, NiceStepsTickRangesAndTickValuesOfTheTable) {
    const int32_t rows = test::ForEachRow("numeric/ticks.txt", [](std::istringstream& row) {
        std::string kind;
        row >> kind;
        const std::vector<double> in = test::Numbers(row), out = test::Numbers(row);
        const auto f = [&](size_t k) { return static_cast<float>(in.at(k)); };
        const auto n = [&](size_t k) { return static_cast<int32_t>(in.at(k)); };
        std::vector<float> got = {NiceStep(f(0))};
        if (kind == "value") got = {TickValue(f(0), f(1), n(2), n(3))};
        if (kind == "ticks") {
            const TickSet t = TickRange(f(0), f(1), n(2));
            got = {static_cast<float>(t.count), t.low, t.high};
        }
        EXPECT_EQ(got, std::vector<float>(out.begin(), out.end()));
    });
    EXPECT_EQ(rows, 39);
}

}  // namespace
}  // namespace korvel
