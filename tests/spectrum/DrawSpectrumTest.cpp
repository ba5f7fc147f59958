#include "spectrum/DrawSpectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "display/PlotStyle.h"
#include "spectrum/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;
using Runs = std::vector<std::pair<int32_t, int32_t>>;

constexpr uint32_t Red = AxisPen.color;

// 301 bins 1 kHz apart: 0 .. 300 kHz. Bin 120 is the peak.
std::vector<float> Ramp() {
    std::vector<float> bins(301);
    for (size_t k = 0; k < bins.size(); ++k)
        bins[k] = 1.0f + static_cast<float>(k % 5);
    bins[120] = 10.0f;
    return bins;
}

// W = 500 and a space 8 pixels wide: the axis of the worked example.
TEST_F(SpectrumTest, NewWindowShowsEveryKeptBinOverTheExampleAxis) {
    PutSpectrum(Ramp(), 1.0f);
    Open(512, 300);

    EXPECT_EQ(Field(spectrumBottom::Min), " 0.0");
    EXPECT_EQ(Field(spectrumBottom::Width), "300.0");
    EXPECT_EQ(Field(spectrumBottom::MaxFreq), "(Max = 300.0 kHz)");
    ASSERT_EQ(Left(), 6);
    ASSERT_EQ(Top(), TopBar + 1 + 5);
    ASSERT_EQ(Right(), 507);
    ASSERT_EQ(Bottom(), 300 - (BottomBar + 1) - 8 - CellHeight);
    ASSERT_EQ(W(), 500);
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, 0.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, 300.0f);

    // Bin 0 on the vertical axis, bin 300 at left + W, every bin its own column.
    std::vector<int32_t> columns;
    for (int32_t k = 0; k <= 300; ++k)
        columns.push_back(Left() + k * 500 / 300);
    EXPECT_EQ(ColumnsOf(Red, Bottom() - 1), columns);
    // The peak ends at top + 1 (its end point unpainted); a bin of a tenth of
    // it rises trunc(232 / 10) pixels.
    EXPECT_EQ(LineTop(Left() + 120 * 500 / 300), Top() + 2);
    EXPECT_EQ(LineTop(Left() + 5 * 500 / 300), Bottom() - 23 + 1);
    // Axes in black: the vertical one above the bin-0 line, the horizontal
    // one between the bin lines, ending under the last bin one pixel short
    // of right.
    EXPECT_EQ(At(Left(), Top()), Black);
    EXPECT_EQ(At(Left() + 2, Bottom()), Black);
    EXPECT_EQ(At(Right() - 2, Bottom()), Black);
    EXPECT_EQ(At(Right() - 1, Bottom()), Red);
    EXPECT_EQ(At(Right(), Bottom()), White);

    // Ticks at left + 0, 83, 166, 250, 333, 416, 500.
    std::vector<int32_t> ticks;
    for (int32_t offset : {0, 83, 166, 250, 333, 416, 500})
        ticks.push_back(Left() + offset);
    EXPECT_EQ(ColumnsOf(Black, Bottom() + 1), ticks);
    EXPECT_EQ(ColumnsOf(Black, Bottom() + 4), ticks);
    // Labels 0 .. 250 centred under their ticks; "300 kHz" ends at right + 3.
    const Runs labels{{2, 10},    {81, 97},   {160, 184}, {244, 268},
                      {327, 351}, {410, 434}, {454, 510}};
    EXPECT_EQ(InkRuns(Bottom() + 5), labels);
    EXPECT_EQ(InkRuns(Bottom() + 5 + CellHeight - 1), labels);
    EXPECT_EQ(InkRuns(Bottom() + 5 + CellHeight), Runs{});
}

// W = 200: steps of 50 crowd the labels, so the window asks for fewer until
// steps of 100 fit; "300 kHz" would then crowd "200" and "kHz" stands alone.
TEST_F(SpectrumTest, CrowdedLabelsTakeACoarserStepAndTheUnitStandsAlone) {
    PutSpectrum(Ramp(), 1.0f);
    Open(212, 300);
    ASSERT_EQ(W(), 200);
    std::vector<int32_t> ticks;
    for (int32_t offset : {0, 66, 133, 200})
        ticks.push_back(Left() + offset);
    EXPECT_EQ(ColumnsOf(Black, Bottom() + 2), ticks);
    // "200" ends at prevRight = 139 + 20 = 159 for the unit's purposes; the
    // whole last label would start at 210 - 56 = 154.
    EXPECT_EQ(InkRuns(Bottom() + 8), (Runs{{2, 10}, {60, 84}, {127, 151}, {186, 210}}));
}

TEST_F(SpectrumTest, NoMoreThanElevenTicks) {
    std::vector<float> bins(101, 1.0f);
    PutSpectrum(bins, 1.0f);
    Open(1200, 300);
    EXPECT_EQ(ColumnsOf(Black, Bottom() + 2).size(), 11u);
}

// Bin k of a zoomed view stands at left + trunc((k - first) x W / (end - first - 1)).
TEST_F(SpectrumTest, ZoomedViewSpreadsItsBinsOverTheWholeWidth) {
    PutSpectrum(Ramp(), 1.0f);
    Open(512, 300);
    DrawSpectrum(10, 17);
    std::vector<int32_t> columns;
    for (int32_t k = 0; k < 7; ++k)
        columns.push_back(Left() + k * 500 / 6);
    EXPECT_EQ(ColumnsOf(Red, Bottom() - 1), columns);
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFrac, 10.0f / 300.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 16.0f / 300.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, 10.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, 16.0f);
    // Bins 10..16 hold 1, 2, 3, 4, 5, 1, 2: bin 14 is the peak of the view.
    EXPECT_EQ(LineTop(Left() + 4 * 500 / 6), Top() + 2);
}

// Spectra that cannot be spread over an axis show the empty axes and read
// no bin beyond the kept ones (each is followed by the sentinel).
TEST_F(SpectrumTest, DegenerateSpectraShowEmptyAxes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<float> bins;
        float binWidth;
        bool labels;  // the frequency axis still has its labels
    };
    const Case cases[] = {
        {"no bin (a range of one sample)", {}, 1.0f, false},
        {"one bin (two samples)", {0.0f}, 1.0f, false},
        {"all bins 0 (a constant record)", std::vector<float>(301, 0.0f), 1.0f, true},
        {"no bin width", {0.0f, 5.0f, 1.0f}, 0.0f, false},
        {"infinite bin width", {0.0f, 5.0f, 1.0f}, inf, false},
        {"negative and NaN bins", {-1.0f, nan, -3.0f}, 1.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpectrumView = SpectrumViewRecord{};
        PutSpectrum(c.bins, c.binWidth);
        Open(512, 300);
        EXPECT_EQ(ColumnsOf(Red, Bottom() - 1), std::vector<int32_t>{});
        EXPECT_EQ(At(Left(), Top()), Black);
        EXPECT_EQ(At(Right() - 1, Bottom()), Black);
        EXPECT_EQ(InkRuns(Bottom() + 8).empty(), !c.labels);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 1.0f);
    }
}

TEST_F(SpectrumTest, InfiniteBinReachesTheTopAndTheOthersLie) {
    PutSpectrum({0.0f, 2.0f, std::numeric_limits<float>::infinity(), 3.0f}, 1.0f);
    Open(512, 300);
    EXPECT_EQ(LineTop(Left() + 2 * W() / 3), Top() + 2);
    EXPECT_EQ(LineTop(Left() + W() / 3), -1);
    EXPECT_EQ(LineTop(Left() + W()), -1);
}

// A range of one bin has no width: it is shown as two, so that a double
// click still has a width to double.
TEST_F(SpectrumTest, SingleBinRangesAreWidenedToTwo) {
    PutSpectrum(Ramp(), 1.0f);
    SpectrumView.VisLowFrac = SpectrumView.VisHighFrac = 0.5f;
    Open(512, 300);
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, 150.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, 151.0f);
    EXPECT_EQ(ColumnsOf(Red, Bottom() - 1), (std::vector<int32_t>{Left(), Left() + W()}));

    // At the end of the spectrum the range grows to the left; ranges past
    // the end are held within it.
    for (auto [first, end] : {std::pair{300, 301}, std::pair{305, 309}, std::pair{-4, 1}}) {
        DrawSpectrum(first, end);
        const float low = first < 0 ? 0.0f : 299.0f;
        EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, low);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, low + 1.0f);
    }
}

// Windows too small for a plot: nothing is drawn outside the canvas, and
// nothing fails.
TEST_F(SpectrumTest, TinyWindowsDrawWhatFits) {
    PutSpectrum(Ramp(), 1.0f);
    for (auto [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{12, 30}, std::pair{40, 60}}) {
        Open(w, h);
        EXPECT_EQ(SpectrumCanvas.Width(), w);
    }
}

}  // namespace
}  // namespace korvel
