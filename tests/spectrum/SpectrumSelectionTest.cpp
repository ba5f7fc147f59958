#include "spectrum/SpectrumSelection.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/OscState.h"
#include "display/PlotStyle.h"
#include "spectrum/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;

// 301 bins 1 kHz apart on a plot from x = 6 to 507: 501 pixels for 300 kHz.
class SpectrumSelectionTest : public SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        std::vector<float> bins(301);
        for (size_t k = 0; k < bins.size(); ++k)
            bins[k] = 1.0f + static_cast<float>(k % 7);
        PutSpectrum(bins, 1.0f);
        Open(512, 300);
    }

    static std::vector<uint32_t> Pixels() {
        const uint32_t* p = SpectrumCanvas.Pixels();
        return {p, p + SpectrumCanvas.Width() * SpectrumCanvas.Height()};
    }

    void ExpectShown(float lowKHz, float highKHz, const char* min, const char* width) {
        EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, lowKHz);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, highKHz);
        EXPECT_EQ(Field(spectrumBottom::Min), min);
        EXPECT_EQ(Field(spectrumBottom::Width), width);
    }
};

// Clicks at 100 and 101 take 100 .. 103: 94 x 300 / 501 = 56.3 kHz and
// 97 x 300 / 501 = 58.1 kHz, so bins 56 .. 58.
TEST_F(SpectrumSelectionTest, TwoClicksOnePixelApartSelectThreePixels) {
    SpectrumLeftDown(100);
    EXPECT_EQ(SpectrumView.Selecting, 1);
    SpectrumLeftDown(101);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    ExpectShown(56.0f, 58.0f, "56.0", " 2.0");
    // The fields were the window's writes, not typed input: the range stands.
    EXPECT_EQ(SpectrumView.EditsActive, 1);

    // The second click may lie left of the first: 194 x 300 / 501 = 116.2
    // and 394 x 300 / 501 = 235.9 kHz.
    Type("0", "300");
    SpectrumLeftDown(400);
    SpectrumLeftDown(200);
    ExpectShown(116.0f, 236.0f, "116.0", "120.0");
}

TEST_F(SpectrumSelectionTest, ClicksAreHeldWithinThePlot) {
    SpectrumLeftDown(511);
    SpectrumLeftDown(-40);
    ExpectShown(0.0f, 300.0f, " 0.0", "300.0");
    // Both clicks right of the plot: the last two bins.
    SpectrumLeftDown(509);
    SpectrumLeftDown(511);
    ExpectShown(299.0f, 300.0f, "299.0", " 1.0");
}

TEST_F(SpectrumSelectionTest, BandFollowsTheMouseAndLeavesNoTrace) {
    const std::vector<uint32_t> before = Pixels();
    SpectrumLeftDown(100);
    SpectrumMouseMove(200);
    EXPECT_EQ(SpectrumView.SelectionShown, 1);
    // On white the outline is the pen's own colour, from top - 4 to bottom + 4.
    EXPECT_EQ(At(150, Top() - 4), GridPen.color);
    EXPECT_EQ(At(150, Bottom() + 4), GridPen.color);
    EXPECT_EQ(At(150, Top() - 5), White);
    EXPECT_EQ(At(150, Bottom() + 5), White);
    EXPECT_EQ(At(199, Top() + 1), GridPen.color);
    EXPECT_EQ(At(200, Top() + 1), White);
    EXPECT_EQ(At(150, Top() - 3), White);  // the white brush leaves the inside

    SpectrumMouseMove(600);  // held at the plot's right end
    EXPECT_EQ(SpectrumView.CurrentX, Right());
    EXPECT_EQ(At(199, Top() + 1), White);
    SpectrumMouseMove(30);
    SpectrumMouseMove(-30);
    EXPECT_EQ(SpectrumView.CurrentX, Left());

    SpectrumRightDown(250);  // cancel: the band goes, the range stays
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_EQ(SpectrumView.SelectionShown, 0);
    EXPECT_EQ(Pixels(), before);
    ExpectShown(0.0f, 300.0f, " 0.0", "300.0");
    SpectrumMouseMove(300);
    EXPECT_EQ(Pixels(), before);
}

// A drawing wipes the band with everything else: the next move draws it
// afresh instead of leaving a copy of the old one.
TEST_F(SpectrumSelectionTest, PaintDuringASelectionLeavesNoStaleBand) {
    SpectrumLeftDown(100);
    SpectrumMouseMove(200);
    Paint();
    SpectrumMouseMove(300);
    EXPECT_EQ(At(250, Top() - 4), GridPen.color);
    EXPECT_EQ(At(150, Top() - 4), GridPen.color);
    SpectrumRightDown(300);
    EXPECT_EQ(At(150, Top() - 4), White);
}

TEST_F(SpectrumSelectionTest, DoubleClickDoublesTheWidthAroundTheCentre) {
    SpectrumDoubleClick(100);
    ExpectShown(0.0f, 300.0f, " 0.0", "300.0");
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFrac, 0.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 1.0f);

    Type("100", "100");
    // The first press of a double click begins a selection; the double
    // click ends it.
    SpectrumLeftDown(100);
    SpectrumDoubleClick(100);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    ExpectShown(50.0f, 250.0f, "50.0", "200.0");
    // Near an end the range is cut there.
    Type("280", "20");
    SpectrumDoubleClick(0);
    ExpectShown(270.0f, 300.0f, "270.0", "30.0");
}

TEST_F(SpectrumSelectionTest, MouseDoesNothingDuringARun) {
    OscState.SpectrumRunning = 1;
    const std::vector<uint32_t> before = Pixels();
    SpectrumLeftDown(100);
    SpectrumMouseMove(200);
    SpectrumLeftDown(300);
    SpectrumDoubleClick(300);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_EQ(Pixels(), before);
    ExpectShown(0.0f, 300.0f, " 0.0", "300.0");
}

TEST_F(SpectrumSelectionTest, SpectraWithoutTwoBinsIgnoreTheRangeButEndTheSelection) {
    for (const std::vector<float>& bins : {std::vector<float>{}, std::vector<float>{0.0f}}) {
        PutSpectrum(bins, 1.0f);
        Paint();
        SpectrumLeftDown(100);
        SpectrumMouseMove(200);
        SpectrumLeftDown(300);
        EXPECT_EQ(SpectrumView.Selecting, 0);
        SpectrumDoubleClick(300);
        EXPECT_EQ(SpectrumView.SelectionShown, 0);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 1.0f);
    }
}

// With few bins over many pixels, three pixels lie within one bin: the
// selection still shows two.
TEST_F(SpectrumSelectionTest, ASelectionWithinOneBinShowsTwo) {
    PutSpectrum({1.0f, 2.0f, 3.0f, 4.0f, 5.0f}, 1.0f);
    Paint();
    SpectrumLeftDown(250);
    SpectrumLeftDown(250);
    ExpectShown(2.0f, 3.0f, " 2.0", " 1.0");
}

}  // namespace
}  // namespace korvel
