// The sub-window: its span from the fields, the fields from its span, pans
// that keep the labels, file records, and the marker on the overview.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "display/SubWindowFields.h"

namespace korvel::test {
namespace {

using Writes = std::vector<std::pair<int32_t, std::string>>;

class SubWindow : public PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(800, 500);
        FillSquareWave(MaxData);
        ports.bottomBar.onTextChanged = [this](int32_t) {
            ++notifications;
            SubWindowFieldChanged();
        };
    }
    std::vector<uint32_t> Pixels(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        std::vector<uint32_t> out;
        for (int32_t y = top; y < bottom; ++y) {
            for (int32_t x = left; x < right; ++x)
                out.push_back(PlotCanvas.Pixel(x, y));
        }
        return out;
    }
    int32_t notifications = 0;
};

TEST_F(SubWindow, FullRedrawOfACaptureReadsTheFieldsAndWritesNothing) {
    OscState.SamplePeriod = 0.5f;
    ports.bottomBar[bottom::Min].text = "10";
    ports.bottomBar[bottom::Width].text = "5";
    RefreshPlot();
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(20, 30));
    EXPECT_TRUE(ports.bottomBar.writes.empty());
    EXPECT_EQ(PlotState.EditsLive, 1);

    // Text that is no number leaves the stored span; typed values beyond the
    // record are limited to it.
    ports.bottomBar[bottom::Min].text = "abc";
    ports.bottomBar[bottom::Width].text = "1e30";
    RefreshPlot();
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(20, MaxData - 1));
    ports.bottomBar[bottom::Min].text = "-7";
    ports.bottomBar[bottom::Width].text = "nan";
    RefreshPlot();
    EXPECT_EQ(OscSettings.Data_S, 0);
}

TEST_F(SubWindow, TypingMovesThePlotAtEveryKeystroke) {
    RefreshPlot();
    ports.bottomBar.Type(bottom::Min, "10");
    // 10 / 0.0125 (a float just above it) falls short of 800: truncated.
    EXPECT_EQ(OscSettings.Data_S, 799);
    ports.bottomBar.Type(bottom::Width, "5");
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(799, 1198));
    ports.bottomBar.Type(bottom::Min, "abc");
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(799, 1198));
    EXPECT_EQ(SubWindowArea.first, 799);

    OscState.OscRunning = 1;
    const int32_t shown = ports.frame.plotShown;
    ports.bottomBar.Type(bottom::Min, "20");
    EXPECT_EQ(OscSettings.Data_S, 799);
    EXPECT_EQ(ports.frame.plotShown, shown);
}

TEST_F(SubWindow, MouseSpanIsWrittenIntoTheFieldsWithoutEchoes) {
    RefreshPlot();
    ports.bottomBar[bottom::Width].text = "abc";  // the user's, not a number
    PlotState.EditsLive = 0;                      // as a zoom leaves it
    SetSubWindow(800, 1200);
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Min, "10"}}));
    EXPECT_EQ(notifications, 1);  // ignored: EditsLive was still 0
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(800, 1200));
    EXPECT_EQ(ports.bottomBar.repaints, 1);

    // Fields that hold the values already are not written again.
    ports.bottomBar.writes.clear();
    ports.bottomBar[bottom::Width].text = "";
    PlotState.EditsLive = 0;
    SetSubWindow(800, 1200);
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Width, "5"}}));

    // While live, a drawing leaves the fields to the user.
    ports.bottomBar.writes.clear();
    SetSubWindow(100, 300);
    EXPECT_TRUE(ports.bottomBar.writes.empty());
}

TEST_F(SubWindow, FileRecordReturnsToItsFirstQuarterOnEveryFullRedraw) {
    OscState.FileView = 1;
    OscState.LoadedLength = 1000;
    OscSettings.Num_Data = 1000;
    OscState.TimeOffset = -100.0f;
    OscState.SamplePeriod = 0.5f;
    RefreshPlot();  // a file was just read: EditsLive is 0
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(0, 250));
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "-100");
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "125");

    ports.bottomBar.Type(bottom::Min, "0");
    EXPECT_EQ(OscSettings.Data_S, 200);
    RefreshPlot();  // a resize
    EXPECT_EQ(std::pair(OscSettings.Data_S, OscSettings.Data_E), std::pair(0, 250));
    EXPECT_EQ(SubWindowArea.first, 0);
}

TEST_F(SubWindow, PanKeepsTheVoltageLabelsAndGridRows) {
    OscSettings.Grid = 1;
    RefreshPlot();
    const Rect& s = PlotState.SubWindowRect;
    const PlotArea& a = SubWindowArea;
    const int32_t axisX = a.axisX;
    // The label column above and below the zero line, which moves with the range.
    auto column = [&](int32_t skipRow) {
        std::vector<uint32_t> out = Pixels(s.left + 1, s.top + 1, axisX, a.bottom);
        const int32_t width = axisX - s.left - 1;
        for (int32_t row : {skipRow, a.zeroY}) {
            const int32_t at = (row - s.top - 1) * width;
            if (row > s.top && row < a.bottom) std::fill_n(out.begin() + at, width, 0u);
        }
        return out;
    };
    const int32_t oldZero = a.zeroY;
    const std::vector<uint32_t> before = column(oldZero);
    const TickSet labels = PlotState.SubWindowLabels;

    // A new vertical range without LabelsDirty: the labels stay as they were.
    OscState.ViewMin = -2000.0f;
    OscState.ViewMax = 3000.0f;
    SetSubWindow(3000, 4000);
    std::vector<uint32_t> after = column(oldZero);
    std::vector<uint32_t> expected = before;
    const int32_t width = axisX - s.left - 1;
    std::fill_n(expected.begin() + (a.zeroY - s.top - 1) * width, width, 0u);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(PlotState.SubWindowLabels.high, labels.high);
    const int32_t gridY = a.zeroY - static_cast<int32_t>(a.height * labels.high / a.range);
    EXPECT_EQ(PlotCanvas.Pixel(axisX + 3, gridY) & 0xFFFFFF, Rgb(150, 200, 255));

    PlotState.LabelsDirty = 1;
    SetSubWindow(3000, 4000);
    EXPECT_NE(PlotState.SubWindowLabels.high, labels.high);
    EXPECT_NE(column(oldZero), after);
}

TEST_F(SubWindow, MarkerMovesByExclusiveOrAndLeavesNoTrace) {
    RefreshPlot();
    const PlotArea& o = OverviewArea;
    const Rect& r = PlotState.OverviewRect;
    const std::vector<uint32_t> first = Pixels(r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(PlotState.MarkerX1, o.axisX);
    EXPECT_EQ(PlotState.MarkerX2, o.axisX + 999 * o.width / o.span);
    // The marker on white shows its own fill.
    EXPECT_EQ(PlotCanvas.Pixel(o.axisX + 1, o.top - 1) & 0xFFFFFF, Rgb(255, 255, 100));

    SetSubWindow(30000, 40000);
    EXPECT_EQ(PlotState.MarkerX1, o.axisX + 30000 * o.width / o.span);
    EXPECT_EQ(PlotCanvas.Pixel(o.axisX + 1, o.top - 1) & 0xFFFFFF, White);
    SetSubWindow(0, 999);
    EXPECT_EQ(Pixels(r.left, r.top, r.right, r.bottom), first);

    // A span of no samples on the overview: the marker comes off.
    OscSettings.Num_Data = 1;
    PlotState.DrawBusy = 0;
    DrawSubWindow(PlotCanvas, 0, 0);
    EXPECT_EQ(PlotState.MarkerShown, 1);  // the overview still spans the old record
    OverviewArea.span = 0;
    DrawSubWindow(PlotCanvas, 0, 0);
    EXPECT_EQ(PlotState.MarkerShown, 0);
}

TEST_F(SubWindow, GrabZonesOfNarrowMarkersStayApart) {
    RefreshPlot();
    const PlotArea& o = OverviewArea;
    auto zones = [] {
        return std::vector{PlotState.LeftZone.lo, PlotState.LeftZone.hi, PlotState.RightZone.lo,
                           PlotState.RightZone.hi};
    };
    SetSubWindow(0, 30000);
    const int32_t x1 = PlotState.MarkerX1;
    const int32_t x2 = PlotState.MarkerX2;
    EXPECT_EQ(zones(), (std::vector{x1 - 3, x1 + 3, x2 - 3, x2 + 3}));

    // Both edges on one pixel.
    SetSubWindow(0, 2);
    ASSERT_EQ(PlotState.MarkerX1, PlotState.MarkerX2);
    EXPECT_EQ(zones(), (std::vector{o.axisX - 5, o.axisX - 2, o.axisX + 3, o.axisX + 5}));

    // Edges two pixels apart.
    const int32_t end = (2 * o.span + o.width - 1) / o.width;
    SetSubWindow(0, end);
    ASSERT_EQ(PlotState.MarkerX2, o.axisX + 2);
    EXPECT_EQ(zones(), (std::vector{o.axisX - 5, o.axisX - 2, o.axisX + 4, o.axisX + 7}));
}

TEST_F(SubWindow, NothingIsDrawnOrStoredWhileACaptureOwnsTheDisplay) {
    RefreshPlot();
    OscState.SpectrumRunning = 1;
    SetSubWindow(5000, 6000);
    EXPECT_EQ(OscSettings.Data_S, 0);
    OscState.SpectrumRunning = 0;

    PlotState.DrawBusy = 1;
    DrawSubWindow(PlotCanvas, 5000, 6000);
    EXPECT_EQ(OscSettings.Data_S, 0);
    PlotState.DrawBusy = 0;

    // Marks under a new drawing are repainted: their flags go down.
    PlotState.RefShown = PlotState.ZoomArmed = PlotState.DeltaShown = PlotState.CursorShown = 1;
    SetSubWindow(5000, 6000);
    EXPECT_EQ(
        PlotState.RefShown + PlotState.ZoomArmed + PlotState.DeltaShown + PlotState.CursorShown, 0);
}

}  // namespace
}  // namespace korvel::test
