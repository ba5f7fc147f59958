#include "numeric/Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/BitPrint.h"

namespace korvel {
namespace {

struct Signal {
    std::vector<float> re, im;
};

// "noise": values of -1000..1000 in steps of 1/64; "zeros": only +0 and -0;
// "extremes": sums that overflow to infinity, infinity less infinity, and
// subnormals on the way.
Signal Input(const std::string& kind, int32_t m) {
    const float inf = std::numeric_limits<float>::infinity();
    const float extremes[] = {0.0f, -0.0f, 1e-40f, -1e-42f, 3e38f, -3e38f, inf, 1.0f};
    uint32_t state = 1000u * m + 7u;
    Signal x{std::vector<float>(1 << m), std::vector<float>(1 << m)};
    for (std::vector<float>* part : {&x.re, &x.im}) {
        for (float& v : *part) {
            const uint32_t r = test::Draw(state);
            if (kind == "noise")
                v = static_cast<float>(static_cast<int32_t>(r % 128001) - 64000) / 64;
            if (kind == "zeros") v = r % 2 == 0 ? 0.0f : -0.0f;
            if (kind == "extremes") v = extremes[r % 8];
        }
    }
    return x;
}

uint64_t Transformed(const std::string& kind, int32_t m, int32_t direction) {
    Signal x = Input(kind, m);
    Fft(x.re.data(), x.im.data(), m, direction);
    return test::BitPrint(x.im.data(), x.im.size(), test::BitPrint(x.re.data(), x.re.size()));
}

// Each kernel is pinned in turn and must give the bits of the table
// (fft_bits.txt: every size both ways, hostile values, then sizes and
// directions alternating, so that the twiddles of one call cannot leak into
// the next). The best kernel is given back afterwards.
class FftKernels : public ::testing::TestWithParam<FftKernel> {
  protected:
    void SetUp() override {
        if (UseFftKernel(GetParam()) != GetParam())
            GTEST_SKIP() << "this processor lacks the kernel";
    }
    void TearDown() override { UseFftKernel(BestFftKernel()); }
};

TEST_P(FftKernels, GiveThePinnedBits) {
    std::ifstream file(KORVEL_TEST_DATA_DIR "/numeric/fft_bits.txt");
    std::string line, kind;
    int32_t rows = 0, m = 0, direction = 0;
    uint64_t bits = 0;
    while (std::getline(file, line)) {
        std::istringstream row(line);
        if (!(row >> m >> direction >> kind >> std::hex >> bits)) continue;  // a comment
        EXPECT_EQ(Transformed(kind, m, direction), bits) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 68);
}

INSTANTIATE_TEST_SUITE_P(Fft, FftKernels,
                         ::testing::Values(FftKernel::Generic, FftKernel::Avx2, FftKernel::Avx512),
                         [](const auto& info) {
                             return std::string(info.param == FftKernel::Generic ? "Generic"
                                                : info.param == FftKernel::Avx2  ? "Avx2"
                                                                                 : "Avx512");
                         });

// What the pinned bits mean: the forward transform is the DFT scaled by 1/N,
// up to float storage after every stage and 2π rounded to float.
TEST(Fft, ForwardTransformIsTheScaledDftAndOtherSizesTouchNothing) {
    for (const int32_t m : {1, 5, 9}) {
        const int32_t n = 1 << m;
        const Signal input = Input("noise", m);
        Signal x = input;
        Fft(x.re.data(), x.im.data(), m, -1);
        for (int32_t k = 0; k < n; ++k) {
            std::complex<double> sum = 0.0;
            for (int32_t t = 0; t < n; ++t)
                sum += std::complex<double>(input.re[t], input.im[t]) *
                       std::polar(1.0 / n, -2.0 * M_PI * (k * t % n) / n);
            EXPECT_LT(std::abs(sum - std::complex<double>(x.re[k], x.im[k])), 1e-6 * 1000) << k;
        }
    }
    float re[4] = {1, 2, 3, 4}, im[4] = {5, 6, 7, 8};
    Fft(re, im, -1, -1);
    Fft(re, im, MaxFftLog2 + 1, -1);
    EXPECT_EQ(std::vector<float>(re, re + 4), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<float>(im, im + 4), (std::vector<float>{5, 6, 7, 8}));
}

}  // namespace
}  // namespace korvel
