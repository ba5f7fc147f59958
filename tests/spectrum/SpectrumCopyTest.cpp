#include "spectrum/SpectrumCopy.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/OscState.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;

TEST_F(SpectrumTest, CopyTakesTheWholeWidthBetweenTheBars) {
    PutSpectrum(std::vector<float>(301, 2.0f), 1.0f);
    Open(512, 300);
    ports.clipboard.dpiX = 96;
    ports.clipboard.dpiY = 120;
    CopySpectrum();
    ASSERT_EQ(ports.clipboard.copies, 1);
    const int32_t h = 300 - (TopBar + 1) - (BottomBar + 1);
    EXPECT_EQ(ports.clipboard.width, 512);
    EXPECT_EQ(ports.clipboard.height, h);
    EXPECT_EQ(ports.clipboard.widthTenthMm, 512 * 254 / 96);  // 1354.67 truncated
    EXPECT_EQ(ports.clipboard.heightTenthMm, h * 254 / 120);
    const uint32_t* canvas = SpectrumCanvas.Pixels() + (TopBar + 1) * 512;
    EXPECT_EQ(ports.clipboard.pixels, std::vector<uint32_t>(canvas, canvas + 512 * h));
    // The plot's first and last rows are in it: the axis top and the labels.
    EXPECT_EQ(ports.clipboard.pixels[(Top() - TopBar - 1) * 512 + Left()] & 0xFFFFFF, Black);
}

TEST_F(SpectrumTest, CopyIsRefusedDuringARunAndWithoutRoomBetweenTheBars) {
    PutSpectrum(std::vector<float>(301, 2.0f), 1.0f);
    Open(512, 300);
    OscState.SpectrumRunning = 1;
    CopySpectrum();
    OscState.SpectrumRunning = 0;
    Open(512, TopBar + BottomBar + 2);
    CopySpectrum();
    EXPECT_EQ(ports.clipboard.copies, 0);
    // A screen without a resolution counts as 96 pixels per inch.
    Open(96, 200);
    ports.clipboard.dpiX = 0;
    CopySpectrum();
    EXPECT_EQ(ports.clipboard.widthTenthMm, 254);
}

}  // namespace
}  // namespace korvel
