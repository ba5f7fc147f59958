// The sub-window plot on the clipboard: its pixels as shown, its physical
// size, and the copy refused while a capture owns the display.
#include "display/PlotCopy.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/OscState.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotMouse.h"
#include "display/PlotState.h"

namespace korvel::test {
namespace {

// 746 x 507 makes a sub-window frame of 600 x 400 from (4, 104).
class Copy : public PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(746, 507);
        FillSquareWave(MaxData);
        RefreshPlot();
        const Rect& s = PlotState.SubWindowRect;
        ASSERT_EQ((std::vector{s.left, s.top, s.right - s.left, s.bottom - s.top}),
                  (std::vector{4, 104, 600, 400}));
    }
};

TEST_F(Copy, InsideOfTheFrameWithTheMarksShownAndItsSizeInTenthsOfMm) {
    PlotMouseMove(0, 300, 200);  // the crosshair is copied too
    PlotRightDown(200, 300);
    CopyPlotToClipboard();
    const FakeClipboard& c = ports.clipboard;
    ASSERT_EQ(c.copies, 1);
    EXPECT_EQ((std::vector{c.width, c.height, c.widthTenthMm, c.heightTenthMm}),
              (std::vector{597, 397, 1579, 1050}));
    std::vector<uint32_t> expected;
    for (int32_t y = 105; y < 105 + 397; ++y) {
        for (int32_t x = 5; x < 5 + 597; ++x)
            expected.push_back(PlotCanvas.Pixel(x, y));
    }
    EXPECT_EQ(c.pixels, expected);
    EXPECT_EQ(c.pixels[(200 - 105) * 597 + 45 - 5], 0xFF00FF00u);   // crosshair
    EXPECT_EQ(c.pixels[(300 - 105) * 597 + 100 - 5], 0xFF64C864u);  // reference cross

    // Another screen, another physical size.
    ports.clipboard.dpiX = 120;
    ports.clipboard.dpiY = 72;
    CopyPlotToClipboard();
    EXPECT_EQ((std::vector{c.widthTenthMm, c.heightTenthMm}), (std::vector{1263, 1400}));
}

TEST_F(Copy, RefusedWhileACaptureRunsAndWhenNothingFits) {
    OscState.OscRunning = 1;
    CopyPlotToClipboard();
    OscState.OscRunning = 0;
    OscState.SpectrumRunning = 1;
    CopyPlotToClipboard();
    EXPECT_EQ(ports.clipboard.copies, 0);
    OscState.SpectrumRunning = 0;

    ports.clipboard.available = false;  // busy: nothing happens
    CopyPlotToClipboard();
    EXPECT_EQ(ports.clipboard.copies, 0);
    ports.clipboard.available = true;

    PlotState.SubWindowRect = {4, 104, 7, 504};  // no column left inside the frame
    PlotBitmap bitmap;
    EXPECT_FALSE(CopyPlotBitmap(PlotCanvas, bitmap));
    CopyPlotToClipboard();
    EXPECT_EQ(ports.clipboard.copies, 0);
}

}  // namespace
}  // namespace korvel::test
