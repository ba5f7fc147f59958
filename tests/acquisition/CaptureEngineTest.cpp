#include "acquisition/CaptureEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/ReferenceSignal.h"
#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using Log = std::vector<std::string>;

// The top bar, with every change the engine makes to it written down in order.
class LoggingBar : public test::FakeControls {
  public:
    Log log;
    void Show(int32_t id, bool visible) override {
        log.push_back(Name(id) + (visible ? " shown" : " hidden"));
        FakeControls::Show(id, visible);
    }
    void SetFace(int32_t id, Face face) override {
        log.push_back(face == Face::Wait ? "face wait" : "face start");
        FakeControls::SetFace(id, face);
    }
    void SetProgressRange(int32_t id, int32_t lo, int32_t hi) override {
        log.push_back("range " + std::to_string(lo) + " " + std::to_string(hi));
        FakeControls::SetProgressRange(id, lo, hi);
    }
    void SetProgressPos(int32_t id, int32_t pos) override {
        log.push_back("pos " + std::to_string(pos));
        FakeControls::SetProgressPos(id, pos);
    }
    void SetText(int32_t id, const char* text) override {
        log.push_back(Name(id) + " " + text);
        FakeControls::SetText(id, text);
    }
    void Repaint() override { log.push_back("repaint"); }

  private:
    static std::string Name(int32_t id) {
        if (id == top::External) return "external";
        if (id == top::Progress) return "progress";
        if (id == top::Accumulator) return "accumulator";
        return std::to_string(id);
    }
};

Log ShowProgress(int32_t records) {
    return {"external hidden", "progress shown", "range 0 " + std::to_string(records), "pos 0",
            "repaint"};
}
const Log HideProgress = {"progress hidden", "external shown", "repaint"};

Log operator+(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class CaptureEngineTest : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        Ports.topBar = &bar;
        OscState.DeviceReady = 1;  // the window has been painted once
        bar[top::Progress].visible = false;
        Type("1");
        ports.bottomBar[bottom::Average].text = "3";
        OscSettings.Sound = 1;
    }
    void Type(const std::string& accumulator) { bar[top::Accumulator].text = accumulator; }
    void Press(int32_t external) {
        OscState.ExtStart = external;
        StartStop();
    }
    void Forget() {
        bar.log.clear();
        ports.frame.pointers.clear();
        ports.frame.beeps.clear();
    }
    bool Running(TimerId id) const { return ports.timers.Running(id); }
    // AccBuffer holds the generator's next `records` records, and Record what
    // processing (Average over 3) makes of them.
    void ExpectCaptured(int32_t records, bool invert = false) {
        const std::vector<float> sum = signal.NextSum(MaxData, records, invert);
        ASSERT_EQ(AccBuffer(MaxData), sum);
        const test::DirectAverage direct{sum.data(), MaxData, 3, false, 7.8125, double(records)};
        for (int32_t i = 0; i < MaxData; ++i)
            ASSERT_EQ(OscState.Record[i], direct(i)) << i;
    }
    static std::vector<float> AccBuffer(int32_t n) {
        return std::vector<float>(OscState.AccBuffer, OscState.AccBuffer + n);
    }

    LoggingBar bar;
    test::ReferenceSignal signal;
};

TEST_F(CaptureEngineTest, ManualCaptureOfFourRecordsShowsProgressThenBeepsOnce) {
    Type("4");
    OscState.AutoNormPending = 0;
    Press(0);
    EXPECT_EQ(bar.log, (ShowProgress(4) + Log{"pos 1", "pos 2", "pos 3"} + HideProgress));
    EXPECT_EQ(ports.frame.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    EXPECT_EQ(ports.frame.beeps, std::vector<int32_t>{0});
    ExpectCaptured(4);
    EXPECT_EQ(OscSettings.D_min, OscState.DataMin);
    // The redraw has taken the requested range: the plot shows the new record whole.
    EXPECT_EQ(OscState.AutoNormPending, 0);
    EXPECT_EQ(OscState.ViewMin, OscState.DataMin);
    EXPECT_EQ(OscState.ViewMax, OscState.DataMax);
    EXPECT_EQ(OscState.StepIdle, 1);
    EXPECT_EQ(OscState.SpectrumValid, 0);

    OscSettings.Sound = 0;
    Forget();
    Press(0);
    EXPECT_TRUE(ports.frame.beeps.empty());
}

TEST_F(CaptureEngineTest, ManualCaptureOfOneRecordNeitherShowsProgressNorBeeps) {
    Press(0);
    EXPECT_TRUE(bar.log.empty());
    EXPECT_EQ(ports.frame.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    EXPECT_TRUE(ports.frame.beeps.empty());
    ExpectCaptured(1);
}

TEST_F(CaptureEngineTest, FieldsAreReadAsPositiveDecimalCounts) {
    OscSettings.Num_Data = 10;
    const struct {
        const char* accumulator;
        const char* average;
        int32_t accOver, avOver;
    } table[] = {
        {"2", "5", 2, 5},
        {"12abc", " 7x", 12, 7},
        {"+6", "0", 6, 7},
        {"0", "-3", 6, 7},
        {"-3", "", 6, 7},
        {"abc", "abc", 6, 7},
        {"", "2000000000", 6, 2000000000},
    };
    for (const auto& row : table) {
        Type(row.accumulator);
        ports.bottomBar[bottom::Average].text = row.average;
        Press(0);
        EXPECT_EQ(OscSettings.Acc_Over, row.accOver) << row.accumulator;
        EXPECT_EQ(OscSettings.Av_Over, row.avOver) << row.average;
    }
    EXPECT_TRUE(bar.writes.empty());
}

TEST_F(CaptureEngineTest, AbsurdAccumulatorIsHeldAtTheLargestCountAndShown) {
    OscSettings.Num_Data = 10;
    Type("2000000000");
    Press(0);
    EXPECT_EQ(OscSettings.Acc_Over, 100000);
    EXPECT_EQ(bar[top::Accumulator].text, "100000");
    EXPECT_EQ(bar.log.front(), "accumulator 100000");
    EXPECT_EQ(bar[top::Progress].progressHi, 100000);
    EXPECT_EQ(AccBuffer(10), signal.NextSum(10, 100000));  // still exact sums

    // Beyond even a long; and while quiet the field is left as typed.
    Type("99999999999999999999999");
    OscState.SpectrumRunning = 1;
    OscSettings.Num_Data = 1;
    CaptureStep();
    EXPECT_EQ(OscSettings.Acc_Over, 100000);
    EXPECT_EQ(bar[top::Accumulator].text, "99999999999999999999999");

    // A count below 1 (from a companion file) would never complete: one record.
    OscState.SpectrumRunning = 0;
    for (int32_t count : {0, -7}) {
        OscSettings.Acc_Over = count;
        Type("0");
        Press(0);
        EXPECT_EQ(OscSettings.Acc_Over, 1);
        EXPECT_EQ(bar[top::Accumulator].text, "1");
    }
}

TEST_F(CaptureEngineTest, CaptureWhileAFileIsShownReturnsToAcquisition) {
    OscState.FileView = 1;
    OscSettings.Num_Data = OscState.LoadedLength = 100;
    OscState.TimeOffset = 12.5f;
    OscState.SamplePeriod = 0.7f;
    OscSettings.Korv_Freq = 3;
    Press(0);
    EXPECT_EQ((std::vector{OscState.FileView, OscSettings.Num_Data, OscState.LoadedLength}),
              (std::vector{0, 65534, 65534}));
    EXPECT_EQ(OscState.TimeOffset, 0.0f);
    EXPECT_EQ(OscState.SamplePeriod, 0.1f);  // 8 / 80 MHz
    ExpectCaptured(1);
}

TEST_F(CaptureEngineTest, ExternalRunTakesOneRecordPerTickAndEndsOnTheFifth) {
    Type("5");
    Press(1);
    EXPECT_EQ(bar.log, (ShowProgress(5) + ShowProgress(5) + Log{"face wait", "repaint"}));
    EXPECT_EQ(ports.frame.pointers, std::vector<Pointer>{Pointer::Hourglass});
    EXPECT_EQ(ports.frame.beeps, std::vector<int32_t>{64});
    EXPECT_EQ(ports.timers.Period(TimerId::ExtTrigger), 100);
    EXPECT_EQ(OscState.ExtArmed, 1);
    EXPECT_EQ(OscState.StepIdle, 0);

    Forget();
    for (int tick = 1; tick <= 4; ++tick) {
        ExtTimerTick();
        EXPECT_EQ(OscState.AccCount, tick);
        EXPECT_EQ(OscState.ExtArmed, 1);
    }
    // The poll's count lags one behind: the field shows 1, 2, 3 after ticks 2, 3, 4.
    EXPECT_EQ(bar.log,
              (Log{"pos 1", "accumulator 1", "pos 2", "accumulator 2", "pos 3", "accumulator 3"}));
    EXPECT_EQ(ports.frame.pointers, std::vector<Pointer>(4, Pointer::Hourglass));

    Forget();
    ExtTimerTick();
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    EXPECT_EQ(bar.log, (HideProgress + Log{"face start", "accumulator 5"}));
    EXPECT_EQ(ports.frame.beeps, std::vector<int32_t>{0});
    EXPECT_EQ(ports.frame.pointers, std::vector<Pointer>{Pointer::Arrow});
    EXPECT_EQ((std::vector{OscState.ExtArmed, OscState.StepIdle, OscSettings.Acc_Over}),
              (std::vector{0, 1, 5}));
    ExpectCaptured(5);
}

TEST_F(CaptureEngineTest, SecondStartCancelsAndTheNextTickProcessesWhatWasTaken) {
    Type("5");
    Press(1);
    for (int tick = 0; tick < 3; ++tick)
        ExtTimerTick();
    Forget();
    Press(1);  // reads the field, which shows the lagging count 2
    EXPECT_EQ(bar.log, (Log{"external hidden", "progress shown", "range 0 2", "pos 0", "repaint",
                            "external shown", "face start"}));
    EXPECT_EQ(ports.frame.pointers, std::vector<Pointer>{Pointer::Arrow});
    EXPECT_EQ(OscState.ExtArmed, 0);
    EXPECT_EQ(OscState.StepIdle, 1);
    EXPECT_TRUE(Running(TimerId::ExtTrigger));  // stopped by its own next tick

    Forget();
    ExtTimerTick();
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    EXPECT_EQ(ports.frame.beeps, std::vector<int32_t>{48});
    EXPECT_EQ(bar.log, (HideProgress + Log{"accumulator 3"}));
    EXPECT_EQ(OscSettings.Acc_Over, 3);
    ExpectCaptured(3);
}

TEST_F(CaptureEngineTest, CancelBeforeAnyTriggerLeavesTheRecord) {
    OscState.Record[0] = 1.25f;
    Type("5");
    Press(1);
    Press(1);
    Forget();
    ExtTimerTick();
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    EXPECT_EQ(ports.frame.beeps, std::vector<int32_t>{48});
    EXPECT_EQ(bar.log, HideProgress);
    EXPECT_EQ(std::pair(OscState.Record[0], OscState.AccBuffer[0]), std::pair(1.25f, 0.0f));
    EXPECT_EQ(std::pair(OscSettings.Acc_Over, OscState.StepIdle), std::pair(5, 1));
}

TEST_F(CaptureEngineTest, OscillographRepeatsAtItsRateAndKeepsTheFirstRange) {
    bar[top::Oscillograf].checked = true;
    OscSettings.Osc_Freq = 3.0f;
    Press(0);
    EXPECT_EQ(ports.timers.Period(TimerId::Oscillograph), 333);
    Press(0);
    OscSettings.Osc_Freq = 2.0f;
    Forget();
    Press(0);
    EXPECT_EQ(ports.timers.Period(TimerId::Oscillograph), 500);
    EXPECT_EQ((std::vector{OscState.OscPeriodMs, OscState.OscRunning, OscState.SavedAutoNorm}),
              (std::vector{500, 1, 1}));
    EXPECT_EQ(bar.log, (Log{"face wait", "repaint"}));
    EXPECT_EQ(OscState.AccBuffer[0], 0.0f);  // the first capture waits for the first tick

    OscTimerTick();
    ExpectCaptured(1);
    EXPECT_EQ(OscSettings.AutoNorm, 0);
    const float firstMin = OscState.DataMin;
    EXPECT_EQ(OscSettings.D_min, firstMin);
    OscSettings.Invert = 1;
    OscTimerTick();
    ExpectCaptured(1, true);
    EXPECT_NE(OscState.DataMin, firstMin);
    EXPECT_EQ(OscSettings.D_min, firstMin);

    Forget();
    Press(0);
    EXPECT_EQ(OscState.OscRunning, 0);
    EXPECT_FALSE(Running(TimerId::Oscillograph));
    EXPECT_EQ(OscSettings.AutoNorm, 1);
    EXPECT_EQ(bar.log, (Log{"face start", "repaint"}));
}

TEST_F(CaptureEngineTest, PeriodicCapturesLeaveTheBarAndPointerAlone) {
    Type("4");
    bar[top::Oscillograf].checked = true;
    Press(0);
    Forget();
    OscTimerTick();
    OscTimerTick();
    EXPECT_TRUE(bar.log.empty());
    EXPECT_TRUE(ports.frame.pointers.empty());
    EXPECT_TRUE(ports.frame.beeps.empty());
    signal.NextSum(MaxData, 4);
    ExpectCaptured(4);

    // The spectrum window's run: only the hidden progress bar's position moves.
    Press(0);
    OscState.SpectrumRunning = 1;
    Forget();
    CaptureStep();
    EXPECT_EQ(bar.log, (Log{"pos 1", "pos 2", "pos 3"}));
    EXPECT_FALSE(bar[top::Progress].visible);
    EXPECT_TRUE(ports.frame.pointers.empty());
    EXPECT_TRUE(ports.frame.beeps.empty());
}

TEST_F(CaptureEngineTest, OscillographArmsExternalRunsAndDropsTicksWhileOneWaits) {
    Type("2");
    bar[top::Oscillograf].checked = true;
    OscState.ExtStart = 1;
    StartStop();
    Forget();
    OscTimerTick();
    EXPECT_EQ(OscState.ExtArmed, 1);
    EXPECT_TRUE(Running(TimerId::ExtTrigger));
    EXPECT_EQ(OscSettings.AutoNorm, 0);
    OscTimerTick();  // dropped: no second run, no record
    ExtTimerTick();
    OscTimerTick();
    EXPECT_EQ(OscState.AccCount, 1);
    EXPECT_TRUE(bar.log.empty());
    ExtTimerTick();
    EXPECT_EQ(OscState.ExtArmed, 0);
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    EXPECT_EQ(bar.log, Log{"accumulator 2"});
    EXPECT_TRUE(ports.frame.beeps.empty());
    ExpectCaptured(2);
    OscTimerTick();
    EXPECT_EQ(OscState.ExtArmed, 1);

    // Stopping the mode kills the poll but leaves the run armed: the next start
    // only cancels it, the one after arms a new run.
    ExtTimerTick();
    StartStop();
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    EXPECT_FALSE(Running(TimerId::Oscillograph));
    EXPECT_EQ((std::vector{OscState.ExtArmed, OscState.StepIdle, OscSettings.AutoNorm}),
              (std::vector{1, 1, 1}));
    bar[top::Oscillograf].checked = false;
    Press(1);
    EXPECT_EQ(OscState.ExtArmed, 0);
    EXPECT_FALSE(Running(TimerId::ExtTrigger));
    Press(1);
    EXPECT_EQ(OscState.ExtArmed, 1);
    EXPECT_TRUE(Running(TimerId::ExtTrigger));
}

TEST_F(CaptureEngineTest, RateWithoutPeriodRefusesToStartAndSaysWhy) {
    bar[top::Oscillograf].checked = true;
    for (float rate : {0.0f, -2.5f, std::numeric_limits<float>::quiet_NaN()}) {
        OscSettings.Osc_Freq = rate;
        Press(0);
        EXPECT_EQ(OscState.OscRunning, 0);
        EXPECT_FALSE(Running(TimerId::Oscillograph));
    }
    ASSERT_EQ(ports.dialogs.messages.size(), 3u);
    EXPECT_EQ(ports.dialogs.messages[1].text,
              "The oscillograph cannot start: its repetition rate is -2.5 Hz.\n"
              "Enter a rate above 0 Hz and start again.");
    EXPECT_EQ(ports.dialogs.messages[1].caption, "(default)");
    EXPECT_TRUE(bar.log.empty());
    EXPECT_EQ(OscState.AccBuffer[0], 0.0f);

    OscState.Russian = 1;
    OscSettings.Osc_Freq = 0.0f;
    Press(0);
    EXPECT_EQ(ports.dialogs.messages.back().text,
              "Осциллограф не может начать работу: частота повторения 0 Гц.\n"
              "Введите частоту больше 0 Гц и запустите снова.");

    // Faster than the timer can go: as fast as it can.
    OscSettings.Osc_Freq = 5000.0f;
    Press(0);
    EXPECT_EQ(ports.timers.Period(TimerId::Oscillograph), 1);
}

TEST(OscillographPeriodTest, PeriodIsTruncatedAndHeldWithinWhatATimerTakes) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float rateHz;
        int32_t periodMs;
    } table[] = {
        {2.0f, 500},  {3.0f, 333}, {0.3f, 3333}, {999.0f, 1},
        {1000.0f, 1}, {1e6f, 1},   {inf, 1},     {1e-9f, std::numeric_limits<int32_t>::max()},
        {0.0f, 0},    {-1.0f, 0},  {-inf, 0},    {std::nanf(""), 0}};
    for (const auto& row : table) {
        EXPECT_EQ(OscillographPeriodMs(row.rateHz), row.periodMs) << row.rateHz;
    }
}

}  // namespace
}  // namespace korvel
