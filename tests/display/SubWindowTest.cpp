// The sub-window: its span from the fields, the fields from its span, pans
// that keep the labels, file records, and the marker on the overview.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "display/SubWindowFields.h"

namespace korvel::test {
namespace {

using Writes = std::vector<std::pair<int32_t, std::string>>;
using Span = std::pair<int32_t, int32_t>;

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
    static Span Stored() { return {OscSettings.Data_S, OscSettings.Data_E}; }
    static std::vector<uint32_t> Pixels(const Rect& r) {
        std::vector<uint32_t> out;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x)
                out.push_back(PlotCanvas.Pixel(x, y));
        }
        return out;
    }
    void Fields(const char* min, const char* width) {
        ports.bottomBar[bottom::Min].text = min;
        ports.bottomBar[bottom::Width].text = width;
    }
    int32_t notifications = 0;
};

TEST_F(SubWindow, FullRedrawOfACaptureReadsTheFieldsAndWritesNothing) {
    OscState.SamplePeriod = 0.5f;
    Fields("10", "5");
    RefreshPlot();
    EXPECT_EQ(Stored(), Span(20, 30));
    EXPECT_TRUE(ports.bottomBar.writes.empty());
    EXPECT_EQ(PlotState.EditsLive, 1);
    // No number: the stored start stands; beyond the record: limited to it.
    Fields("abc", "1e30");
    RefreshPlot();
    EXPECT_EQ(Stored(), Span(20, MaxData - 1));
    Fields("-7", "nan");
    RefreshPlot();
    EXPECT_EQ(OscSettings.Data_S, 0);
}

TEST_F(SubWindow, TypingMovesThePlotAtEveryKeystroke) {
    RefreshPlot();
    // 10 / 0.0125 (a float just above it) falls short of 800: truncated.
    ports.bottomBar.Type(bottom::Min, "10");
    EXPECT_EQ(OscSettings.Data_S, 799);
    ports.bottomBar.Type(bottom::Width, "5");
    EXPECT_EQ(Stored(), Span(799, 1198));
    ports.bottomBar.Type(bottom::Min, "abc");
    EXPECT_EQ(Stored(), Span(799, 1198));

    OscState.OscRunning = 1;
    const int32_t shown = ports.frame.plotShown;
    ports.bottomBar.Type(bottom::Min, "20");
    EXPECT_EQ(OscSettings.Data_S, 799);
    EXPECT_EQ(ports.frame.plotShown, shown);
}

TEST_F(SubWindow, MouseSpanIsWrittenIntoTheFieldsWithoutEchoes) {
    RefreshPlot();
    Fields("0", "abc");       // the width is the user's text, not a number
    PlotState.EditsLive = 0;  // as a zoom leaves it
    SetSubWindow(800, 1200);
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Min, "10"}}));
    EXPECT_EQ(notifications, 1);  // and ignored: EditsLive was still 0
    EXPECT_EQ(Stored(), Span(800, 1200));
    EXPECT_EQ(ports.bottomBar.repaints, 1);

    // A field that holds the value already is not written again.
    ports.bottomBar.writes.clear();
    Fields("10", "");
    PlotState.EditsLive = 0;
    SetSubWindow(800, 1200);
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Width, "5"}}));
    // While live, drawings leave the fields to the user.
    SetSubWindow(100, 300);
    EXPECT_EQ(ports.bottomBar.writes.size(), 1u);
}

TEST_F(SubWindow, FileRecordReturnsToItsFirstQuarterOnEveryFullRedraw) {
    OscState.FileView = 1;
    OscState.LoadedLength = OscSettings.Num_Data = 1000;
    OscState.TimeOffset = -100.0f;
    OscState.SamplePeriod = 0.5f;
    RefreshPlot();  // a file was just read: EditsLive is 0
    EXPECT_EQ(Stored(), Span(0, 250));
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Min, "-100"}, {bottom::Width, "125"}}));
    ports.bottomBar.Type(bottom::Min, "0");
    EXPECT_EQ(OscSettings.Data_S, 200);
    RefreshPlot();  // a resize
    EXPECT_EQ(Stored(), Span(0, 250));
    EXPECT_EQ(SubWindowArea.first, 0);
}

TEST_F(SubWindow, PanKeepsTheVoltageLabelsAndGridRows) {
    OscSettings.Grid = 1;
    RefreshPlot();
    const PlotArea& a = SubWindowArea;
    // The label column above the zero line (which moves with the range).
    const Rect column{PlotState.SubWindowRect.left + 1, a.top, a.axisX, a.zeroY - 1};
    const std::vector<uint32_t> labels = Pixels(column);
    const TickSet kept = PlotState.SubWindowLabels;

    // A new vertical range without LabelsDirty: the labels stay as they were.
    OscState.ViewMin = -300.0f;
    OscState.ViewMax = 6000.0f;
    SetSubWindow(3000, 4000);
    ASSERT_GT(a.zeroY, column.bottom);
    EXPECT_EQ(Pixels(column), labels);
    EXPECT_EQ(PlotState.SubWindowLabels.high, kept.high);
    const int32_t gridY = a.zeroY - static_cast<int32_t>(a.height * kept.high / a.range);
    EXPECT_EQ(PlotCanvas.Pixel(a.axisX + 3, gridY) & 0xFFFFFF, Rgb(150, 200, 255));

    PlotState.LabelsDirty = 1;
    SetSubWindow(3000, 4000);
    EXPECT_NE(PlotState.SubWindowLabels.high, kept.high);
    EXPECT_NE(Pixels(column), labels);
}

TEST_F(SubWindow, MarkerMovesByExclusiveOrAndLeavesNoTrace) {
    RefreshPlot();
    const PlotArea& o = OverviewArea;
    const std::vector<uint32_t> first = Pixels(PlotState.OverviewRect);
    EXPECT_EQ(Span(PlotState.MarkerX1, PlotState.MarkerX2),
              Span(o.axisX, o.axisX + 999 * o.width / o.span));
    EXPECT_EQ(PlotCanvas.Pixel(o.axisX + 1, o.top - 1) & 0xFFFFFF, Rgb(255, 255, 100));

    SetSubWindow(30000, 40000);
    EXPECT_EQ(PlotState.MarkerX1, o.axisX + 30000 * o.width / o.span);
    EXPECT_EQ(PlotCanvas.Pixel(o.axisX + 1, o.top - 1) & 0xFFFFFF, White);
    SetSubWindow(0, 999);
    EXPECT_EQ(Pixels(PlotState.OverviewRect), first);

    OverviewArea.span = 0;  // an overview of one sample: the marker comes off
    SetSubWindow(0, 999);
    EXPECT_EQ(PlotState.MarkerShown, 0);
}

TEST_F(SubWindow, GrabZonesOfNarrowMarkersStayApart) {
    RefreshPlot();
    const int32_t a = OverviewArea.axisX;
    auto zones = [] {
        const PlotStateRecord& p = PlotState;
        return std::vector{p.LeftZone.lo, p.LeftZone.hi, p.RightZone.lo, p.RightZone.hi};
    };
    SetSubWindow(0, 30000);
    const int32_t x2 = PlotState.MarkerX2;
    EXPECT_EQ(zones(), (std::vector{a - 3, a + 3, x2 - 3, x2 + 3}));
    SetSubWindow(0, 2);  // both edges on one pixel
    EXPECT_EQ(zones(), (std::vector{a - 5, a - 2, a + 3, a + 5}));
    SetSubWindow(0, (2 * OverviewArea.span + OverviewArea.width - 1) / OverviewArea.width);
    ASSERT_EQ(PlotState.MarkerX2, a + 2);  // two pixels apart
    EXPECT_EQ(zones(), (std::vector{a - 5, a - 2, a + 4, a + 7}));
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

    // Marks under a new drawing were painted over: their flags go down.
    PlotState.RefShown = PlotState.ZoomArmed = PlotState.DeltaShown = PlotState.CursorShown = 1;
    SetSubWindow(5000, 6000);
    EXPECT_EQ((std::vector{PlotState.RefShown, PlotState.ZoomArmed, PlotState.DeltaShown,
                           PlotState.CursorShown}),
              (std::vector{0, 0, 0, 0}));
}

}  // namespace
}  // namespace korvel::test
