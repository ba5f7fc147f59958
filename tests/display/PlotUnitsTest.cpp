// The pure parts of the oscillogram: the vertical scale's widening, the
// trace's walk over the pixel columns, and the fonts' fallbacks.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "display/PlotFixture.h"
#include "display/PlotScale.h"
#include "display/PlotStyle.h"
#include "display/PlotTrace.h"
#include "model/OscSettings.h"

namespace korvel::test {
namespace {

TEST(VerticalScale, EqualBoundsAreWidenedWithinTheConverterOrAroundThemselves) {
    const struct {
        float bound, lo, hi;
    } rows[] = {
        {20, -30, 70},    {-100, -128, -50},     {100, 50, 127},      // within -128 .. 127 mV
        {200, 150, 250},  {177, 127, 227},       {-178, -228, -128},  // beyond: +-50 mV around
        {NAN, -128, 127}, {INFINITY, -128, 127}, {1e30f, -128, 127},  // nothing to scale by
    };
    for (const auto& r : rows) {
        const VerticalScale s = WidenRange(r.bound, r.bound);
        EXPECT_EQ(std::pair(s.lo, s.hi), std::pair(r.lo, r.hi)) << r.bound;
        EXPECT_EQ(s.range, r.hi - r.lo);
    }
    EXPECT_TRUE(WidenRange(0, 0).noData);
    EXPECT_FALSE(WidenRange(0, 1).noData || WidenRange(1, 0).noData);
    EXPECT_EQ(WidenRange(100, 0).range, -100.0f);  // the wrong way round: upside down
}

TEST(TraceWalk, OneSamplePerColumnOrEverySampleOnItsColumns) {
    using Points = std::vector<std::pair<int32_t, int32_t>>;
    auto walk = [](int32_t count, int32_t width) {
        Points points;
        WalkTrace(count, width, [&](int32_t x, int32_t i) { points.emplace_back(x, i); });
        return points;
    };
    const Points many = walk(65534, 600);  // 65533 = 109 x 600 + 133
    ASSERT_EQ(many.size(), 601u);
    for (int32_t c = 1; c <= 600; ++c) {
        EXPECT_EQ(many[c].first, c);
        EXPECT_EQ(many[c].second, c * 65533 / 600);
    }
    EXPECT_EQ(walk(4, 10), (Points{{0, 0}, {3, 1}, {6, 2}, {10, 3}}));
    EXPECT_EQ(walk(3, 2), (Points{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(walk(5, 3), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 4}}));
    EXPECT_TRUE(walk(1, 100).empty() && walk(50, 0).empty());
}

TEST_F(PlotTest, FontsFallBackWithoutCourierAndGoWithoutSymbols) {
    engine.courierAvailable = false;
    engine.symbolAvailable = false;
    OscSettings.LFontSize = 99;  // beyond the list of sizes
    OscSettings.MFontSize = -3;
    CreatePlotFonts();
    EXPECT_EQ(std::pair(LabelFont.Height(), MessageFont.Height()), std::pair(24, 8));
    EXPECT_FALSE(LabelSymbolFont.Exists() || MessageSymbolFont.Exists());
}

}  // namespace
}  // namespace korvel::test
