// The cursors, the reference cross and the read-out column: texts and signs
// at their pixels, differences to the reference, and marks that leave no
// trace when they go.
#include "display/PlotReadouts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotFixture.h"
#include "display/PlotMouse.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"

namespace korvel::test {
namespace {

using Pixels = std::vector<uint32_t>;

// An 800 x 500 plot: the read-out column runs from x 658 to 798, centred on
// 728, its baselines at y 126, 154, 196 and 224. The message font is 14
// pixels high and 7 wide, so a 16-character T line starts at 728 - 56 and a
// 17-character dT line at 728 - 59.
class Readouts : public PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(800, 500);
        FillSquareWave(MaxData);
        RefreshPlot();
        ASSERT_EQ((std::vector{PlotState.ReadoutX, PlotState.ReadoutY[0], PlotState.ReadoutY[1],
                               PlotState.ReadoutY[2], PlotState.ReadoutY[3]}),
                  (std::vector{728, 126, 154, 196, 224}));
    }
    static void Hover(int32_t x, int32_t y) { PlotMouseMove(0, x, y); }

    // The column's rows of the line at baseline on a canvas.
    static Pixels Line(const Canvas& canvas, int32_t baseline) {
        Pixels out;
        const int32_t top = baseline - MessageFont.Ascent();
        for (int32_t y = top; y < top + MessageFont.Height(); ++y) {
            for (int32_t x = 658; x < 798; ++x)
                out.push_back(canvas.Pixel(x, y));
        }
        return out;
    }
    // The same rows as text written from x would make them, with the symbol
    // font's letters over it at the places given.
    static Pixels Written(const char* text, int32_t x, int32_t baseline,
                          std::initializer_list<std::pair<int32_t, const char*>> symbols) {
        Canvas canvas;
        canvas.Resize(800, 500);
        canvas.SetTextAlign(AlignLeft | AlignBaseline);
        canvas.SetFont(&MessageFont);
        canvas.TextOut(x, baseline, text);
        canvas.SetFont(&MessageSymbolFont);
        for (const auto& [sx, letter] : symbols)
            canvas.TextOut(sx, baseline, letter);
        return Line(canvas, baseline);
    }
    static Pixels Blank() { return Pixels(140 * 14, 0xFFFFFFFFu); }
    // Everything but the read-out column.
    static Pixels Plots() {
        Pixels out;
        for (int32_t y = 0; y < PlotCanvas.Height(); ++y) {
            for (int32_t x = 0; x < PlotCanvas.Width(); ++x) {
                if (x < 658 || y < 102) out.push_back(PlotCanvas.Pixel(x, y));
            }
        }
        return out;
    }
    static constexpr float Range = 1007.8125f + 312.5f;
};

TEST_F(Readouts, CursorShowsTimeAndVoltageWithTheMicroSign) {
    Hover(300, 200);  // sample 260 * 999 / 611 = 425 at 5.3125 us; 188 pixels above 0 mV
    char value[32];
    std::snprintf(value, sizeof value, "V = %9.2f mv", 188 * Range / 368);
    EXPECT_EQ(Line(PlotCanvas, 126), Written("T =      5.31 us", 672, 126, {{672 + 14 * 7, "m"}}));
    EXPECT_EQ(Line(PlotCanvas, 154), Written(value, 672, 154, {}));
    EXPECT_EQ(Line(PlotCanvas, 196), Blank());
    // The crosshair: CursorPen green on both lines, reaching 2 pixels past the area.
    EXPECT_EQ(PlotCanvas.Pixel(300, 107) & 0xFFFFFF, Rgb(0, 255, 0));
    EXPECT_EQ(PlotCanvas.Pixel(38, 200) & 0xFFFFFF, Rgb(0, 255, 0));
    EXPECT_EQ(PlotCanvas.Pixel(652, 200) & 0xFFFFFF, Rgb(0, 255, 0));

    // On the overview: sample 60 * 65533 / 751 = 5235 and its record value.
    Hover(100, 40);
    std::snprintf(value, sizeof value, "V = %9.2f mv", static_cast<double>(OscState.Record[5235]));
    EXPECT_EQ(Line(PlotCanvas, 126), Written("T =     65.44 us", 672, 126, {{770, "m"}}));
    EXPECT_EQ(Line(PlotCanvas, 154), Written(value, 672, 154, {}));
    EXPECT_EQ(PlotCanvas.Pixel(100, 7) & 0xFFFFFF, Rgb(0, 255, 0));

    // Without the symbol font the texts read "us".
    engine.symbolAvailable = false;
    CreatePlotFonts();
    Hover(300, 200);
    EXPECT_EQ(Line(PlotCanvas, 126), Written("T =      5.31 us", 672, 126, {}));
}

TEST_F(Readouts, ReferenceAtTheCursorGivesZeroDifferences) {
    PlotRightDown(300, 200);
    EXPECT_EQ(PlotCanvas.Pixel(45, 200) & 0xFFFFFF, Rgb(100, 200, 100));
    Hover(300, 200);
    EXPECT_EQ(Line(PlotCanvas, 196),
              Written("dT =      0.00 us", 669, 196, {{774, "m"}, {669, "D"}}));
    EXPECT_EQ(Line(PlotCanvas, 224), Written("dV =      0.00 mv", 669, 224, {{669, "D"}}));

    // 100 pixels right and 40 up of the reference.
    Hover(400, 160);
    char value[32];
    std::snprintf(value, sizeof value, "dV = %9.2f mv", 228 * Range / 368 - 188 * Range / 368);
    EXPECT_EQ(Line(PlotCanvas, 196),
              Written("dT =      2.04 us", 669, 196, {{774, "m"}, {669, "D"}}));
    EXPECT_EQ(Line(PlotCanvas, 224), Written(value, 669, 224, {{669, "D"}}));

    // A right double click takes the cross away and the lines at the next move.
    PlotRightDoubleClick();
    EXPECT_EQ(PlotState.RefShown, 0);
    EXPECT_EQ(PlotCanvas.Pixel(45, 200) & 0xFFFFFF, White);
    EXPECT_NE(Line(PlotCanvas, 196), Blank());
    Hover(400, 160);
    EXPECT_EQ(Line(PlotCanvas, 196), Blank());
    EXPECT_EQ(Line(PlotCanvas, 224), Blank());
    EXPECT_EQ(PlotState.DeltaShown, 0);
}

TEST_F(Readouts, ARedrawThatDropsTheReferenceDropsItsDifferencesToo) {
    PlotRightDown(300, 200);
    Hover(300, 200);
    ASSERT_NE(Line(PlotCanvas, 196), Blank());
    // A typed or dragged sub-window repaints the trace area and forgets the
    // reference; the dT/dV lines must not stay behind as stale figures.
    SetSubWindow(SubWindowArea.first + 10, SubWindowArea.last + 10);
    Hover(400, 160);
    EXPECT_EQ(Line(PlotCanvas, 196), Blank());
    EXPECT_EQ(Line(PlotCanvas, 224), Blank());
}

TEST_F(Readouts, TimeOffsetCountsInTheTimeButNotInItsDifference) {
    // A file record: sample 0 at -100 us, 0.5 us apart; samples 200 .. 225.
    OscState.TimeOffset = -100.0f;
    OscState.SamplePeriod = 0.5f;
    ports.bottomBar[bottom::Min].text = "0";
    RefreshPlot();
    ASSERT_EQ(SubWindowArea.first, 200);
    PlotRightDown(100, 200);  // sample 202
    Hover(400, 200);          // sample 214
    EXPECT_EQ(Line(PlotCanvas, 126), Written("T =      7.00 us", 672, 126, {{770, "m"}}));
    EXPECT_EQ(Line(PlotCanvas, 196),
              Written("dT =      6.00 us", 669, 196, {{774, "m"}, {669, "D"}}));
}

TEST_F(Readouts, FollowModePutsTheCrosshairAndTheReferenceOnTheTrace) {
    OscSettings.Follow_Mode = 1;
    const float v = OscState.Record[425];
    const int32_t traceY = 388 - static_cast<int32_t>(368 * v / Range);
    ASSERT_EQ(PlotCanvas.Pixel(300, traceY) & 0xFFFFFF, Black);  // the trace passes here
    Hover(300, 150);
    EXPECT_EQ(PlotState.CursorY, traceY);
    EXPECT_EQ(PlotCanvas.Pixel(652, traceY) & 0xFFFFFF, Rgb(0, 255, 0));
    // V is the trace's value on the pixel grid.
    char value[32];
    std::snprintf(value, sizeof value, "V = %9.2f mv", (388 - traceY) * Range / 368);
    EXPECT_EQ(Line(PlotCanvas, 154), Written(value, 672, 154, {}));
    EXPECT_NEAR((388 - traceY) * Range / 368, v, Range / 368);

    PlotRightDown(300, 400);
    EXPECT_EQ(PlotState.RefY, traceY);
    Hover(300, 460);
    EXPECT_EQ(Line(PlotCanvas, 224), Written("dV =      0.00 mv", 669, 224, {{669, "D"}}));
}

TEST_F(Readouts, ExclusiveOrMarksLeaveThePlotsAsTheyWere) {
    const Pixels before = Plots();
    Hover(300, 200);
    Hover(100, 40);
    Hover(450, 300);
    PlotRightDown(350, 250);  // a reference over the crosshair
    PlotRightDown(420, 150);  // moved
    Hover(420, 150);
    PlotLeftDown(200, 200);  // arming takes the cursor and the reference off
    PlotMouseMove(0, 500, 400);
    PlotMouseMove(MouseLeft | MouseShift, 300, 120);
    PlotRightDown(300, 120);  // cancels the band
    Hover(5, 5);              // outside both plots: the cursors go
    EXPECT_EQ(Plots(), before);
    EXPECT_EQ((std::vector{PlotState.CursorShown, PlotState.OverviewCursorShown, PlotState.RefShown,
                           PlotState.BandShown}),
              (std::vector{0, 0, 0, 0}));
    EXPECT_EQ(PlotState.Hover, HoverArea::Outside);

    // The commands take the marks off before they change the plot, and the
    // screen follows only when there was one.
    Hover(300, 200);
    PlotRightDown(300, 200);
    const int32_t shown = ports.frame.plotShown;
    EraseCursors(PlotCanvas);
    EraseReference();
    EXPECT_EQ(ports.frame.plotShown, shown + 2);
    EraseCursors(PlotCanvas);
    EraseReference();
    EXPECT_EQ(ports.frame.plotShown, shown + 2);
    EXPECT_EQ(Plots(), before);
}

}  // namespace
}  // namespace korvel::test
