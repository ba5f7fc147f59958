#include "spectrum/SpectrumWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/OscState.h"
#include "display/PlotState.h"
#include "spectrum/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumTips.h"
#include "spectrum/SpectrumView.h"

namespace korvel {
namespace {

using test::SpectrumTest;

// 301 bins 1 kHz apart, 0 .. 300 kHz, on a plot 500 pixels wide.
class SpectrumWindowTest : public SpectrumTest {
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

    static void ExpectShown(float lowKHz, float highKHz) {
        EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, lowKHz);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, highKHz);
        EXPECT_FLOAT_EQ(SpectrumView.VisLowFrac, lowKHz / 300.0f);
        EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, highKHz / 300.0f);
    }
};

TEST_F(SpectrumWindowTest, TypedRangeShowsItsBinsWithoutRewritingTheFields) {
    const size_t writes = ports.spectrumBottomBar.writes.size();
    Type("100", "100");
    ExpectShown(100.0f, 200.0f);
    // Min below the spectrum starts at bin 0; a width past its end stops there.
    Type("-50", "100");
    ExpectShown(0.0f, 50.0f);
    Type("250", "1e9");
    ExpectShown(250.0f, 300.0f);
    // The last start that leaves two bins, and the narrowest width.
    Type("299.4", "5");
    ExpectShown(299.0f, 300.0f);
    Type("100", "0.6");
    ExpectShown(100.0f, 101.0f);
    // Numbers are read as typed: leading blanks, trailing garbage.
    Type("  20kHz", "10 ");
    ExpectShown(20.0f, 30.0f);
    EXPECT_EQ(ports.spectrumBottomBar.writes.size(), writes);
}

TEST_F(SpectrumWindowTest, TypedRangeOutsideTheSpectrumOrUnreadableChangesNothing) {
    Type("100", "100");
    const std::vector<uint32_t> before = Pixels();
    const struct {
        const char* min;
        const char* width;
    } ignored[] = {
        {"300.5", "10"},  // starts half a bin past the last bin
        {"299.6", "10"},  // starts on the last bin: a single bin
        {"100", "0.4"},   // fewer than two bins
        {"100", "-20"},   // ends before it starts
        {"", "100"},     {"100", ""},    {"abc", "100"}, {"100", "x1"},
        {"nan", "100"},  {"inf", "100"}, {"100", "inf"}, {"-inf", "100"},
    };
    for (const auto& typed : ignored) {
        SCOPED_TRACE(std::string(typed.min) + " / " + typed.width);
        Type(typed.min, typed.width);
        ExpectShown(100.0f, 200.0f);
        EXPECT_EQ(Pixels(), before);
    }
}

TEST_F(SpectrumWindowTest, TypedRangeIsIgnoredWhileTheWindowWritesOrARunDraws) {
    OscState.SpectrumRunning = 1;
    Type("100", "100");
    ExpectShown(0.0f, 300.0f);
    OscState.SpectrumRunning = 0;
    SpectrumView.EditsActive = 0;
    Type("100", "100");
    ExpectShown(0.0f, 300.0f);
}

TEST_F(SpectrumWindowTest, PaintKeepsTheShownFractionAndWritesTheFieldsOncePerWindow) {
    Type("100", "50");
    const size_t writes = ports.spectrumBottomBar.writes.size();
    Paint();
    ExpectShown(100.0f, 150.0f);
    EXPECT_EQ(ports.spectrumBottomBar.writes.size(), writes);

    // Closed and opened again: the same part of the spectrum, and its fields.
    SpectrumWindowDestroyed();
    ports.spectrumBottomBar = test::FakeControls{};
    ports.spectrumBottomBar.onTextChanged = [](int32_t id) { SpectrumFieldChanged(id); };
    Open(400, 300);
    ExpectShown(100.0f, 150.0f);
    EXPECT_EQ(Field(spectrumBottom::Min), "100.0");
    EXPECT_EQ(Field(spectrumBottom::Width), "50.0");
    EXPECT_EQ(Field(spectrumBottom::MaxFreq), "(Max = 300.0 kHz)");
    EXPECT_EQ(SpectrumView.EditsActive, 1);

    // A spectrum with fewer bins shows the same fraction of itself.
    PutSpectrum(std::vector<float>(31, 1.0f), 10.0f);
    Paint();
    ExpectShown(100.0f, 150.0f);
}

TEST_F(SpectrumWindowTest, OutdatedByANewRecordOrAnotherRange) {
    EXPECT_FALSE(SpectrumOutdated());
    ++SubWindowArea.last;
    EXPECT_TRUE(SpectrumOutdated());
    Paint();
    EXPECT_FALSE(SpectrumOutdated());
    OscState.SpectrumValid = 0;  // a new record was processed
    EXPECT_TRUE(SpectrumOutdated());
}

TEST_F(SpectrumWindowTest, ShowSpectrumOpensTheWindowUnlessACaptureRuns) {
    // The main plot's crosshair and reference cross are taken off first.
    PlotState.CursorShown = PlotState.RefShown = 1;
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 1);
    EXPECT_EQ(PlotState.CursorShown, 0);
    EXPECT_EQ(PlotState.RefShown, 0);
    EXPECT_EQ(PlotState.ReadoutsDirty, 1);
    PlotState.CursorShown = PlotState.RefShown = 1;
    OscState.OscRunning = 1;
    ShowSpectrum();
    OscState.OscRunning = 0;
    OscState.SpectrumRunning = 1;
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 1);
    EXPECT_EQ(PlotState.CursorShown, 1);
    EXPECT_EQ(PlotState.RefShown, 1);
    EXPECT_TRUE(ports.dialogs.messages.empty());

    OscState.SpectrumRunning = 0;
    ports.frame.spectrumWindowMade = false;
    ShowSpectrum();
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Cannot create SPECTRUM window");
    EXPECT_EQ(ports.dialogs.messages[0].caption, "(default)");
}

TEST_F(SpectrumWindowTest, ToolTipsByBarAndControl) {
    using Bar = SpectrumBar;
    const std::string none = "(none)";
    auto tip = [&](Bar bar, int32_t id) {
        const char* text = SpectrumTipText(bar, id);
        return text == nullptr ? none : std::string(text);
    };
    EXPECT_EQ(tip(Bar::Bottom, 1000), "Set SubWindow start");
    EXPECT_EQ(tip(Bar::Bottom, 1027), "Set SubWindow start");
    EXPECT_EQ(tip(Bar::Bottom, 1006), "Set SubWindow length");
    EXPECT_EQ(tip(Bar::Bottom, 1038), "Set SubWindow length");
    EXPECT_EQ(tip(Bar::Bottom, 1026), "Max frequency");
    EXPECT_EQ(tip(Bar::Bottom, 1011), none);
    EXPECT_EQ(tip(Bar::Top, 1011), "Save KORVEL spectrum to file");
    EXPECT_EQ(tip(Bar::Top, 1008), "Continuous run");
    EXPECT_EQ(tip(Bar::Top, 1007), "Accumulate spectrum");
    EXPECT_EQ(tip(Bar::Top, 1043), "Save spectrum to clipboard");
    EXPECT_EQ(tip(Bar::Top, 1026), none);
    EXPECT_EQ(tip(Bar::Top, 1000), none);
    OscState.SpectrumRunning = 1;
    EXPECT_EQ(tip(Bar::Top, 1026), "Nr of accumulated");
    OscState.Russian = 1;
    EXPECT_EQ(tip(Bar::Top, 1026), "Количество накоплений");
    EXPECT_EQ(tip(Bar::Top, 1043), "Запомнить спектр в буфере обмена");
    EXPECT_EQ(tip(Bar::Bottom, 1027), "Начало окна");
    EXPECT_EQ(tip(Bar::Bottom, 1026), "Максимальная частота");
}

}  // namespace
}  // namespace korvel
