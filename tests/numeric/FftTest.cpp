#include "numeric/Fft.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "model/TestTables.h"

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
        EXPECT_EQ(rows, 68);
    }
    UseFftKernel(BestFftKernel());

    // A size outside 2^0 .. 2^16 leaves the arrays as they are.
    std::vector<float> x = {1, 2, 3, 4, 5, 6, 7, 8};
    Fft(x.data(), x.data() + 4, -1, -1);
    Fft(x.data(), x.data() + 4, MaxFftLog2 + 1, -1);
    EXPECT_EQ(x, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace korvel
