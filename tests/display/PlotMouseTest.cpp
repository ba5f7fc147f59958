// The mouse on the oscillogram: the zoom band, panning, zooming out, the
// drags of the marker on the overview, pointer shapes and the button rule.
#include "display/PlotMouse.h"

#include <gtest/gtest.h>

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

using Span = std::pair<int32_t, int32_t>;
using Writes = std::vector<std::pair<int32_t, std::string>>;
using Pointers = std::vector<Pointer>;

// An 800 x 500 plot of the square wave: the sub-window's trace area runs
// from x 40 over 611 pixels and from y 108 over 368, 0 mV at y 388, -312.5 ..
// 1007.8125 mV; the overview's from x 40 over 751 pixels, y 9 .. 74.
class Mouse : public PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(800, 500);
        FillSquareWave(MaxData);
        ports.bottomBar.onTextChanged = [](int32_t) { SubWindowFieldChanged(); };
        RefreshPlot();
        ASSERT_EQ((std::vector{SubWindowArea.axisX, SubWindowArea.width, SubWindowArea.top,
                               SubWindowArea.height, SubWindowArea.zeroY, OverviewArea.width}),
                  (std::vector{40, 611, 108, 368, 388, 751}));
    }
    static Span Stored() { return {OscSettings.Data_S, OscSettings.Data_E}; }
    static void Hover(int32_t x, int32_t y) { PlotMouseMove(0, x, y); }
    static void Drag(int32_t x, int32_t y) { PlotMouseMove(MouseLeft, x, y); }
    static int32_t OverviewIndex(int32_t x) { return (x - 40) * 65533 / 751; }
    static constexpr float Range = 1007.8125f + 312.5f;
};

TEST_F(Mouse, ClickMoveClickZoomsToTheBandAndRewritesTheFields) {
    PlotLeftDown(100, 150);
    PlotLeftUp();
    Hover(250, 200);
    Hover(400, 300);  // the band's free corner follows
    EXPECT_EQ(PlotCanvas.Pixel(399, 200) & 0xFFFFFF, Rgb(255, 0, 0));
    EXPECT_EQ(PlotCanvas.Pixel(249, 180) & 0xFFFFFF, White);
    PlotLeftDown(700, 20);  // the second click may land anywhere
    // Columns 100 and 400: samples 60 * 999 / 611 and 360 * 999 / 611.
    EXPECT_EQ(Stored(), Span(98, 588));
    EXPECT_EQ(OscState.ViewMax, 238 * Range / 368);
    EXPECT_EQ(OscState.ViewMin, 88 * Range / 368);
    EXPECT_EQ(ports.bottomBar.writes, (Writes{{bottom::Min, "1.225"}, {bottom::Width, "6.125"}}));
    // The fields are live again: typing moves the plot at once.
    ports.bottomBar.Type(bottom::Min, "2");
    EXPECT_EQ(Stored(), Span(159, 159 + 489));

    // Two clicks without a move draw no band and change nothing.
    PlotLeftDown(100, 150);
    PlotLeftDown(400, 300);
    EXPECT_EQ(Stored(), Span(159, 648));
    EXPECT_EQ(PlotState.ZoomArmed, 0);
}

TEST_F(Mouse, DragPansByTruncatedStepsAndOnlyTheLeftButtonAloneDrags) {
    SetSubWindow(5000, 5999);
    PlotLeftDown(300, 300);
    for (int32_t x = 310; x <= 350; x += 10)
        Drag(x, 300);  // 9990 / 611 = 16 samples a move
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(5000 - 5 * 16, 5999 - 5 * 16));
    Hover(200, 200);  // not armed: no band follows
    EXPECT_EQ((std::vector{PlotState.ZoomArmed, PlotState.BandShown}), (std::vector{0, 0}));

    // Any other button or key with the left one: a hover, drawing the band.
    PlotLeftDown(300, 300);
    for (uint32_t other : {MouseShift, MouseControl, MouseRight, MouseMiddle})
        PlotMouseMove(MouseLeft | other, 200, 300);
    EXPECT_EQ(Stored(), Span(4920, 5919));
    EXPECT_EQ(PlotState.BandShown, 1);
    // One 50-pixel move: 49950 / 611 = 81 samples; back 100 pixels: 163.
    Drag(350, 300);
    Drag(250, 400);
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(4920 - 81 + 163, 5919 - 81 + 163));
    EXPECT_EQ(PlotState.BandShown, 0);

    // Moves narrower than a sample never move a zoomed-in plot.
    SetSubWindow(5000, 5020);
    PlotLeftDown(300, 300);
    for (int32_t x = 301; x <= 330; ++x)
        Drag(x, 300);
    EXPECT_EQ(Stored(), Span(5000, 5020));
}

TEST_F(Mouse, DoubleClickZoomsOutOrUndoesAVerticalZoomFirst) {
    SetSubWindow(100, 200);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(50, 250));
    SetSubWindow(0, 2);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 3));

    SetSubWindow(0, 999);
    PlotLeftDown(100, 150);
    Hover(400, 300);
    PlotLeftDown(400, 300);
    // The first click of a double click arms a band; the double click cancels it.
    PlotLeftDown(200, 200);
    PlotLeftUp();
    Hover(300, 250);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(98, 588));
    EXPECT_EQ(std::pair(OscState.ViewMin, OscState.ViewMax),
              std::pair(OscSettings.D_min, OscSettings.D_max));
    EXPECT_EQ((std::vector{PlotState.ZoomArmed, PlotState.BandShown}), (std::vector{0, 0}));
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 833));
}

TEST_F(Mouse, FollowModeZoomsTimeOnly) {
    OscSettings.Follow_Mode = 1;
    PlotLeftDown(100, 150);
    Hover(400, 200);
    PlotLeftDown(400, 200);
    EXPECT_EQ(Stored(), Span(98, 588));
    // Rows 108 .. 476 of the trace area: within a pixel of the range before.
    EXPECT_EQ(OscState.ViewMax, 280 * Range / 368);
    EXPECT_EQ(OscState.ViewMin, -88 * Range / 368);
    EXPECT_NEAR(OscState.ViewMax, OscSettings.D_max, Range / 368);
    EXPECT_NEAR(OscState.ViewMin, OscSettings.D_min, Range / 368);
}

TEST_F(Mouse, MarkerEdgesStopThreePixelsFromEachOther) {
    SetSubWindow(20000, 30000);  // marker x 269 .. 383
    Hover(269, 40);
    PlotLeftDown(269, 40);
    Drag(300, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(300), 30000));
    Drag(700, 300);  // later moves count in the overview's columns, any y
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(OverviewIndex(383 - 3), 30000));
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "370.85");

    Hover(385, 40);  // right edge 383
    PlotLeftDown(385, 40);
    Drag(100, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(380), OverviewIndex(379 + 3)));

    // A short record: the span keeps three samples.
    OscSettings.Num_Data = 100;
    RefreshPlot();
    SetSubWindow(10, 20);  // x 115 .. 191
    Hover(115, 40);
    PlotLeftDown(115, 40);
    Drag(600, 40);
    EXPECT_EQ(Stored(), Span(18, 20));
}

TEST_F(Mouse, MarkerMovesWholeOrANewSpanIsDrawn) {
    SetSubWindow(20000, 30000);  // marker x 269 .. 383
    Hover(300, 40);
    PlotLeftDown(300, 40);
    Drag(350, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(319), OverviewIndex(433)));
    Drag(780, 40);  // held at the right edge with its width
    EXPECT_EQ(Span(PlotState.MoveX1, PlotState.MoveX2), Span(791 - 114, 791));
    EXPECT_EQ(OscSettings.Data_E, 65533);
    PlotLeftUp();

    Hover(200, 40);
    PlotLeftDown(200, 40);
    Drag(100, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(100), OverviewIndex(200)));
    Drag(10, 40);   // left of the axis: nothing
    Drag(200, 40);  // no width: three samples
    EXPECT_EQ(Stored(), Span(OverviewIndex(200), OverviewIndex(200) + 2));
    // While a capture owns the display, the overview still redraws.
    OscState.OscRunning = 1;
    Drag(250, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(200), OverviewIndex(250)));
}

TEST_F(Mouse, PointerShowsWhatAPressWouldGrab) {
    SetSubWindow(20000, 30000);  // zones 266 .. 272 and 380 .. 386
    ports.frame.pointers.clear();
    for (int32_t x : {266, 300, 386, 387})
        Hover(x, 40);
    PlotLeftDown(300, 300);
    Drag(310, 300);  // a pan: the hand until the next plain move
    PlotLeftUp();
    Hover(320, 300);
    EXPECT_EQ(ports.frame.pointers,
              (Pointers{Pointer::SizeWE, Pointer::Arrow, Pointer::Hand, Pointer::Arrow,
                        Pointer::SizeWE, Pointer::Arrow, Pointer::Hand, Pointer::Arrow}));

    // While a file dialog is open moves do nothing at all.
    PlotState.TrackingOn = 0;
    const int32_t shown = ports.frame.plotShown;
    Hover(300, 40);
    EXPECT_EQ(PlotState.OverviewCursorShown, 0);
    EXPECT_EQ(ports.frame.plotShown, shown);
}

}  // namespace
}  // namespace korvel::test
