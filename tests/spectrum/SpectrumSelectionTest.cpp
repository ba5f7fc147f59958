#include "spectrum/SpectrumSelection.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/OscState.h"
#include "display/PlotStyle.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

// 301 bins 1 kHz apart on a plot from x = 6 to 507: 501 pixels for 300 kHz.
class SpectrumSelectionTest : public test::SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        PutSpectrum(Ramp(), 1.0f);
        Open(512, 300);
    }
    void ExpectFields(const char* min, const char* width) {
        EXPECT_EQ(Field(spectrumBottom::Min), min);
        EXPECT_EQ(Field(spectrumBottom::Width), width);
    }
    static void Clicks(int32_t first, int32_t second) {
        SpectrumLeftDown(first);
        SpectrumLeftDown(second);
    }
};

TEST_F(SpectrumSelectionTest, TwoClicksSelectTheRangeBetweenThem) {
    // 100 and 101 take 100 .. 103: 94 x 300 / 501 = 56.3 and 97 x 300 / 501 = 58.1 kHz.
    Clicks(100, 101);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    ExpectShown(56.0f, 58.0f);
    ExpectFields("56.0", " 2.0");
    EXPECT_EQ(SpectrumView.EditsActive, 1);  // the writes were not typed input
    Type("0", "300");
    Clicks(400, 200);  // right to left: 116.2 and 235.9 kHz
    ExpectShown(116.0f, 236.0f);
    ExpectFields("116.0", "120.0");
    // Clicks beyond the plot are held to it; both right of it: the last bins.
    Type("0", "300");
    Clicks(511, -40);
    ExpectShown(0.0f, 300.0f);
    Clicks(509, 511);
    ExpectShown(299.0f, 300.0f);
    ExpectFields("299.0", " 1.0");
    // Three pixels within one of five wide bins: two bins all the same.
    PutSpectrum({1.0f, 2.0f, 3.0f, 4.0f, 5.0f}, 1.0f);
    Paint();
    Type("0", "4");
    Clicks(250, 250);
    ExpectShown(2.0f, 3.0f);
}

TEST_F(SpectrumSelectionTest, BandFollowsTheMouseAndLeavesNoTrace) {
    const std::vector<uint32_t> before = Pixels();
    const Rect& p = Plot();
    SpectrumLeftDown(100);
    SpectrumMouseMove(200);
    // On white the outline is the pen's colour, from top - 4 to bottom + 4;
    // the white brush leaves the inside.
    EXPECT_EQ(At(150, p.top - 4), GridPen.color);
    EXPECT_EQ(At(150, p.bottom + 4), GridPen.color);
    EXPECT_EQ(At(150, p.top - 5), White);
    EXPECT_EQ(At(150, p.bottom + 5), White);
    EXPECT_EQ(At(199, p.top + 1), GridPen.color);
    EXPECT_EQ(At(200, p.top + 1), White);
    EXPECT_EQ(At(150, p.top - 3), White);
    SpectrumMouseMove(600);
    EXPECT_EQ(SpectrumView.CurrentX, p.right);
    EXPECT_EQ(At(199, p.top + 1), White);
    SpectrumMouseMove(-30);
    EXPECT_EQ(SpectrumView.CurrentX, p.left);
    // A paint wipes the band; the next move draws it afresh, no stale copy.
    Paint();
    SpectrumMouseMove(300);
    SpectrumRightDown(250);  // cancel: the band goes, the range stays
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_EQ(Pixels(), before);
    ExpectShown(0.0f, 300.0f);
    SpectrumMouseMove(300);
    EXPECT_EQ(Pixels(), before);
}

TEST_F(SpectrumSelectionTest, DoubleClickDoublesTheWidthAroundTheCentre) {
    SpectrumDoubleClick(100);  // the full view stays full
    ExpectShown(0.0f, 300.0f);
    ExpectFields(" 0.0", "300.0");
    Type("100", "100");
    SpectrumLeftDown(100);  // the first press of the double click
    SpectrumDoubleClick(100);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    ExpectShown(50.0f, 250.0f);
    ExpectFields("50.0", "200.0");
    Type("280", "20");  // cut at the end of the spectrum
    SpectrumDoubleClick(0);
    ExpectShown(270.0f, 300.0f);
}

TEST_F(SpectrumSelectionTest, MouseDoesNothingDuringARunNorWithoutTwoBins) {
    OscState.SpectrumRunning = 1;
    const std::vector<uint32_t> before = Pixels();
    SpectrumLeftDown(100);
    SpectrumMouseMove(200);
    SpectrumDoubleClick(300);
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_EQ(Pixels(), before);
    OscState.SpectrumRunning = 0;
    for (const std::vector<float>& bins : {std::vector<float>{}, std::vector<float>{0.0f}}) {
        PutSpectrum(bins, 1.0f);
        Paint();
        SpectrumLeftDown(100);
        SpectrumMouseMove(200);
        SpectrumLeftDown(300);
        EXPECT_EQ(SpectrumView.Selecting + SpectrumView.SelectionShown, 0);
        SpectrumDoubleClick(300);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, 1.0f);
    }
}

}  // namespace
}  // namespace korvel
