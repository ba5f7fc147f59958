#include "spectrum/SpectrumWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/OscState.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumTips.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

// 301 bins 1 kHz apart, 0 .. 300 kHz.
class SpectrumWindowTest : public test::SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        PutSpectrum(Ramp(), 1.0f);
        Open(512, 300);
    }
};

TEST_F(SpectrumWindowTest, TypedRangeShowsItsBinsWithoutRewritingTheFields) {
    const size_t writes = ports.spectrumBottomBar.writes.size();
    const struct {
        const char *min, *width;
        float low, high;
    } typed[] = {
        {"100", "100", 100, 200}, {"-50", "100", 0, 50},    {"250", "1e9", 250, 300},
        {"299.4", "5", 299, 300}, {"100", "0.6", 100, 101}, {"  20kHz", "10 ", 20, 30},
    };
    for (const auto& t : typed) {
        Type(t.min, t.width);
        ExpectShown(t.low, t.high);
    }
    EXPECT_EQ(ports.spectrumBottomBar.writes.size(), writes);
}

TEST_F(SpectrumWindowTest, TypedRangeOutsideTheSpectrumOrUnreadableChangesNothing) {
    Type("100", "100");
    const std::vector<uint32_t> before = Pixels();
    // Half a bin past the last bin, on the last bin, fewer than two bins, ...
    const char* ignored[][2] = {{"300.5", "10"}, {"299.6", "10"}, {"100", "0.4"},
                                {"100", "-20"},  {"", "100"},     {"100", ""},
                                {"abc", "100"},  {"nan", "100"},  {"100", "inf"}};
    for (const auto& t : ignored) {
        SCOPED_TRACE(std::string(t[0]) + " / " + t[1]);
        Type(t[0], t[1]);
        ExpectShown(100.0f, 200.0f);
        EXPECT_EQ(Pixels(), before);
    }
    // Nor does anything typed during a run, or the window's own writes.
    OscState.SpectrumRunning = 1;
    Type("0", "50");
    OscState.SpectrumRunning = 0;
    SpectrumView.EditsActive = 0;
    Type("0", "50");
    ExpectShown(100.0f, 200.0f);
}

TEST_F(SpectrumWindowTest, PaintKeepsTheShownFractionAndWritesTheFieldsOncePerWindow) {
    Type("100", "50");
    const size_t writes = ports.spectrumBottomBar.writes.size();
    Paint();
    ExpectShown(100.0f, 150.0f);
    EXPECT_EQ(ports.spectrumBottomBar.writes.size(), writes);
    // Closed and opened again: the same part of the spectrum, and its fields.
    SpectrumWindowDestroyed();
    Open(400, 300);
    ExpectShown(100.0f, 150.0f);
    EXPECT_EQ(Field(spectrumBottom::Min), "100.0");
    EXPECT_EQ(Field(spectrumBottom::Width), "50.0");
    EXPECT_EQ(ports.spectrumBottomBar.writes.size(), writes + 3);
    // A spectrum with fewer bins shows the same fraction of itself.
    PutSpectrum(std::vector<float>(31, 1.0f), 10.0f);
    Paint();
    ExpectShown(100.0f, 150.0f);
    EXPECT_FALSE(SpectrumOutdated());
    ++SubWindowArea.last;  // another range in the main plot
    EXPECT_TRUE(SpectrumOutdated());
    Paint();
    OscState.SpectrumValid = 0;  // a new record
    EXPECT_TRUE(SpectrumOutdated());
}

TEST_F(SpectrumWindowTest, ShowSpectrumTakesThePlotMarksOffUnlessACaptureRuns) {
    PlotState.CursorShown = PlotState.RefShown = 1;
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 1);
    EXPECT_EQ(PlotState.CursorShown + PlotState.RefShown, 0);
    PlotState.CursorShown = PlotState.RefShown = 1;
    OscState.OscRunning = 1;
    ShowSpectrum();
    OscState.OscRunning = 0;
    OscState.SpectrumRunning = 1;
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 1);
    EXPECT_EQ(PlotState.CursorShown + PlotState.RefShown, 2);
    OscState.SpectrumRunning = 0;
    ports.frame.spectrumWindowMade = false;
    ShowSpectrum();
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Cannot create SPECTRUM window");
    EXPECT_EQ(ports.dialogs.messages[0].caption, "(default)");
}

TEST_F(SpectrumWindowTest, ToolTipsByBarAndControl) {
    auto tip = [](SpectrumBar bar, int32_t id) {
        const char* text = SpectrumTipText(bar, id);
        return std::string(text == nullptr ? "-" : text);
    };
    const auto top = SpectrumBar::Top;
    const auto bottom = SpectrumBar::Bottom;
    // The same id names other controls in the other bar; the counter has a
    // tip only during a run.
    EXPECT_EQ(tip(bottom, 1027) + "|" + tip(bottom, 1026) + "|" + tip(top, 1026) + "|" +
                  tip(top, 1008) + "|" + tip(bottom, 1011),
              "Set SubWindow start|Max frequency|-|Continuous run|-");
    OscState.SpectrumRunning = 1;
    EXPECT_EQ(tip(top, 1026), "Nr of accumulated");
    OscState.Russian = 1;
    EXPECT_EQ(tip(top, 1026) + "|" + tip(bottom, 1038), "Количество накоплений|Ширина окна");
}

}  // namespace
}  // namespace korvel
