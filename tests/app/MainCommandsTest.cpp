#include "app/MainCommands.h"
#include "app/StartUp.h"

#include "acquisition/CaptureEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/PlotState.h"
#include "display/SubWindowFields.h"
#include "files/ConfigFile.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

class MainCommands : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        ports.topBar.onTextChanged = TopBarTextChanged;
        ports.bottomBar.onTextChanged = BottomBarTextChanged;
        SetMainWindowActive(true);
    }
    // A five-sample record from a file; its averages tell the window width apart.
    void ShowFiveSamples() {
        OscState.FileView = 1;
        OscSettings.Num_Data = 5;
        const float samples[] = {0, 3, 6, 9, 12};
        std::memcpy(OscState.FileData, samples, sizeof samples);
        std::fill(OscState.Record, OscState.Record + 5, -1.0f);
    }
    std::vector<float> Record() const { return {OscState.Record, OscState.Record + 5}; }
    const std::vector<float> untouched{-1, -1, -1, -1, -1};
};

TEST_F(MainCommands, FirstShowSetsTheDeviceUpAndShowsTheNoticeOnce) {
    OscState.DeviceReady = 0;
    OscState.Record[5] = 42.0f;
    OscState.Russian = 1;
    SetUpDevice();
    SetUpDevice();
    using Notices = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(ports.dialogs.notices, (Notices{{"KORVEL", "Использую эмуляцию устройства"}}));
    EXPECT_EQ(OscState.Record[5], 0.0f);
}

TEST_F(MainCommands, AverageOverTakesTheLeadingNumberAndAlwaysReprocesses) {
    ShowFiveSamples();
    ports.bottomBar.Type(bottom::Average, "12abc");
    EXPECT_EQ(OscSettings.Av_Over, 12);
    ports.bottomBar.Type(bottom::Average, "4");
    EXPECT_EQ(Record(), (std::vector<float>{1.5f, 3, 4.5f, 7.5f, 9}));
    ports.bottomBar.Type(bottom::Average, "3");
    for (const char* text : {"0", "-3", "three"}) {
        ShowFiveSamples();
        ports.bottomBar.Type(bottom::Average, text);
        EXPECT_EQ(OscSettings.Av_Over, 3) << text;
        EXPECT_EQ(Record(), (std::vector<float>{1.5f, 3, 6, 9, 10.5f})) << text;
    }
    // Wider than any record draws as the widest window, not as a wrapped number.
    ports.bottomBar.Type(bottom::Average, "99999999999");
    EXPECT_EQ(OscSettings.Av_Over, 1000000);
}

TEST_F(MainCommands, AverageOverOnlyStoresBeforeTheWindowExistsOrWhileBusy) {
    SetMainWindowActive(false);
    ShowFiveSamples();
    ports.bottomBar.Type(bottom::Average, "2");
    SetMainWindowActive(true);
    OscState.SpectrumRunning = 1;
    ports.bottomBar.Type(bottom::Average, "5");
    EXPECT_EQ(OscSettings.Av_Over, 5);
    EXPECT_EQ(Record(), untouched);
}

TEST_F(MainCommands, ArrowsStepByOneAndNeverBelowOne) {
    ShowFiveSamples();
    ports.bottomBar.Type(bottom::Average, "1");
    ShowFiveSamples();
    ports.bottomBar.writes.clear();
    EXPECT_EQ(AverageStep(+1), 0);  // down arrow at 1: nothing
    EXPECT_TRUE(ports.bottomBar.writes.empty());
    EXPECT_EQ(Record(), untouched);
    AverageStep(-1);  // up arrow
    EXPECT_EQ(ports.bottomBar[bottom::Average].text, "2");
    EXPECT_EQ(Record(), (std::vector<float>{0, 1.5f, 4.5f, 7.5f, 10.5f}));

    // The Accumulator field only changes its text; the next capture reads it.
    ports.topBar[top::Accumulator].text = "5 records";
    AccumulatorStep(-1);
    EXPECT_EQ(ports.topBar[top::Accumulator].text, "6");
    EXPECT_EQ(OscSettings.Acc_Over, 1);
    ports.topBar[top::Accumulator].text = "2147483647";
    AccumulatorStep(-1);
    EXPECT_EQ(ports.topBar[top::Accumulator].text, "2147483647");
    ports.topBar[top::Accumulator].text = "0";
    AccumulatorStep(-1);
    EXPECT_EQ(ports.topBar[top::Accumulator].text, "0");
}

TEST_F(MainCommands, FrequencyListRewritesTheTimesOrIsPutBackWhileBusy) {
    OscSettings.Data_S = 10;
    ports.topBar[top::FrequencyList].selected = 3;
    OscState.OscRunning = 1;
    FrequencySelected();
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);
    EXPECT_TRUE(ports.bottomBar.writes.empty());

    OscState.OscRunning = 0;
    ports.topBar[top::FrequencyList].selected = 3;
    FrequencySelected();
    EXPECT_EQ(OscSettings.Korv_Freq, 3);
    // Six decimals; the float period 0.1 is a hair above a tenth.
    const std::vector<std::pair<int32_t, std::string>> writes{{bottom::Min, "1.000000"},
                                                              {bottom::Width, "99.000001"}};
    EXPECT_EQ(ports.bottomBar.writes, writes);
    EXPECT_EQ(ports.bottomBar.repaints, 1);
}

TEST_F(MainCommands, FrequencyChangeKeepsTheSubWindowsSamples) {
    // The fields answer their own writes, as on the screen.
    ports.bottomBar.onTextChanged = [](int32_t) { SubWindowFieldChanged(); };
    PlotState.EditsLive = 1;
    OscSettings.Data_S = 200;
    OscSettings.Data_E = 1200;
    ports.topBar[top::FrequencyList].selected = 1;  // 80 -> 40 MHz
    FrequencySelected();
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "5.000000");
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "25.000000");
    // The fields are read back as typed times are: 5 us over the float period
    // (a hair above 0.025) is 199.99999 samples and 25 us is 999.99998, both
    // truncated. Width is written from the old samples, not from the start
    // that the Min write had already moved.
    EXPECT_EQ(OscSettings.Data_S, 199);
    EXPECT_EQ(OscSettings.Data_E, 199 + 999);
}

TEST_F(MainCommands, OscillographFrequencyTakesTheNumberAsTyped) {
    ports.topBar.Type(top::OscFreq, "12.5 Hz");
    EXPECT_EQ(OscSettings.Osc_Freq, 12.5f);
    ports.topBar.Type(top::OscFreq, "Hz");
    EXPECT_EQ(OscSettings.Osc_Freq, 12.5f);
    // A rate without a period is kept, and refused when the mode starts.
    ports.topBar.Type(top::OscFreq, "0");
    ports.topBar[top::Oscillograf].checked = true;
    StartStopCommand();
    EXPECT_EQ(OscState.OscRunning, 0);
    EXPECT_EQ(ports.dialogs.messages.size(), 1u);
}

TEST_F(MainCommands, ClearingOscillografStopsTheRunningMode) {
    ports.topBar[top::Oscillograf].checked = true;
    OscillografClicked();
    EXPECT_EQ(OscSettings.Osc_Mode, 1);
    EXPECT_FALSE(ports.topBar[top::ShowSpectrum].visible);
    EXPECT_EQ(OscState.OscRunning, 0);  // ticking selects, it does not start

    StartStopCommand();
    ASSERT_EQ(OscState.OscRunning, 1);
    ASSERT_TRUE(ports.timers.Running(TimerId::Oscillograph));
    ports.topBar[top::Oscillograf].checked = false;
    OscillografClicked();
    EXPECT_EQ(OscState.OscRunning, 0);
    EXPECT_FALSE(ports.timers.Running(TimerId::Oscillograph));
    EXPECT_FALSE(ports.topBar[top::Oscillograf].checked);
    EXPECT_EQ(OscSettings.Osc_Mode, 0);
    EXPECT_TRUE(ports.topBar[top::ShowSpectrum].visible);
    EXPECT_EQ(OscState.OscToggleBusy, 0);

    // While toggled already, or while the spectrum captures: the click stands alone.
    OscState.SpectrumRunning = 1;
    ports.topBar[top::Oscillograf].checked = true;
    OscillografClicked();
    EXPECT_EQ(OscSettings.Osc_Mode, 0);
}

TEST_F(MainCommands, F5WhileAnExternalRunWaitsCancelsIt) {
    ExternalStartCommand();
    ASSERT_EQ(OscState.ExtArmed, 1);
    ManualStartCommand();
    EXPECT_EQ(OscState.ExtStart, 1);
    EXPECT_EQ(OscState.ExtArmed, 0);
    ExtTimerTick();  // finds the run cancelled before any trigger: no record
    EXPECT_FALSE(ports.timers.Running(TimerId::ExtTrigger));
    EXPECT_EQ(OscState.AccBuffer[0], 0.0f);
    ManualStartCommand();  // idle now: a manual capture
    EXPECT_EQ(OscState.ExtStart, 0);
    EXPECT_LT(OscState.AccBuffer[0], 0.0f);
    EXPECT_FALSE(ports.topBar[top::External].checked);  // no start touches the box
}

TEST_F(MainCommands, BusyRefusals) {
    OscState.SpectrumRunning = 1;
    ports.topBar[top::External].checked = true;
    StartStopCommand();
    ExternalStartCommand();
    EXPECT_FALSE(ports.timers.Running(TimerId::ExtTrigger));
    ports.bottomBar[bottom::FollowMode].checked = true;
    FollowModeClicked();
    EXPECT_FALSE(ports.bottomBar[bottom::FollowMode].checked);  // put back
}

TEST_F(MainCommands, ExitSavesTheConfigurationOnlyWhenAsked) {
    SaveConfigOnExit();
    EXPECT_FALSE(std::filesystem::exists(ConfigFilePath()));
    OscSettings.AutoConf = 1;
    OscSettings.Av_Over = 17;
    SaveConfigOnExit();
    OscSettings.Av_Over = 3;
    LoadConfig();
    EXPECT_EQ(OscSettings.Av_Over, 17);
}

}  // namespace
}  // namespace korvel
