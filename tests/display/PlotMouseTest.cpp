// The mouse on the oscillogram: the zoom band, panning, zooming out, the
// drags of the marker on the overview, pointer shapes and the button rule.
#include "display/PlotMouse.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "display/SubWindowFields.h"

namespace korvel::test {
namespace {

using Span = std::pair<int32_t, int32_t>;
using Writes = std::vector<std::pair<int32_t, std::string>>;
using Pointers = std::vector<Pointer>;

// An 800 x 500 plot of the square wave. The sub-window's trace area runs
// from x 40 to 651 (611 pixels) and y 108 to 476 (368 pixels), 0 mV at y 388,
// -312.5 .. 1007.8125 mV; the overview's from x 40 to 791 (751 pixels) over
// y 9 .. 74.
class Mouse : public PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(800, 500);
        FillSquareWave(MaxData);
        ports.bottomBar.onTextChanged = [](int32_t) { SubWindowFieldChanged(); };
        RefreshPlot();
        ASSERT_EQ((std::vector{SubWindowArea.axisX, SubWindowArea.width, SubWindowArea.top,
                               SubWindowArea.height, SubWindowArea.zeroY}),
                  (std::vector{40, 611, 108, 368, 388}));
        ASSERT_EQ((std::vector{OverviewArea.axisX, OverviewArea.width, OverviewArea.top}),
                  (std::vector{40, 751, 9}));
    }
    static Span Stored() { return {OscSettings.Data_S, OscSettings.Data_E}; }
    static void Hover(int32_t x, int32_t y) { PlotMouseMove(0, x, y); }
    static void Drag(int32_t x, int32_t y) { PlotMouseMove(MouseLeft, x, y); }
    static constexpr float Range = 1007.8125f + 312.5f;
};

TEST_F(Mouse, ClickMoveClickZoomsToTheBandAndRewritesTheFields) {
    PlotLeftDown(100, 150);
    PlotLeftUp();
    EXPECT_EQ(PlotState.ZoomArmed, 1);
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
    EXPECT_EQ(PlotState.ZoomArmed, 0);
    EXPECT_EQ(PlotState.LabelsDirty, 0);  // the labels were made for the new range

    // The fields are live again: typing moves the plot at once.
    ports.bottomBar.Type(bottom::Min, "2");
    EXPECT_EQ(Stored(), Span(159, 159 + 489));
}

TEST_F(Mouse, TwoClicksWithoutAMoveOrARightClickChangeNothing) {
    const float viewMin = OscState.ViewMin;
    PlotLeftDown(100, 150);
    PlotLeftDown(400, 300);
    EXPECT_EQ(Stored(), Span(0, 999));
    EXPECT_EQ(OscState.ViewMin, viewMin);
    EXPECT_EQ(PlotState.ZoomArmed, 0);

    PlotLeftDown(100, 150);
    Hover(400, 300);
    PlotRightDown(400, 300);  // cancels the band, sets no reference
    EXPECT_EQ((std::vector{PlotState.ZoomArmed, PlotState.BandShown, PlotState.RefShown}),
              (std::vector{0, 0, 0}));
    PlotLeftDown(400, 300);  // arms a new band instead of applying the old one
    EXPECT_EQ(Stored(), Span(0, 999));
    EXPECT_EQ(PlotState.ZoomArmed, 1);
    // A press outside the trace area arms nothing.
    PlotRightDown(0, 0);
    PlotLeftDown(20, 300);
    EXPECT_EQ(PlotState.ZoomArmed, 0);
}

TEST_F(Mouse, DragPansTowardEarlierSamplesByTruncatedStepsAndEnds) {
    SetSubWindow(5000, 5999);
    PlotLeftDown(300, 300);
    for (int32_t x = 310; x <= 350; x += 10)
        Drag(x, 300);  // 9990 / 611 = 16 samples a move
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(5000 - 5 * 16, 5999 - 5 * 16));
    EXPECT_EQ(PlotState.ZoomArmed, 0);
    Hover(200, 200);  // no band follows the pointer now
    EXPECT_EQ(PlotState.BandShown, 0);

    // One move of the same 50 pixels: 49950 / 611 = 81 samples.
    PlotLeftDown(300, 300);
    Drag(350, 300);
    Drag(250, 300);  // leftwards, 100 pixels: 163 samples later
    Drag(200, 400);  // y does not matter
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(4920 - 81 + 163 + 81, 5919 - 81 + 163 + 81));

    // Moves narrower than a sample do not move a zoomed-in plot at all.
    SetSubWindow(5000, 5020);
    PlotLeftDown(300, 300);
    for (int32_t x = 301; x <= 330; ++x)
        Drag(x, 300);
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(5000, 5020));
}

TEST_F(Mouse, PanAtTheStartOfTheRecordIsLimitedToIt) {
    SetSubWindow(10, 1009);
    PlotLeftDown(300, 300);
    Drag(400, 300);  // 163 samples earlier than sample 10
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(0, 1009 - 163));
}

TEST_F(Mouse, OnlyTheLeftButtonAloneDrags) {
    SetSubWindow(5000, 5999);
    PlotLeftDown(300, 300);
    PlotMouseMove(MouseLeft | MouseShift, 350, 300);
    PlotMouseMove(MouseLeft | MouseRight, 360, 300);
    PlotMouseMove(MouseLeft | MouseControl, 370, 300);
    PlotMouseMove(MouseLeft | MouseMiddle, 380, 300);
    // Each was a hover: the band was drawn, nothing panned.
    EXPECT_EQ(Stored(), Span(5000, 5999));
    EXPECT_EQ(PlotState.BandShown, 1);
    EXPECT_EQ(PlotState.Band.right, 380);
    Drag(390, 300);  // and the band goes as the pan begins, from the press
    EXPECT_EQ(PlotState.BandShown, 0);
    EXPECT_EQ(OscSettings.Data_S, 5000 - 999 * 90 / 611);
}

TEST_F(Mouse, DoubleClickDoublesTheSpanAroundItsCentre) {
    SetSubWindow(100, 200);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(50, 250));
    SetSubWindow(0, 2);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 3));
    SetSubWindow(0, 3);  // centre 1.5: one sample more at least on each side
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 4));
    SetSubWindow(40000, 65533);
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(27233, 65533));
    // The fields follow.
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "340.413");
}

TEST_F(Mouse, DoubleClickUndoesAVerticalZoomFirstAndKeepsTheSpan) {
    PlotLeftDown(100, 150);
    Hover(400, 300);
    PlotLeftDown(400, 300);
    ASSERT_EQ(Stored(), Span(98, 588));
    // A click of a double click arms the band first; the double click cancels it.
    PlotLeftDown(200, 200);
    PlotLeftUp();
    Hover(300, 250);
    PlotLeftDoubleClick();
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(98, 588));
    EXPECT_EQ(OscState.ViewMin, OscSettings.D_min);
    EXPECT_EQ(OscState.ViewMax, OscSettings.D_max);
    EXPECT_EQ((std::vector{PlotState.ZoomArmed, PlotState.BandShown}), (std::vector{0, 0}));
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 833));
}

TEST_F(Mouse, FollowModeZoomsTimeOnly) {
    OscSettings.Follow_Mode = 1;
    PlotLeftDown(100, 150);
    EXPECT_EQ(PlotState.Anchor.y, 108);
    Hover(400, 200);
    EXPECT_EQ(PlotState.Band.bottom, 476);
    PlotLeftDown(400, 200);
    EXPECT_EQ(Stored(), Span(98, 588));
    // The range of the trace area's rows 108 .. 476, within a pixel of the old one.
    EXPECT_EQ(OscState.ViewMax, 280 * Range / 368);
    EXPECT_EQ(OscState.ViewMin, -88 * Range / 368);
    EXPECT_NEAR(OscState.ViewMax, OscSettings.D_max, Range / 368);
    EXPECT_NEAR(OscState.ViewMin, OscSettings.D_min, Range / 368);
}

TEST_F(Mouse, WhileACaptureOwnsTheDisplayOnlyTheOverviewDragsDraw) {
    OscState.OscRunning = 1;
    SetSubWindow(20000, 30000);  // refused
    EXPECT_EQ(Stored(), Span(0, 999));
    PlotLeftDown(300, 300);
    Drag(400, 300);
    PlotLeftUp();
    PlotLeftDoubleClick();
    EXPECT_EQ(Stored(), Span(0, 999));
    // A new span dragged on the overview, from x 200 to 300.
    Hover(200, 40);
    PlotLeftDown(200, 40);
    Drag(300, 40);
    EXPECT_EQ(Stored(), Span(160 * 65533 / 751, 260 * 65533 / 751));
}

class Marker : public Mouse {
  protected:
    void SetUp() override {
        Mouse::SetUp();
        // Samples 20000 .. 30000 on the overview: x 269 .. 383.
        SetSubWindow(20000, 30000);
        ASSERT_EQ(Span(PlotState.MarkerX1, PlotState.MarkerX2), Span(269, 383));
        ports.frame.pointers.clear();
    }
    static int32_t OverviewIndex(int32_t x) { return (x - 40) * 65533 / 751; }
};

TEST_F(Marker, PointerShowsWhatAPressWouldGrab) {
    Hover(266, 40);  // left zone 266 .. 272
    Hover(300, 40);  // between the zones
    Hover(386, 40);  // right zone 380 .. 386
    Hover(387, 40);
    Hover(300, 300);
    EXPECT_EQ(ports.frame.pointers, (Pointers{Pointer::SizeWE, Pointer::Arrow, Pointer::Hand,
                                              Pointer::Arrow, Pointer::SizeWE, Pointer::Arrow}));
    EXPECT_EQ(PlotState.HoverArea, 2);
    // Drags keep their shape until the next plain move.
    ports.frame.pointers.clear();
    PlotLeftDown(300, 300);
    Drag(310, 300);
    PlotLeftUp();
    Hover(320, 300);
    EXPECT_EQ(ports.frame.pointers, (Pointers{Pointer::Hand, Pointer::Arrow}));
}

TEST_F(Marker, LeftEdgeStopsThreePixelsBeforeTheRightEdge) {
    Hover(269, 40);
    PlotLeftDown(269, 40);
    Drag(300, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(300), 30000));
    Drag(500, 40);
    Drag(700, 300);  // later moves count anywhere in the overview's columns
    PlotLeftUp();
    EXPECT_EQ(Stored(), Span(OverviewIndex(383 - 3), 30000));
    EXPECT_EQ(ports.frame.pointers.back(), Pointer::SizeWE);
    EXPECT_EQ(PlotState.EditsLive, 1);
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "4.15");

    // A short record: the span keeps three samples.
    OscSettings.Num_Data = 100;
    RefreshPlot();
    SetSubWindow(10, 20);  // x 115 .. 191
    Hover(115, 40);
    PlotLeftDown(115, 40);
    Drag(600, 40);
    EXPECT_EQ(Stored(), Span(18, 20));
}

TEST_F(Marker, RightEdgeStopsThreePixelsAfterTheLeftEdge) {
    Hover(385, 40);
    PlotLeftDown(385, 40);
    Drag(100, 40);
    EXPECT_EQ(Stored(), Span(20000, OverviewIndex(269 + 3)));
    Drag(900, 40);  // beyond the overview's right: nothing
    EXPECT_EQ(Stored(), Span(20000, OverviewIndex(269 + 3)));
    Drag(791, 40);
    EXPECT_EQ(Stored(), Span(20000, 65533));
}

TEST_F(Marker, WholeMarkerMovesWithItsWidthAndStaysInside) {
    Hover(300, 40);
    PlotLeftDown(300, 40);
    Drag(350, 40);
    EXPECT_EQ(Span(PlotState.MoveX1, PlotState.MoveX2), Span(319, 433));
    EXPECT_EQ(Stored(), Span(OverviewIndex(319), OverviewIndex(433)));
    Drag(50, 40);  // far left: held at the axis
    EXPECT_EQ(Span(PlotState.MoveX1, PlotState.MoveX2), Span(40, 154));
    EXPECT_EQ(OscSettings.Data_S, 0);
    Drag(780, 40);  // far right: held at the right edge
    EXPECT_EQ(Span(PlotState.MoveX1, PlotState.MoveX2), Span(791 - 114, 791));
    EXPECT_EQ(OscSettings.Data_E, 65533);
    EXPECT_EQ(ports.frame.pointers.back(), Pointer::Hand);
}

TEST_F(Marker, NewSpanRunsFromWhereTheDragBegan) {
    Hover(600, 40);
    PlotLeftDown(600, 40);
    Drag(500, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(500), OverviewIndex(600)));
    Drag(10, 40);  // left of the axis: later moves are outside, nothing
    EXPECT_EQ(Stored(), Span(OverviewIndex(500), OverviewIndex(600)));
    Drag(650, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(600), OverviewIndex(650)));
    Drag(600, 40);  // no width: three samples
    EXPECT_EQ(Stored(), Span(OverviewIndex(600), OverviewIndex(600) + 2));
    PlotLeftUp();

    // A drag that began outside the overview moves nothing.
    Hover(600, 90);
    PlotLeftDown(600, 90);
    Drag(500, 40);
    Drag(400, 40);
    EXPECT_EQ(Stored(), Span(OverviewIndex(600), OverviewIndex(600) + 2));
}

TEST_F(Mouse, MovesAreIgnoredWhileAFileDialogIsOpen) {
    const std::vector<uint32_t> before(PlotCanvas.Pixels(), PlotCanvas.Pixels() + 800 * 500);
    const int32_t shown = ports.frame.plotShown;
    PlotState.TrackingOn = 0;
    Hover(300, 300);
    Hover(300, 40);
    EXPECT_EQ(std::vector<uint32_t>(PlotCanvas.Pixels(), PlotCanvas.Pixels() + 800 * 500), before);
    EXPECT_EQ(ports.frame.plotShown, shown);
    PlotState.TrackingOn = 1;
    Hover(300, 300);
    EXPECT_EQ(PlotState.CursorShown, 1);
    EXPECT_GT(ports.frame.plotShown, shown);
}

TEST(IndexAt, TruncatesTowardZeroWithoutClamping) {
    PlotArea a;
    a.axisX = 40;
    a.first = 100;
    a.span = 999;
    a.width = 611;
    EXPECT_EQ(IndexAt(a, 40), 100);
    EXPECT_EQ(IndexAt(a, 651), 1099);
    EXPECT_EQ(IndexAt(a, 39), 99);  // -999 / 611 toward zero
    EXPECT_EQ(IndexAt(a, 38), 97);
    EXPECT_EQ(IndexAt(a, 2000), 100 + 1960 * 999 / 611);
    a.width = 0;
    EXPECT_EQ(IndexAt(a, 500), 100);
}

}  // namespace
}  // namespace korvel::test
