#include "spectrum/SpectrumRun.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "display/PlotState.h"
#include "spectrum/SpectrumControlIds.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel {
namespace {

// The run on the simulated source: a record captured as F5 would, the
// window opened on it, then the run's button and ticks.
class SpectrumRunTest : public test::SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        OscSettings.Num_Data = 4096;
        CaptureStep();
        ASSERT_GT(SubWindowArea.last, SubWindowArea.first);
        Open(512, 300);
    }

    std::string Counter() { return ports.spectrumTopBar[spectrumTop::Counter].text; }
    void SetAccumulate(bool on) { ports.spectrumTopBar[spectrumTop::Accumulate].checked = on; }
    bool TimerRuns() const { return ports.timers.Running(TimerId::SpectrumRun); }

    // The kept bins of the last computation, bit for bit.
    static std::vector<float> Fresh() {
        return {SpectrumData.Work, SpectrumData.Work + SpectrumData.LastBin + 1};
    }
    static std::vector<float> Shown() {
        return {SpectrumView.Bins, SpectrumView.Bins + SpectrumView.BinCount};
    }
};

TEST_F(SpectrumRunTest, StartTakesTheOscillographRateAndShowsTheWaitFace) {
    ToggleSpectrumRun();
    EXPECT_EQ(OscState.SpectrumRunning, 1);
    EXPECT_EQ(ports.timers.Period(TimerId::SpectrumRun), 500);
    EXPECT_EQ(ports.spectrumTopBar[spectrumTop::Run].face, Face::Wait);
    EXPECT_GE(ports.spectrumTopBar.repaints, 1);
    ToggleSpectrumRun();
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_EQ(ports.spectrumTopBar[spectrumTop::Run].face, Face::SpectrumIdle);

    OscSettings.Osc_Freq = 3.0f;
    ToggleSpectrumRun();
    EXPECT_EQ(ports.timers.Period(TimerId::SpectrumRun), 333);
}

TEST_F(SpectrumRunTest, RateWithoutPeriodRefusesToStart) {
    OscSettings.Osc_Freq = 0.0f;
    ToggleSpectrumRun();
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_FALSE(TimerRuns());
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text,
              "The continuous run cannot start: the oscillograph rate is 0 Hz.\n"
              "Enter a rate above 0 Hz in the main window and start again.");
}

TEST_F(SpectrumRunTest, AccumulatingRunCountsItsTicksAndShowsTheRunningMean) {
    SetAccumulate(true);
    ToggleSpectrumRun();
    EXPECT_EQ(SpectrumData.AverageCount, 0);
    EXPECT_EQ(Counter(), "");

    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 1");
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Average);
    EXPECT_EQ(Shown(), Fresh());  // the first spectrum as it is
    const std::vector<float> first = Fresh();

    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 2");
    EXPECT_EQ(SpectrumData.AverageCount, 2);
    const std::vector<float> second = Fresh();
    const size_t common = std::min(first.size(), second.size());
    for (size_t k = 0; k < common; ++k) {
        EXPECT_FLOAT_EQ(SpectrumView.Bins[k], (first[k] + second[k]) / 2) << k;
    }
    // The Accumulate box counts only as a run starts.
    SetAccumulate(false);
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 3");

    // Stopped: the counter stays; restarted: a new mean from 1.
    ToggleSpectrumRun();
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 3");
    SetAccumulate(true);
    ToggleSpectrumRun();
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 1");
    EXPECT_EQ(SpectrumData.AverageCount, 1);
    EXPECT_EQ(Shown(), Fresh());
}

TEST_F(SpectrumRunTest, PlainRunShowsEachNewSpectrumAndLeavesTheCounterAndTheMean) {
    ports.spectrumTopBar[spectrumTop::Counter].text = "Accumulated: 7";
    const std::vector<float> average(SpectrumData.Average, SpectrumData.Average + 2048);
    ToggleSpectrumRun();
    const std::vector<float> before = Fresh();
    SpectrumRunTick();
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Work);
    EXPECT_NE(Fresh(), before);  // a new record, a new spectrum
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 7");
    EXPECT_EQ(std::vector<float>(SpectrumData.Average, SpectrumData.Average + 2048), average);
}

TEST_F(SpectrumRunTest, CounterInRussian) {
    OscState.Russian = 1;
    SetAccumulate(true);
    ToggleSpectrumRun();
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Накоплений: 1");
}

// A paint between ticks shows the spectrum of the record; the next tick the mean.
TEST_F(SpectrumRunTest, PaintDuringARunShowsTheCurrentRecord) {
    SetAccumulate(true);
    ToggleSpectrumRun();
    SpectrumRunTick();
    SpectrumRunTick();
    Paint();
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Work);
    SpectrumRunTick();
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Average);
}

TEST_F(SpectrumRunTest, TicksKeepTheShownFraction) {
    SpectrumView.VisLowFrac = 0.25f;
    SpectrumView.VisHighFrac = 0.5f;
    Paint();
    const float low = SpectrumView.VisLowFrac;
    const float high = SpectrumView.VisHighFrac;
    ToggleSpectrumRun();
    for (int i = 0; i < 3; ++i) {
        SpectrumRunTick();
        const float bin = 1.0f / static_cast<float>(SpectrumView.BinCount - 1);
        EXPECT_NEAR(SpectrumView.VisLowFrac, low, bin);
        EXPECT_NEAR(SpectrumView.VisHighFrac, high, bin);
    }
}

TEST_F(SpectrumRunTest, ClosingTheWindowEndsTheRun) {
    ToggleSpectrumRun();
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 0);
    SpectrumWindowDestroyed();
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_FALSE(TimerRuns());
    const float sample = OscState.Record[10];
    SpectrumRunTick();  // a tick already queued does nothing
    EXPECT_EQ(OscState.Record[10], sample);
    ShowSpectrum();
    EXPECT_EQ(ports.frame.spectrumShown, 1);
}

}  // namespace
}  // namespace korvel
