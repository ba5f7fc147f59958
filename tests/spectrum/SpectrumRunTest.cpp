// The continuous run on the simulated source: a record captured as F5
// would, the window opened on it, then the run's button and its ticks.
#include "spectrum/SpectrumRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {
namespace {

class SpectrumRunTest : public SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        OscSettings.Num_Data = 4096;
        CaptureStep();
        Open(512, 300);
    }
    std::string Counter() { return ports.spectrumTopBar[spectrumTop::Counter].text; }
    void Accumulate(bool on) { ports.spectrumTopBar[spectrumTop::Accumulate].checked = on; }
    // The kept bins of the last transform, and the shown bins.
    static std::vector<float> Fresh() {
        return {SpectrumData.Work, SpectrumData.Work + SpectrumData.LastBin + 1};
    }
    static std::vector<float> Shown() {
        return {SpectrumView.Bins, SpectrumView.Bins + SpectrumView.BinCount};
    }
};

TEST_F(SpectrumRunTest, ButtonStartsAndStopsAtTheOscillographPeriod) {
    auto& run = ports.spectrumTopBar[spectrumTop::Run];
    ToggleSpectrumRun();
    EXPECT_EQ(std::pair(OscState.SpectrumRunning, ports.timers.Period(TimerId::SpectrumRun)),
              std::pair(1, 500));
    EXPECT_EQ(std::pair(run.face, ports.spectrumTopBar.repaints), std::pair(Face::Wait, 1));
    ToggleSpectrumRun();
    EXPECT_EQ(std::pair(OscState.SpectrumRunning, ports.timers.Period(TimerId::SpectrumRun)),
              std::pair(0, -1));
    EXPECT_EQ(run.face, Face::SpectrumIdle);
    OscSettings.Osc_Freq = 3.0f;
    ToggleSpectrumRun();
    EXPECT_EQ(ports.timers.Period(TimerId::SpectrumRun), 333);
    ToggleSpectrumRun();
    OscSettings.Osc_Freq = 0.0f;  // no period: no run
    ToggleSpectrumRun();
    EXPECT_EQ(std::pair(OscState.SpectrumRunning, ports.timers.Period(TimerId::SpectrumRun)),
              std::pair(0, -1));
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text,
              "The continuous run cannot start: the oscillograph rate is 0 Hz.\n"
              "Enter a rate above 0 Hz in the main window and start again.");
}

TEST_F(SpectrumRunTest, AccumulatingRunCountsItsTicksAndShowsTheRunningMean) {
    Accumulate(true);
    ToggleSpectrumRun();
    EXPECT_EQ(SpectrumData.AverageCount, 0);
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 1");
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Average);
    EXPECT_EQ(Shown(), Fresh());  // the first spectrum as it is
    const std::vector<float> first = Fresh();
    SpectrumRunTick();
    EXPECT_EQ(std::pair(Counter(), SpectrumView.Averaged),
              std::pair(std::string("Accumulated: 2"), 2));
    const std::vector<float> second = Fresh();
    for (size_t k = 0; k < std::min(first.size(), second.size()); ++k)
        EXPECT_FLOAT_EQ(SpectrumView.Bins[k], (first[k] + second[k]) / 2) << k;
    Paint();  // a paint between ticks shows the record's own spectrum, the next tick the mean
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Work);
    Accumulate(false);  // read only as a run starts
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 3");
    EXPECT_EQ(SpectrumView.Bins, SpectrumData.Average);
    ToggleSpectrumRun();  // stopped, the counter stays; restarted, a new mean from 1
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Accumulated: 3");
    Accumulate(true);
    OscState.Russian = 1;
    ToggleSpectrumRun();
    SpectrumRunTick();
    EXPECT_EQ(Counter(), "Накоплений: 1");
    EXPECT_EQ(Shown(), Fresh());
}

TEST_F(SpectrumRunTest, PlainRunShowsEachNewSpectrumAtTheSameFraction) {
    ports.spectrumTopBar[spectrumTop::Counter].text = "Accumulated: 7";
    const std::vector<float> average(SpectrumData.Average, SpectrumData.Average + 2048);
    SpectrumView.VisLowFrac = 0.25f;
    SpectrumView.VisHighFrac = 0.5f;
    ToggleSpectrumRun();
    std::vector<float> before = Fresh();
    for (int tick = 0; tick < 3; ++tick) {
        SpectrumRunTick();
        EXPECT_EQ(SpectrumView.Bins, SpectrumData.Work);
        EXPECT_NE(Fresh(), before);  // a new record, a new spectrum
        before = Fresh();
        const float last = static_cast<float>(SpectrumView.BinCount - 1);
        EXPECT_EQ(SpectrumView.ShownFirst, static_cast<int32_t>(last * 0.25f + 0.5f));
        EXPECT_EQ(SpectrumView.ShownEnd, static_cast<int32_t>(last * 0.5f + 0.5f) + 1);
    }
    EXPECT_EQ(Counter(), "Accumulated: 7");
    EXPECT_EQ(std::vector<float>(SpectrumData.Average, SpectrumData.Average + 2048), average);

    SpectrumWindowDestroyed();  // closing the window ends the run; a tick on its way does nothing
    EXPECT_EQ(std::pair(OscState.SpectrumRunning, ports.timers.Period(TimerId::SpectrumRun)),
              std::pair(0, -1));
    const float sample = OscState.Record[10];
    SpectrumRunTick();
    EXPECT_EQ(OscState.Record[10], sample);
}

}  // namespace
}  // namespace korvel::test
