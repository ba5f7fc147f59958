#include "spectrum/SpectrumCopy.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/OscState.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;

TEST_F(SpectrumTest, CopyTakesTheWholeWidthBetweenTheBars) {
    PutSpectrum(Ramp(), 1.0f);
    Open(512, 300);
    ports.clipboard.dpiY = 120;
    CopySpectrum();
    ASSERT_EQ(ports.clipboard.copies, 1);
    const int32_t h = 300 - (TopBar + 1) - (BottomBar + 1);
    EXPECT_EQ(ports.clipboard.width, 512);
    EXPECT_EQ(ports.clipboard.height, h);
    EXPECT_EQ(ports.clipboard.widthTenthMm, 1354);  // 512 x 254 / 96 = 1354.67
    EXPECT_EQ(ports.clipboard.heightTenthMm, h * 254 / 120);
    const uint32_t* shown = SpectrumCanvas.Pixels() + (TopBar + 1) * 512;
    EXPECT_EQ(ports.clipboard.pixels, std::vector<uint32_t>(shown, shown + 512 * h));

    // Not during a run, nor without a row between the bars.
    OscState.SpectrumRunning = 1;
    CopySpectrum();
    OscState.SpectrumRunning = 0;
    Open(512, TopBar + BottomBar + 2);
    CopySpectrum();
    EXPECT_EQ(ports.clipboard.copies, 1);
}

}  // namespace
}  // namespace korvel
