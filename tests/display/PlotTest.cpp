#include "display/Plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/PlotFixture.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/PlotTrace.h"

namespace korvel::test {
namespace {

using Plot = PlotTest;
using Ints = std::vector<int32_t>;

TEST_F(Plot, LayoutFillsTheClientAreaBetweenTheBars) {
    Prepare(800, 500);
    RefreshPlot();
    const Rect& o = PlotState.OverviewRect;
    const Rect& s = PlotState.SubWindowRect;
    EXPECT_EQ((Ints{o.left, o.top, o.right, o.bottom}), (Ints{4, 3, 798, 98}));
    // The read-out column keeps 20 spaces of the 14-pixel message font (7 wide).
    EXPECT_EQ((Ints{s.left, s.top, s.right, s.bottom}), (Ints{4, 102, 658, 497}));
    EXPECT_EQ((Ints{PlotState.ReadoutX, PlotState.ReadoutY[3]}), (Ints{728, 98 + 9 * 14}));
    // Narrower than 20 spaces (114 pixels available): two thirds.
    Prepare(120, 300);
    RefreshPlot();
    EXPECT_EQ(PlotState.SubWindowRect.right, 4 + 2 * 114 / 3);
    EXPECT_EQ(ports.frame.plotShown, 2);
}

TEST_F(Plot, HeadlessRefreshMovesTheStateOnWithoutDrawing) {
    ResetPlotState();  // no engine, no fonts, a 0 x 0 canvas
    FillSquareWave(MaxData);
    OscSettings.D_min = -5.0f;
    RefreshPlot();
    EXPECT_EQ((std::vector{OscState.AutoNormPending, OscSettings.Data_E, PlotState.EditsLive}),
              (Ints{0, 1000, 1}));
    EXPECT_EQ(OscState.ViewMin, -5.0f);
}

TEST(VerticalScale, EqualBoundsAreWidened) {
    auto bounds = [](float lo, float hi) {
        const VerticalScale s = WidenRange(lo, hi);
        return std::pair(s.lo, s.hi);
    };
    EXPECT_EQ(bounds(20, 20), std::pair(-30.0f, 70.0f));
    EXPECT_EQ(bounds(-100, -100), std::pair(-128.0f, -50.0f));
    EXPECT_EQ(bounds(100, 100), std::pair(50.0f, 127.0f));
    EXPECT_TRUE(WidenRange(0, 0).noData);
    // Beyond the limits a flat record sits in the middle of its own +-50 mV.
    EXPECT_EQ(bounds(200, 200), std::pair(150.0f, 250.0f));
    EXPECT_EQ(bounds(177, 177), std::pair(127.0f, 227.0f));
    EXPECT_EQ(bounds(-178, -178), std::pair(-228.0f, -128.0f));
    // Nothing to scale by: the converter's full scale.
    for (float bad : {NAN, INFINITY, 1e30f})
        EXPECT_EQ(bounds(bad, bad), std::pair(-128.0f, 127.0f));
    // Bounds the wrong way round stand: the plot is drawn upside down.
    EXPECT_EQ(WidenRange(100, 0).range, -100.0f);
}

// A flat record beyond the widening's limits: the trace across the middle.
TEST_F(Plot, FlatRecordAt200MvIsDrawnAcrossTheMiddle) {
    Prepare(800, 500);
    FillConstant(MaxData, 200.0f);
    RefreshPlot();
    const PlotArea& a = SubWindowArea;
    EXPECT_EQ(std::pair(OverviewArea.range, a.range), std::pair(100.0f, 100.0f));
    EXPECT_EQ(PlotCanvas.Pixel(a.axisX + 50, a.top + a.height / 2), 0xFF000000u);
}

TEST(TraceWalk, OneSamplePerColumnOrEverySampleOnItsColumns) {
    std::vector<std::pair<int32_t, int32_t>> points;
    auto walk = [&](int32_t count, int32_t width) {
        points.clear();
        WalkTrace(count, width, [&](int32_t x, int32_t i) { points.emplace_back(x, i); });
    };
    walk(MaxData, 600);  // 65533 = 109 x 600 + 133
    ASSERT_EQ(points.size(), 601u);
    std::set<int32_t> steps;
    for (int32_t c = 1; c <= 600; ++c) {
        EXPECT_EQ(points[c].first, c);
        steps.insert(points[c].second - points[c - 1].second);
    }
    EXPECT_EQ(steps, (std::set<int32_t>{109, 110}));
    EXPECT_EQ(points.back().second, MaxData - 1);

    walk(11, 100);
    for (int32_t j = 0; j <= 10; ++j)
        EXPECT_EQ(points[j], std::pair(10 * j, j));
    walk(4, 10);
    EXPECT_EQ(points, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {3, 1}, {6, 2}, {10, 3}}));
    walk(1, 100);
    EXPECT_TRUE(points.empty());
    walk(50, 0);
    EXPECT_TRUE(points.empty());
}

// The sub-window's trace is exactly the polyline of the walk, clamped.
TEST_F(Plot, SubWindowTraceIsThePolylineOfTheWalk) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    RefreshPlot();
    OscSettings.Labels_X = 1;   // no time marks in the way
    OscState.ViewMax = 500.0f;  // the high samples are clamped to the top
    SetSubWindow(790, 800);
    const PlotArea& a = SubWindowArea;
    Canvas expected;
    expected.Resize(PlotCanvas.Width(), PlotCanvas.Height());
    WalkTrace(11, a.width, [&](int32_t x, int32_t j) {
        const int32_t y =
            a.zeroY - static_cast<int32_t>(a.height * OscState.Record[790 + j] / a.range);
        j == 0 ? expected.MoveTo(a.axisX, std::clamp(y, a.top, a.bottom))
               : expected.LineTo(a.axisX + x, std::clamp(y, a.top, a.bottom));
    });
    for (int32_t y = a.top; y <= a.bottom; ++y) {
        for (int32_t x = a.axisX; x <= a.right; ++x) {
            EXPECT_EQ(expected.Pixel(x, y) == 0xFF000000u, PlotCanvas.Pixel(x, y) == 0xFF000000u)
                << x << "," << y;
        }
    }
}

TEST_F(Plot, ShortRecordsDrawAxesWithoutReadingBeyondThem) {
    for (int32_t count : {1, 2, 3}) {
        Prepare(500, 400);
        FillSquareWave(count);
        ports.bottomBar[1006].text = "100";
        RefreshPlot();
        EXPECT_EQ((Ints{OscSettings.Data_S, OscSettings.Data_E, OverviewArea.span}),
                  (Ints{0, count - 1, count - 1}));
        EXPECT_EQ(PlotState.MarkerShown, count > 1 ? 1 : 0);
        SetSubWindow(9, 4);
        EXPECT_EQ((Ints{OscSettings.Data_S, OscSettings.Data_E}), (Ints{0, count - 1}));
    }
}

TEST_F(Plot, FileStartingAt250000UsOverThreeSamplesStillGetsTimeLabels) {
    Prepare(800, 500);
    FillSquareWave(12);
    OscState.FileView = 1;
    OscState.LoadedLength = 12;
    OscState.TimeOffset = 250000.0f;
    RefreshPlot();
    for (int32_t labels : {2, 3, 10, 100}) {
        OscSettings.Labels_X = labels;
        SetSubWindow(0, 2);
        const PlotArea& a = SubWindowArea;
        EXPECT_GT(InkedPixels(a.axisX, a.bottom + 5, a.right, PlotState.SubWindowRect.bottom - 2),
                  0);
    }
}

TEST_F(Plot, OneWantedLabelKeepsTheVoltageSetBeforeAndDrawsNoTimeLabels) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    OscSettings.Labels_Y = 1;
    OscSettings.Labels_X = 1;
    RefreshPlot();
    const PlotArea& a = SubWindowArea;
    EXPECT_EQ(a.axisX, PlotState.SubWindowRect.left + 2 + 10);
    EXPECT_EQ(InkedPixels(a.axisX - 2, a.bottom + 5, a.right, PlotState.SubWindowRect.bottom - 2),
              0);

    OscSettings.Labels_Y = 10;
    RefreshPlot();
    const TickSet kept = PlotState.SubWindowLabels;
    OscSettings.Labels_Y = 1;
    OscState.ViewMin = -5000.0f;
    RefreshPlot();
    EXPECT_EQ(std::pair(PlotState.SubWindowLabels.count, PlotState.SubWindowLabels.high),
              std::pair(kept.count, kept.high));
}

// "12 us" at the end of the time axis: its "u" overwritten by the micro sign
// while the symbol font exists. A last label pushed against the previous one
// by the frame is the unit alone.
TEST_F(Plot, LastTimeLabelNamesTheUnitWithAMicroSignOrWithout) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    Font courier;
    engine.MakeFont("Courier", 12, courier);
    auto cellIs = [&](int32_t x, const Font& font, unsigned char c) {
        for (int32_t i = 0; i < 6 * 12; ++i) {
            const uint32_t p = PlotCanvas.Pixel(x + i % 6, SubWindowArea.bottom + 6 + i / 6);
            if ((p == 0xFF000000u) != (font.Glyph(c)[i] != 0)) return false;
        }
        return true;
    };
    auto cellAt = [&](const Font& font, unsigned char c) {
        for (int32_t x = SubWindowArea.axisX; x < PlotState.SubWindowRect.right - 3; ++x) {
            if (cellIs(x, font, c)) return x;
        }
        return -1;
    };
    RefreshPlot();
    const int32_t micro = cellAt(LabelSymbolFont, 'm');
    EXPECT_GT(micro, 0);
    EXPECT_TRUE(cellIs(micro + 6, courier, 's') && cellIs(micro - 12, courier, '2'));

    SetSubWindow(0, 112);  // 0 .. 1.4 us, the last tick on the right edge
    const int32_t unit = PlotState.SubWindowRect.right - 3 - 12;
    EXPECT_TRUE(cellIs(unit, LabelSymbolFont, 'm') && cellIs(unit + 6, courier, 's'));
    EXPECT_TRUE(cellIs(unit - 12, courier, ' ') && cellIs(unit - 18, courier, ' '));  // no "1.4"

    engine.symbolAvailable = false;
    CreatePlotFonts();
    RefreshPlot();
    EXPECT_TRUE(cellIs(micro, courier, 'u'));
}

TEST_F(Plot, FontsFallBackWithoutCourierAndGoWithoutSymbols) {
    engine.courierAvailable = false;
    engine.symbolAvailable = false;
    OscSettings.LFontSize = 99;
    OscSettings.MFontSize = -3;
    CreatePlotFonts();
    EXPECT_EQ((Ints{LabelFont.Height(), MessageFont.Height()}), (Ints{24, 8}));
    EXPECT_FALSE(LabelSymbolFont.Exists() || MessageSymbolFont.Exists());
}

}  // namespace
}  // namespace korvel::test
