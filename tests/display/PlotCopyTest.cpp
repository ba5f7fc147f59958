// The sub-window plot on the clipboard: its pixels as shown, its physical
// size, and the copy refused while a capture owns the display.
#include "display/PlotCopy.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/OscState.h"
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

TEST_F(Copy, InsideOfTheFrameAsShownWithItsSizeOrNothingWhileACaptureRuns) {
    PlotMouseMove(0, 300, 200);  // the crosshair is copied too
    CopyPlotToClipboard();
    const FakeClipboard& c = ports.clipboard;
    EXPECT_EQ((std::vector{c.copies, c.width, c.height, c.widthTenthMm, c.heightTenthMm}),
              (std::vector{1, 597, 397, 1579, 1050}));
    std::vector<uint32_t> expected(597 * 397);
    PlotCanvas.CopyRect(5, 105, 597, 397, expected.data(), 597);
    EXPECT_EQ(c.pixels, expected);
    EXPECT_EQ(c.pixels[(200 - 105) * 597 + 45 - 5], 0xFF00FF00u);

    ports.clipboard.dpiX = 120;  // another screen, another physical size
    ports.clipboard.dpiY = 72;
    CopyPlotToClipboard();
    EXPECT_EQ((std::vector{c.widthTenthMm, c.heightTenthMm}), (std::vector{1263, 1400}));

    OscState.OscRunning = 1;
    CopyPlotToClipboard();
    OscState.OscRunning = 0;
    OscState.SpectrumRunning = 1;
    CopyPlotToClipboard();
    OscState.SpectrumRunning = 0;
    PlotState.SubWindowRect.right = 7;  // no column left inside the frame
    CopyPlotToClipboard();
    EXPECT_EQ(c.copies, 2);
}

}  // namespace
}  // namespace korvel::test
