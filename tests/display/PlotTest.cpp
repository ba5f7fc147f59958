#include "display/Plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "display/PlotFixture.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/PlotTrace.h"

namespace korvel::test {
namespace {

using Plot = PlotTest;

TEST_F(Plot, LayoutFillsTheClientAreaBetweenTheBars) {
    Prepare(800, 500);
    RefreshPlot();
    const Rect& o = PlotState.OverviewRect;
    const Rect& s = PlotState.SubWindowRect;
    EXPECT_EQ((std::vector{o.left, o.top, o.right, o.bottom}), (std::vector{4, 3, 798, 98}));
    // The read-out column keeps 20 spaces of the 14-pixel message font (7 wide).
    EXPECT_EQ((std::vector{s.left, s.top, s.right, s.bottom}), (std::vector{4, 102, 658, 497}));
    EXPECT_EQ(PlotState.ReadoutX, (658 + 798) / 2);
    EXPECT_EQ(PlotState.ReadoutY[3], 98 + 9 * 14);
    EXPECT_EQ(ports.frame.plotShown, 1);
}

TEST_F(Plot, NarrowWindowGivesTheSubWindowTwoThirds) {
    Prepare(120, 300);
    RefreshPlot();
    // 114 pixels available, less than 20 spaces of 7.
    EXPECT_EQ(PlotState.SubWindowRect.right, 4 + 2 * 114 / 3);
}

TEST_F(Plot, FirstRefreshSetsTheDeviceUpAndShowsTheNoticeOnce) {
    Prepare(400, 300);
    OscState.DeviceReady = 0;
    OscState.Record[5] = 42.0f;
    OscState.Russian = 1;
    RefreshPlot();
    RefreshPlot();
    ASSERT_EQ(ports.dialogs.notices.size(), 1u);
    EXPECT_EQ(ports.dialogs.notices[0].first, "KORVEL");
    EXPECT_EQ(ports.dialogs.notices[0].second, "Использую эмуляцию устройства");
    EXPECT_EQ(OscState.Record[5], 0.0f);
    EXPECT_EQ(ports.frame.plotShown, 2);
}

TEST_F(Plot, HeadlessRefreshMovesTheStateOnWithoutDrawing) {
    ResetPlotState();  // no engine, no fonts, a 0 x 0 canvas
    FillSquareWave(MaxData);
    OscSettings.D_min = -5.0f;
    RefreshPlot();
    EXPECT_EQ(OscState.AutoNormPending, 0);
    EXPECT_EQ(OscState.ViewMin, -5.0f);
    EXPECT_EQ(OscSettings.Data_E, 1000);
    EXPECT_EQ(PlotState.EditsLive, 1);
    EXPECT_EQ(PlotState.LabelsDirty, 0);
}

TEST(VerticalScale, EqualBoundsAreWidened) {
    const VerticalScale twenty = WidenRange(20.0f, 20.0f);
    EXPECT_EQ(std::pair(twenty.lo, twenty.hi), std::pair(-30.0f, 70.0f));
    EXPECT_EQ(WidenRange(-100.0f, -100.0f).lo, -128.0f);
    EXPECT_EQ(WidenRange(100.0f, 100.0f).hi, 127.0f);
    EXPECT_TRUE(WidenRange(0.0f, 0.0f).noData);
    // Beyond the limits a flat record sits in the middle of its own +-50 mV.
    EXPECT_EQ(std::pair(WidenRange(200.0f, 200.0f).lo, WidenRange(200.0f, 200.0f).hi),
              std::pair(150.0f, 250.0f));
    EXPECT_EQ(WidenRange(177.0f, 177.0f).range, 100.0f);
    EXPECT_EQ(WidenRange(-178.0f, -178.0f).hi, -128.0f);
    // Nothing to scale by: the converter's full scale.
    for (float bad : {NAN, INFINITY, 1e30f}) {
        const VerticalScale s = WidenRange(bad, bad);
        EXPECT_EQ(std::pair(s.lo, s.hi), std::pair(-128.0f, 127.0f)) << bad;
    }
    // Bounds the wrong way round stand: the plot is drawn upside down.
    EXPECT_EQ(WidenRange(100.0f, 0.0f).range, -100.0f);
}

TEST_F(Plot, FlatRecordsAreDrawnAcrossTheMiddle) {
    for (float level : {20.0f, 200.0f, -300.0f}) {
        Prepare(800, 500);
        FillConstant(MaxData, level);
        OscState.AutoNormPending = 1;
        RefreshPlot();
        EXPECT_EQ(OverviewArea.range, 100.0f) << level;
        const PlotArea& a = SubWindowArea;
        EXPECT_EQ(a.range, 100.0f) << level;
        const int32_t y = a.zeroY - static_cast<int32_t>(a.height * level / a.range);
        EXPECT_NEAR(y, a.top + a.height / 2, 1) << level;
        EXPECT_EQ(PlotCanvas.Pixel(a.axisX + 50, y), 0xFF000000u) << level;
    }
}

TEST_F(Plot, OverviewOfAFullRecordTakesOneSamplePerColumn) {
    int32_t segments = 0;
    int32_t previous = 0;
    std::set<int32_t> steps;
    WalkTrace(MaxData, 600, [&](int32_t x, int32_t index) {
        if (x == 0) return;
        EXPECT_EQ(x, ++segments);
        steps.insert(index - previous);
        previous = index;
    });
    EXPECT_EQ(segments, 600);
    EXPECT_EQ(previous, MaxData - 1);
    EXPECT_EQ(steps, (std::set<int32_t>{109, 110}));
}

TEST_F(Plot, FewSamplesSpreadOverTheWidthEndingOnTheRightEdge) {
    std::vector<std::pair<int32_t, int32_t>> points;
    WalkTrace(11, 100, [&](int32_t x, int32_t index) { points.emplace_back(x, index); });
    ASSERT_EQ(points.size(), 11u);
    for (int32_t j = 0; j <= 10; ++j)
        EXPECT_EQ(points[j], std::pair(10 * j, j));

    points.clear();
    WalkTrace(4, 10, [&](int32_t x, int32_t index) { points.emplace_back(x, index); });
    EXPECT_EQ(points.back(), std::pair(10, 3));
    EXPECT_EQ(points[1].first, 3);

    int32_t visits = 0;
    WalkTrace(1, 100, [&](int32_t, int32_t) { ++visits; });
    WalkTrace(50, 0, [&](int32_t, int32_t) { ++visits; });
    EXPECT_EQ(visits, 0);
}

// The trace drawn by the plot is exactly the polyline of the walk.
TEST_F(Plot, SubWindowTraceIsThePolylineOfTheWalkClamped) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    RefreshPlot();
    OscSettings.Labels_X = 1;  // no time marks in the way
    SetSubWindow(790, 800);
    const PlotArea& a = SubWindowArea;
    ASSERT_EQ(a.span, 10);
    Canvas expected;
    expected.Resize(PlotCanvas.Width(), PlotCanvas.Height());
    WalkTrace(11, a.width, [&](int32_t x, int32_t j) {
        int32_t y = a.zeroY - static_cast<int32_t>(a.height * OscState.Record[790 + j] / a.range);
        y = std::clamp(y, a.top, a.bottom);
        if (j == 0) {
            expected.MoveTo(a.axisX, y);
        } else {
            expected.LineTo(a.axisX + x, y);
        }
    });
    for (int32_t y = a.top; y <= a.bottom; ++y) {
        for (int32_t x = a.axisX; x <= a.right; ++x) {
            const bool traced = expected.Pixel(x, y) == 0xFF000000u;
            const bool drawn = PlotCanvas.Pixel(x, y) == 0xFF000000u;
            EXPECT_EQ(traced, drawn) << x << "," << y;
        }
    }
}

TEST_F(Plot, ShortRecordsDrawAxesWithoutReadingBeyondThem) {
    for (int32_t count : {1, 2, 3}) {
        Prepare(500, 400);
        FillSquareWave(count);
        OscSettings.Data_S = 5;
        OscSettings.Data_E = 100;
        ports.bottomBar[1000].text = "";
        ports.bottomBar[1006].text = "";
        RefreshPlot();
        EXPECT_EQ(OscSettings.Data_S, 0) << count;
        EXPECT_EQ(OscSettings.Data_E, count - 1) << count;
        EXPECT_EQ(OverviewArea.span, count - 1);
        EXPECT_EQ(PlotState.MarkerShown, count > 1 ? 1 : 0);
        SetSubWindow(9, 4);
        EXPECT_EQ(OscSettings.Data_S, 0) << count;
        EXPECT_EQ(OscSettings.Data_E, count - 1) << count;
    }
}

TEST_F(Plot, FileStartingAt250000UsOverThreeSamplesStillGetsLabels) {
    Prepare(800, 500);
    FillSquareWave(12);
    OscState.FileView = 1;
    OscState.LoadedLength = 12;
    OscState.TimeOffset = 250000.0f;
    RefreshPlot();
    EXPECT_EQ(SubWindowArea.span, 3);
    for (int32_t labels : {2, 3, 10, 100}) {
        OscSettings.Labels_X = labels;
        SetSubWindow(0, 2);
        EXPECT_EQ(SubWindowArea.span, 2);
    }
    // A time label row exists below the trace.
    const PlotArea& a = SubWindowArea;
    EXPECT_GT(InkedPixels(a.axisX, a.bottom + 5, a.right, PlotState.SubWindowRect.bottom - 2), 0);
}

TEST_F(Plot, OneWantedLabelKeepsTheVoltageSetBeforeAndDrawsNoTimeLabels) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    OscSettings.Labels_Y = 1;
    OscSettings.Labels_X = 1;
    RefreshPlot();
    const PlotArea& a = SubWindowArea;
    EXPECT_EQ(a.axisX, PlotState.SubWindowRect.left + 2 + 10);
    EXPECT_EQ(PlotState.SubWindowLabels.count, -1);
    EXPECT_EQ(InkedPixels(a.axisX - 2, a.bottom + 5, a.right, PlotState.SubWindowRect.bottom - 2),
              0);

    OscSettings.Labels_Y = 10;
    RefreshPlot();
    const TickSet kept = PlotState.SubWindowLabels;
    EXPECT_GE(kept.count, 2);
    OscSettings.Labels_Y = 1;
    OscState.ViewMin = -5000.0f;
    RefreshPlot();
    EXPECT_EQ(PlotState.SubWindowLabels.count, kept.count);
    EXPECT_EQ(PlotState.SubWindowLabels.high, kept.high);
}

TEST_F(Plot, LabelsOfTheLastTimeTickNameTheUnitWithAMicroSign) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    RefreshPlot();
    // "12 us" ends 3 pixels inside the frame at most; its "u" is the micro sign.
    const PlotArea& a = SubWindowArea;
    const int32_t labelTop = a.bottom + 6;
    Font courier;
    engine.MakeFont("Courier", 12, courier);
    auto cellIs = [&](int32_t left, const Font& font, unsigned char c) {
        const uint8_t* glyph = font.Glyph(c);
        for (int32_t y = 0; y < 12; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                const bool ink = glyph[y * 6 + x] != 0;
                if (ink != (PlotCanvas.Pixel(left + x, labelTop + y) == 0xFF000000u)) return false;
            }
        }
        return true;
    };
    int32_t found = -1;
    for (int32_t x = a.axisX; x < PlotState.SubWindowRect.right; ++x) {
        if (cellIs(x, LabelSymbolFont, 'm') && cellIs(x + 6, courier, 's')) found = x;
    }
    ASSERT_GT(found, 0);
    EXPECT_LE(found + 12, PlotState.SubWindowRect.right - 3);

    engine.symbolAvailable = false;
    CreatePlotFonts();
    RefreshPlot();
    EXPECT_TRUE(cellIs(found, courier, 'u'));
}

TEST_F(Plot, FontsFallBackWithoutCourierAndGoWithoutSymbols) {
    engine.courierAvailable = false;
    engine.symbolAvailable = false;
    OscSettings.LFontSize = 99;
    OscSettings.MFontSize = -3;
    CreatePlotFonts();
    EXPECT_EQ(LabelFont.Height(), 24);
    EXPECT_EQ(MessageFont.Height(), 8);
    EXPECT_FALSE(LabelSymbolFont.Exists());
    EXPECT_FALSE(MessageSymbolFont.Exists());
}

}  // namespace
}  // namespace korvel::test
