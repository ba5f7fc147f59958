#include "numeric/MovingWindowSum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/BitPrint.h"

namespace korvel {
namespace {

using Method = MovingWindowSum::Method;

// Records of 20000 samples, the same on every machine. "codes": accumulated
// codes, which a double sums exactly. "decimals": millivolts of four decimals
// as a text file holds them, with one value near zero whose finest bit lies
// 50 binary orders below the largest values. "wide": every binary order of
// the float range at once, with 3e38 + 1 - 3e38 cancelling exactly.
std::vector<float> Record(const std::string& kind) {
    std::vector<float> x(20000);
    uint32_t state = 11;
    for (int32_t i = 0; i < 20000; ++i) {
        const uint32_t r = test::Draw(state);
        if (kind == "codes") x[i] = static_cast<float>(static_cast<int32_t>(r % 1000000) - 500000);
        if (kind == "decimals")
            x[i] = static_cast<float>(static_cast<int32_t>(r % 6000001) - 3000000) / 10000;
        if (kind == "wide") {
            const float v = std::ldexp(static_cast<float>(r),
                                       static_cast<int32_t>(test::Draw(state) % 277) - 172);
            x[i] = (!std::isfinite(v) ? 3.4e38f : v) * (r % 2 == 0 ? 1.0f : -1.0f);
            if (i % 97 == 3) {
                x[i - 3] = 3e38f;
                x[i - 2] = 1.0f;
                x[i - 1] = -3e38f;
            }
        }
    }
    if (kind == "decimals") x[100] = 1.2345e-5f;
    return x;
}

std::vector<double> AllSums(const std::vector<float>& x, int64_t width, int32_t capacity = 512) {
    MovingWindowSum sums(x.data(), static_cast<int32_t>(x.size()), width);
    std::vector<double> out(x.size());
    size_t done = 0;
    while (const int32_t count = sums.Next(out.data() + done, capacity))
        done += count;
    EXPECT_EQ(done, x.size());
    return out;
}

// Output i sums samples i + h - width .. i + h - 1, h = (width + 1) / 2;
// a clipped window of c samples is scaled by width / c.
TEST(MovingWindowSumTest, SmallWindowsByHand) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::vector<float> x;
        int64_t width;
        std::vector<double> sums;
    } table[] = {
        {{0, 3, 6, 9, 12}, 3, {4.5, 9, 18, 27, 31.5}},
        {{0, 3, 6, 9, 12}, 4, {6, 12, 18, 30, 36}},
        {{0, 3, 6, 9, 12}, 7, {31.5, 42, 42, 42, 52.5}},
        {{2, 4, 8}, 1, {2, 4, 8}},
        {{2, 4, 8}, 0, {2, 4, 8}},  // no window below one sample
        {{2, 4, 8}, -7, {2, 4, 8}},
        // NaN and infinities as in a double sum; a finite window after them is exact again.
        {{1, inf, 2, 3, 4, -inf, 5, 6, 7, nan, 8, 9, 10, 11},
         3,
         {inf, inf, inf, 9, -inf, -inf, -inf, 18, nan, nan, nan, 27, 30, 31.5}},
        {{inf, -inf, 0.5f, 0.25f, 0.125f}, 2, {inf, nan, -inf, 0.75, 0.375}},
    };
    for (const auto& row : table) {
        const std::vector<double> got = AllSums(row.x, row.width, 2);
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_TRUE(std::isnan(row.sums[i]) ? std::isnan(got[i]) : got[i] == row.sums[i])
                << "width " << row.width << " output " << i << ": " << got[i];
        }
    }
    const float one = 1.0f;
    double out[2] = {9, 9};
    EXPECT_EQ(MovingWindowSum(&one, 0, 3).Next(out, 2), 0);
    EXPECT_EQ(MovingWindowSum(&one, -5, 3).Next(out, 2), 0);
    EXPECT_EQ(out[0], 9.0);
}

// window_sums.txt pins the sums of every output, which are the exact window
// sums rounded once to double, whatever the block size the caller takes.
TEST(MovingWindowSumTest, LongRecordsGiveThePinnedExactSums) {
    const struct {
        const char* kind;
        int64_t width;
        Method method;
    } methods[] = {{"codes", 3, Method::Exact53},
                   {"decimals", 101, Method::Units64},
                   {"decimals", 20001, Method::Units128},
                   {"wide", 2, Method::Wide}};
    for (const auto& row : methods) {
        const std::vector<float> x = Record(row.kind);
        EXPECT_EQ(MovingWindowSum(x.data(), 20000, row.width).method(), row.method) << row.kind;
    }
    std::ifstream file(KORVEL_TEST_DATA_DIR "/numeric/window_sums.txt");
    std::string line, kind;
    int64_t width = 0;
    uint64_t bits = 0;
    int32_t rows = 0;
    while (std::getline(file, line)) {
        std::istringstream row(line);
        if (!(row >> kind >> width >> std::hex >> bits)) continue;  // a comment
        const std::vector<double> sums = AllSums(Record(kind), width, rows % 2 == 0 ? 512 : 7);
        EXPECT_EQ(test::BitPrint(sums.data(), sums.size()), bits) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 27);
}

}  // namespace
}  // namespace korvel
