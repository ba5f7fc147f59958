#include "numeric/MovingWindowSum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "acquisition/ReferenceSignal.h"

namespace korvel {
namespace {

// The exact sum of floats, correctly rounded to double, by exact partial sums
// (Shewchuk's method with the half-way correction): a way to the exact value
// that shares nothing with the integer units of the code under test.
double ExactSum(const float* x, int64_t lo, int64_t hi) {
    std::vector<double> partials;
    for (int64_t j = lo; j <= hi; ++j) {
        double v = x[j];
        size_t kept = 0;
        for (double y : partials) {
            if (std::fabs(v) < std::fabs(y)) std::swap(v, y);
            const double high = v + y;
            const double low = y - (high - v);
            if (low != 0.0) partials[kept++] = low;
            v = high;
        }
        partials.resize(kept);
        partials.push_back(v);
    }
    size_t n = partials.size();
    if (n == 0) return 0.0;
    double high = partials[--n];
    double low = 0.0;
    while (n > 0) {
        const double x0 = high;
        const double y = partials[--n];
        high = x0 + y;
        low = y - (high - x0);
        if (low != 0.0) break;
    }
    if (n > 0 && ((low < 0.0 && partials[n - 1] < 0.0) || (low > 0.0 && partials[n - 1] > 0.0))) {
        const double y = low * 2.0;
        const double x0 = high + y;
        if (y == x0 - high) high = x0;
    }
    return high;
}

double ExpectedWindow(const std::vector<float>& x, int64_t width, int64_t i) {
    const auto n = static_cast<int64_t>(x.size());
    const int64_t half = (width + 1) / 2;
    const int64_t lo = std::max<int64_t>(i + half - width, 0);
    const int64_t hi = std::min<int64_t>(i + half - 1, n - 1);
    double sum = ExactSum(x.data(), lo, hi);
    if (hi - lo + 1 != width)
        sum = sum * static_cast<double>(width) / static_cast<double>(hi - lo + 1);
    return sum;
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

// Every output near the ends (where clipping acts) and every stride-th one between.
void ExpectExact(const std::vector<float>& x, int64_t width, int64_t stride) {
    const std::vector<double> got = AllSums(x, width);
    const auto n = static_cast<int64_t>(x.size());
    for (int64_t i = 0; i < n; ++i) {
        if (i > 64 && i < n - 64 && i % stride != 0) continue;
        const double want = ExpectedWindow(x, width, i);
        ASSERT_EQ(got[i], want) << "width " << width << " output " << i;
    }
}

std::vector<float> TextFileRecord(int32_t n) {
    std::vector<float> x = test::TextFileRecord(n, 7, 300.0, 0.01);
    x[100] = 1.2345e-5f;  // a value near zero brings bits far below the others
    return x;
}

TEST(MovingWindowSumTest, PicksTheNarrowestExactMethod) {
    using Method = MovingWindowSum::Method;
    const std::vector<float> codes = {-40, 130, 4000, -520000};
    EXPECT_EQ(MovingWindowSum(codes.data(), 4, 3).method(), Method::Exact53);
    // The finest bit of a text record lies far below its largest value: narrow
    // windows still fit 64 bits, wide ones need 128.
    const std::vector<float> text = TextFileRecord(20000);
    EXPECT_EQ(MovingWindowSum(text.data(), 20000, 101).method(), Method::Units64);
    EXPECT_EQ(MovingWindowSum(text.data(), 20000, 20001).method(), Method::Units128);
    const std::vector<float> extreme = {3e38f, 1e-44f};
    EXPECT_EQ(MovingWindowSum(extreme.data(), 2, 2).method(), Method::Wide);
}

TEST(MovingWindowSumTest, RecordsOfEveryKindGiveTheExactWindowSums) {
    std::mt19937 random(11);
    std::vector<float> codes(20000);  // accumulated codes: the 64-bit units
    for (float& v : codes)
        v = static_cast<float>(static_cast<int32_t>(random() % 1000000) - 500000);
    std::vector<float> text = TextFileRecord(20000);  // 128-bit units
    // Every binary order of the float range at once, with exact cancellations.
    std::vector<float> wide(20000);
    std::uniform_int_distribution<int32_t> order(-149, 127);
    for (float& v : wide) {
        v = std::ldexp(static_cast<float>(random() % 16777216), order(random) - 23);
        if (!std::isfinite(v)) v = 3.4e38f;
        if (random() % 2) v = -v;
    }
    for (int32_t i = 0; i + 2 < 20000; i += 97) {
        wide[i] = 3.0e38f;
        wide[i + 1] = 1.0f;
        wide[i + 2] = -3.0e38f;
    }
    const int64_t widths[] = {1, 2, 3, 4, 5, 101, 2000, 25001, 3000000000};
    for (std::vector<float>* x : {&codes, &text, &wide}) {
        for (int64_t width : widths) {
            ExpectExact(*x, width, width > 1000 ? 211 : 7);
        }
    }
}

TEST(MovingWindowSumTest, BlockSizeDoesNotChangeTheSums) {
    const std::vector<float> text = TextFileRecord(3000);
    EXPECT_EQ(AllSums(text, 301, 1), AllSums(text, 301, 512));
    EXPECT_EQ(AllSums(text, 4, 7), AllSums(text, 4, 3000));
}

TEST(MovingWindowSumTest, NanAndInfinitiesActAsInADoubleSum) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> x = {1, inf, 2, 3, 4, -inf, 5, 6, 7, nan, 8, 9, 10, 11};
    const std::vector<double> got = AllSums(x, 3);
    const test::DirectAverage plain{x.data(), static_cast<int32_t>(x.size()), 3, true};
    for (int32_t i = 0; i < static_cast<int32_t>(x.size()); ++i) {
        const double want = plain.WindowSum(i);
        if (std::isnan(want)) {
            EXPECT_TRUE(std::isnan(got[i])) << i;
        } else {
            EXPECT_EQ(got[i], want) << i;
        }
    }
    // Infinities of both signs in one window make NaN; a finite window after them is exact again.
    const std::vector<double> both = AllSums({inf, -inf, 0.5f, 0.25f, 0.125f}, 2);
    EXPECT_TRUE(std::isnan(both[1]));
    EXPECT_EQ(both[3], 0.75);
    EXPECT_EQ(both[4], 0.375);
}

TEST(MovingWindowSumTest, EmptyRecordsAndNonsenseWidthsAreHarmless) {
    const float one = 1.0f;
    double out[4] = {9, 9, 9, 9};
    EXPECT_EQ(MovingWindowSum(&one, 0, 3).Next(out, 4), 0);
    EXPECT_EQ(MovingWindowSum(&one, -5, 3).Next(out, 4), 0);
    EXPECT_EQ(out[0], 9.0);
    const std::vector<float> x = {2, 4, 8};
    EXPECT_EQ(AllSums(x, 0), AllSums(x, 1));  // width below 1: no smoothing
    EXPECT_EQ(AllSums(x, -7), (std::vector<double>{2, 4, 8}));
}

}  // namespace
}  // namespace korvel
