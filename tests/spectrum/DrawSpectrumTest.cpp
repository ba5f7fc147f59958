#include "spectrum/DrawSpectrum.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "display/PlotStyle.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;
using Runs = std::vector<std::pair<int32_t, int32_t>>;
constexpr uint32_t Red = AxisPen.color;

// W = 500 and a space 8 pixels wide: the axis of the worked example.
TEST_F(SpectrumTest, NewWindowShowsEveryKeptBinOverTheExampleAxis) {
    PutSpectrum(Ramp(), 1.0f);
    Open(512, 300);
    EXPECT_EQ(Field(spectrumBottom::Min), " 0.0");
    EXPECT_EQ(Field(spectrumBottom::Width), "300.0");
    EXPECT_EQ(Field(spectrumBottom::MaxFreq), "(Max = 300.0 kHz)");
    const Rect& p = Plot();
    ASSERT_EQ(p.left, 6);
    ASSERT_EQ(p.top, TopBar + 1 + 5);
    ASSERT_EQ(p.bottom, 300 - (BottomBar + 1) - 8 - CellHeight);
    ASSERT_EQ(p.right - p.left - 1, 500);
    ExpectShown(0.0f, 300.0f);

    // Bin 0 on the vertical axis, bin 300 at left + W, each in its column.
    // The peak (7) ends at top + 1, its end point unpainted; a 1 rises
    // trunc(232 / 7) = 33 pixels.
    std::vector<int32_t> columns;
    for (int32_t k = 0; k <= 300; ++k)
        columns.push_back(6 + k * 500 / 300);
    EXPECT_EQ(ColumnsOf(Red, p.bottom - 1), columns);
    EXPECT_EQ(LineTop(6 + 6 * 500 / 300), p.top + 2);
    EXPECT_EQ(LineTop(6 + 7 * 500 / 300), p.bottom - 32);
    EXPECT_EQ(At(6, p.top), Black);
    EXPECT_EQ(At(8, p.bottom), Black);
    EXPECT_EQ(At(p.right, p.bottom), White);

    // Ticks at left + 0, 83, 166, 250, 333, 416, 500; labels 0 .. 250 centred
    // under them, "300 kHz" ending at right + 3.
    const std::vector<int32_t> ticks{6, 89, 172, 256, 339, 422, 506};
    EXPECT_EQ(ColumnsOf(Black, p.bottom + 1), ticks);
    EXPECT_EQ(ColumnsOf(Black, p.bottom + 4), ticks);
    const Runs labels{{2, 10},    {81, 97},   {160, 184}, {244, 268},
                      {327, 351}, {410, 434}, {454, 510}};
    EXPECT_EQ(InkRuns(p.bottom + 5), labels);
    EXPECT_EQ(InkRuns(p.bottom + 4 + CellHeight), labels);
    EXPECT_EQ(InkRuns(p.bottom + 5 + CellHeight), Runs{});
}

// W = 200: steps of 50 crowd the labels until steps of 100 fit; "300 kHz"
// would start at 154, before "200" ends (139 + 20), so "kHz" stands alone.
// A wide axis of 0 .. 100 kHz gets at most 11 ticks.
TEST_F(SpectrumTest, CrowdedLabelsTakeFewerTicksAndTheUnitStandsAlone) {
    PutSpectrum(Ramp(), 1.0f);
    Open(212, 300);
    EXPECT_EQ(ColumnsOf(Black, Plot().bottom + 2), (std::vector<int32_t>{6, 72, 139, 206}));
    EXPECT_EQ(InkRuns(Plot().bottom + 8), (Runs{{2, 10}, {60, 84}, {127, 151}, {186, 210}}));
    PutSpectrum(std::vector<float>(101, 1.0f), 1.0f);
    Open(1200, 300);
    EXPECT_EQ(ColumnsOf(Black, Plot().bottom + 2).size(), 11u);
}

// Spectra that cannot be spread over an axis show the empty axes, keep the
// fractions, and read no bin beyond the kept ones.
TEST_F(SpectrumTest, DegenerateSpectraShowEmptyAxes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::vector<float> bins;
        float binWidth;
        bool labels;
    } cases[] = {
        {{}, 1.0f, false},                            // no bin: a range of one sample
        {{0.0f}, 1.0f, false},                        // one bin: two samples
        {std::vector<float>(301, 0.0f), 1.0f, true},  // a constant record
        {{0.0f, 5.0f}, 0.0f, false},                  // no bin width
        {{0.0f, 5.0f}, inf, false},                   // infinite bin width
        {{-1.0f, nan, -3.0f}, 1.0f, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bins.size());
        SpectrumView = SpectrumViewRecord{};
        PutSpectrum(c.bins, c.binWidth);
        Open(512, 300);
        EXPECT_EQ(ColumnsOf(Red, Plot().bottom - 1), std::vector<int32_t>{});
        EXPECT_EQ(At(Plot().left, Plot().top), Black);
        EXPECT_EQ(At(Plot().right - 1, Plot().bottom), Black);
        EXPECT_EQ(InkRuns(Plot().bottom + 8).empty(), !c.labels);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 1.0f);
    }
    // An infinite bin is the peak; the finite ones lie flat.
    PutSpectrum({0.0f, 2.0f, inf, 3.0f}, 1.0f);
    Paint();
    EXPECT_EQ(LineTop(6 + 2 * 500 / 3), Plot().top + 2);
    EXPECT_EQ(LineTop(6 + 500 / 3), -1);
    for (auto [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{12, 30}})
        Open(w, h);  // too small for a plot: what fits is drawn
}

// A single bin has no width: it is shown as two, so that a double click
// still has a width to double. Ranges beyond the spectrum are held in it;
// bin k of a zoomed view stands at left + trunc((k - first) x W / (end - first - 1)).
TEST_F(SpectrumTest, RangesAreHeldWithinTheSpectrumAndTwoBinsWide) {
    PutSpectrum(Ramp(), 1.0f);
    SpectrumView.VisLowFrac = SpectrumView.VisHighFrac = 0.5f;
    Open(512, 300);
    ExpectShown(150.0f, 151.0f);
    EXPECT_EQ(ColumnsOf(Red, Plot().bottom - 1), (std::vector<int32_t>{6, 506}));
    for (auto [first, end] : {std::pair{300, 301}, std::pair{305, 309}}) {
        DrawSpectrum(first, end);
        ExpectShown(299.0f, 300.0f);
    }
    DrawSpectrum(-4, 1);
    ExpectShown(0.0f, 1.0f);
    DrawSpectrum(10, 17);
    EXPECT_EQ(ColumnsOf(Red, Plot().bottom - 1),
              (std::vector<int32_t>{6, 89, 172, 256, 339, 422, 506}));
    EXPECT_EQ(LineTop(256), Plot().top + 2);  // bin 13 holds 7
}

}  // namespace
}  // namespace korvel
