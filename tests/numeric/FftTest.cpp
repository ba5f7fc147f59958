#include "numeric/Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace korvel {
namespace {

uint32_t Reversed(uint32_t value, int32_t bits) {
    uint32_t result = 0;
    for (int32_t b = 0; b < bits; ++b, value >>= 1)
        result = (result << 1) | (value & 1u);
    return result;
}

// The transform written down plainly, stage by stage, with a cosine and a
// sine per group: what the program's transform must reproduce to the bit.
void PlainFft(float* re, float* im, int32_t m, int32_t direction) {
    const int32_t n = 1 << m;
    for (int32_t stage = 1; stage <= m; ++stage) {
        const int32_t groups = 1 << (stage - 1);
        const int32_t length = n / groups;
        const int32_t half = length / 2;
        for (int32_t g = 0; g < groups; ++g) {
            const double theta =
                direction * static_cast<double>(6.283185f) * Reversed(g, m - 1) / n;
            const float c = static_cast<float>(std::cos(theta));
            const float s = static_cast<float>(std::sin(theta));
            for (int32_t j = 0; j < half; ++j) {
                const int32_t l = g * length + j;
                const int32_t u = l + half;
                const double tr = static_cast<double>(c) * re[u] - static_cast<double>(s) * im[u];
                const double ti = static_cast<double>(c) * im[u] + static_cast<double>(s) * re[u];
                const double lr = re[l], li = im[l];
                re[u] = static_cast<float>(lr - tr);
                im[u] = static_cast<float>(li - ti);
                re[l] = static_cast<float>(lr + tr);
                im[l] = static_cast<float>(li + ti);
            }
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        const int32_t j = static_cast<int32_t>(Reversed(i, m));
        if (j > i) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    if (direction < 0) {
        for (int32_t i = 0; i < n; ++i) {
            re[i] = static_cast<float>(re[i] * (1.0 / n));
            im[i] = static_cast<float>(im[i] * (1.0 / n));
        }
    }
}

struct Signal {
    std::vector<float> re, im;
};

Signal RandomSignal(int32_t n, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    Signal x{std::vector<float>(n), std::vector<float>(n)};
    for (int32_t i = 0; i < n; ++i) {
        x.re[i] = value(random);
        x.im[i] = value(random);
    }
    return x;
}

// The program's transform of input gives the plain one's bits.
void ExpectPlain(const Signal& input, int32_t m, int32_t direction) {
    Signal fast = input, plain = input;
    Fft(fast.re.data(), fast.im.data(), m, direction);
    PlainFft(plain.re.data(), plain.im.data(), m, direction);
    const size_t bytes = input.re.size() * sizeof(float);
    EXPECT_TRUE(std::memcmp(fast.re.data(), plain.re.data(), bytes) == 0 &&
                std::memcmp(fast.im.data(), plain.im.data(), bytes) == 0)
        << "N " << (1 << m) << " direction " << direction;
}

// Each test pins one kernel and gives the best one back afterwards.
class FftKernels : public ::testing::TestWithParam<FftKernel> {
  protected:
    void SetUp() override {
        if (UseFftKernel(GetParam()) != GetParam())
            GTEST_SKIP() << "this processor lacks the kernel";
    }
    void TearDown() override { UseFftKernel(BestFftKernel()); }
};

TEST_P(FftKernels, EverySizeGivesThePlainTransformBitForBit) {
    for (int32_t m = 0; m <= MaxFftLog2; ++m) {
        for (const int32_t direction : {-1, 1})
            ExpectPlain(RandomSignal(1 << m, 1000u * m + 7u), m, direction);
    }
}

TEST_P(FftKernels, AlternatingSizesAndDirectionsKeepTheirTwiddles) {
    // The tables built for one size and direction must not leak into another.
    const struct {
        int32_t m, direction;
    } calls[] = {{12, -1}, {7, -1}, {12, 1}, {16, -1}, {6, 2}, {9, -1}, {12, -1}, {3, -3}};
    for (const auto& call : calls)
        ExpectPlain(RandomSignal(1 << call.m, 31u * call.m + 5u), call.m, call.direction);
}

TEST_P(FftKernels, ZeroSignsSubnormalsAndOverflowKeepTheirBits) {
    const float inf = std::numeric_limits<float>::infinity();
    const float zeros[] = {0.0f, -0.0f};
    // Overflow to infinity, infinity less infinity, subnormals on the way.
    const float extremes[] = {0.0f, -0.0f, 1e-40f, -1e-42f, 3e38f, -3e38f, inf, 1.0f};
    for (int32_t m = 0; m <= 12; ++m) {
        const int32_t n = 1 << m;
        std::mt19937 random(m);
        Signal onlyZeros{std::vector<float>(n), std::vector<float>(n)};
        Signal hostile = onlyZeros;
        for (int32_t i = 0; i < n; ++i) {
            onlyZeros.re[i] = zeros[random() % 2];
            onlyZeros.im[i] = zeros[random() % 2];
            hostile.re[i] = extremes[random() % 8];
            hostile.im[i] = extremes[random() % 8];
        }
        ExpectPlain(onlyZeros, m, -1);
        ExpectPlain(hostile, m, -1);
    }
}

std::string KernelName(const ::testing::TestParamInfo<FftKernel>& info) {
    switch (info.param) {
        case FftKernel::Avx2:
            return "Avx2";
        case FftKernel::Avx512:
            return "Avx512";
        default:
            return "Generic";
    }
}

INSTANTIATE_TEST_SUITE_P(Fft, FftKernels,
                         ::testing::Values(FftKernel::Generic, FftKernel::Avx2, FftKernel::Avx512),
                         KernelName);

TEST(Fft, ForwardTransformIsTheScaledDft) {
    for (const int32_t m : {1, 2, 5, 6, 9, 11}) {
        const int32_t n = 1 << m;
        const Signal input = RandomSignal(n, 77u + m);
        Signal x = input;
        Fft(x.re.data(), x.im.data(), m, -1);
        double worst = 0.0, largest = 0.0;
        for (int32_t k = 0; k < n; ++k) {
            std::complex<double> sum = 0.0;
            for (int32_t t = 0; t < n; ++t) {
                const double angle = -2.0 * M_PI * (static_cast<int64_t>(k) * t % n) / n;
                sum += std::complex<double>(input.re[t], input.im[t]) *
                       std::complex<double>(std::cos(angle), std::sin(angle));
            }
            sum /= n;
            worst = std::max(worst, std::abs(sum - std::complex<double>(x.re[k], x.im[k])));
            largest = std::max(largest, std::abs(sum));
        }
        // Float storage after every stage, and 2π rounded to float, which turns
        // the highest frequencies by up to 3e-7 rad.
        EXPECT_LT(worst, 1e-6 * largest) << "N " << n;
    }
}

TEST(Fft, SizesOutsideTheRangeTouchNothing) {
    float re[4] = {1, 2, 3, 4}, im[4] = {5, 6, 7, 8};
    Fft(re, im, -1, -1);
    Fft(re, im, MaxFftLog2 + 1, -1);
    EXPECT_EQ(re[3], 4.0f);
    EXPECT_EQ(im[0], 5.0f);
}

}  // namespace
}  // namespace korvel
