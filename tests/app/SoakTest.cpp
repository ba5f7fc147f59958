// A long session on the simulated source: twenty thousand oscillograph ticks
// while the user keeps changing the accumulator, the averaging window, the
// sub-window, the amplitude and the kind of start, with pauses in which an
// external-start run is armed and cancelled, hostile settings are taken, a
// record is saved, a data file is opened, the spectrum window runs its own
// captures and the record length is moved (its files: tests/data/app/soak).
// The shared records must hold their invariants after every single step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/SettingsCommand.h"
#include "canvas/FixedCellTextEngine.h"
#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "ports/ControlIds.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumRun.h"

namespace korvel {
namespace {

class SoakTest : public test::SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        InstallTextEngine(&engine);
        // Small canvases: every drawing path is taken, each tick costs little.
        PlotCanvas.Resize(240, 180);
        CreatePlotFonts();
        ports.topBar.onTextChanged = TopBarTextChanged;
        ports.bottomBar.onTextChanged = BottomBarTextChanged;
        ports.bottomBar[bottom::Min].text = "0";
        ports.bottomBar[bottom::Width].text = "5";
        ports.bottomBar[bottom::Average].text = "3";
        ports.topBar[top::Accumulator].text = "1";
        ports.topBar[top::Oscillograf].checked = true;
        SetMainWindowActive(true);
        OscSettings.Num_Data = 1500;
        RefreshPlot();
        Open(200, 140);
        const std::string data = std::string(KORVEL_TEST_DATA_DIR) + "/app/soak/";
        files = {data + "wave.ktf", data + "codes.kbf", data + "huge.kbf",
                 TempDir() + "/saved.ktf"};
    }

    int32_t Pick(int32_t count) { return static_cast<int32_t>(random() % count); }
    template <typename T>
    T OneOf(std::initializer_list<T> choices) {
        return choices.begin()[Pick(static_cast<int32_t>(choices.size()))];
    }

    // What every step must leave; a drawing in the step adds its own.
    void Check(const char* step) {
        SCOPED_TRACE(std::string(step) + " at oscillograph tick " + std::to_string(ticks));
        const int32_t n = OscSettings.Num_Data;
        ASSERT_TRUE(1 <= n && n <= OscState.LoadedLength && OscState.LoadedLength <= MaxData);
        ASSERT_TRUE(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f);
        if (ports.frame.plotShown == shown) return;
        shown = ports.frame.plotShown;
        ++drawings;
        // A sub-window of one sample is a real one: a width of less than a
        // sample (typed, or left by a slower clock) shows the sample at Min.
        ASSERT_TRUE(0 <= OscSettings.Data_S && OscSettings.Data_S <= OscSettings.Data_E &&
                    OscSettings.Data_E < n);
        ASSERT_EQ(OscSettings.Conversion, static_cast<float>(OscSettings.Amplitude * 0.00390625));
        // Every source here is finite.
        ASSERT_TRUE(std::none_of(OscState.Record, OscState.Record + n,
                                 [](float v) { return std::isnan(v); }));
        ASSERT_TRUE(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax));
    }

    // What the user does between two ticks of the running mode.
    void TouchControls() {
        const int32_t roll = Pick(50);
        if (roll < 2) {
            ports.topBar.SetText(top::Accumulator, OneOf({"1", "2", "5", "0", "-2", "x", ""}));
        } else if (roll < 4) {
            ports.bottomBar.SetText(bottom::Average,
                                    OneOf({"1", "2", "9", "0", "-1", "1000000", "a"}));
        } else if (roll < 5) {
            SetSubWindow(Pick(OscSettings.Num_Data + 5) - 2, Pick(OscSettings.Num_Data + 5) - 2);
        } else if (roll < 6) {  // takes effect at the next start, made in the next pause
            ports.topBar[top::External].checked ^= true;
        } else if (roll < 7) {
            SetParam(ParamAmplitude, OneOf({500.0, 2000.0, 8000.0}));
            SetZeroCommand();
        }
        Check("controls touched");
    }

    // The mode stopped: runs armed and cancelled, hostile settings, a file
    // saved and one opened, the spectrum's run, a new length, a new rate.
    void Pause() {
        ports.topBar[top::Oscillograf].checked = false;
        OscillografClicked();  // unticked: the running mode stops with it
        ASSERT_EQ(OscState.OscRunning, 0);
        if (OscState.ExtArmed == 1) ManualStartCommand();  // a run the mode armed: only cancelled
        ExternalStartCommand();  // a run of our own, completed or cancelled part way
        for (int32_t k = Pick(6); k >= 0 && ports.timers.Running(TimerId::ExtTrigger); --k) {
            ExtTimerTick();
            Check("trigger polled");
        }
        if (OscState.ExtArmed == 1) ManualStartCommand();
        ExtTimerTick();
        Check("external run cancelled");
        ports.topBar[top::Accumulator].text = std::to_string(1 + Pick(3));
        Paint();
        // The Settings dialog confirmed with hostile values: clocks and dividers
        // of nothing, less than nothing or absurdly much, single labels, font
        // sizes beyond the list, equal vertical bounds above the widening's limit.
        SettingsCommand([this] {
            SetParam(ParamBaseFreq, OneOf({80.0, 40.0, 0.0, -5.0, 1e-60, 1e9}));
            const auto divider = [this] { return OneOf({1, 2, 8, 0, -1, 1000000}); };
            SetParam(ParamFreqDividers, {divider(), divider(), divider(), divider()});
            SetFrequencyIndex(OscSettings.Korv_Freq);
            OscSettings.Labels_X = OneOf({1, 2, 10});
            OscSettings.Labels_Y = OneOf({1, 2, 10});
            SetParam(ParamLFontSize, OneOf({0, 4, 10, 11, 99, -3}));
            SetParam(ParamMFontSize, OneOf({0, 5, 10, 11, -1}));
            SetParam(ParamAutoNorm, Pick(2));
            const float bound = OneOf({0.0f, 50.0f, 78.0f, 200.0f, -300.0f});
            SetParam(ParamDMin, bound);
            SetParam(ParamDMax, Pick(2) == 0 ? bound : bound + 10.0f);
            return true;
        });
        Check("settings taken");
        if (Pick(3) == 0) {
            ports.dialogs.saveAnswers.push_back({files[3], 1});
            Pick(2) == 0 ? SaveCommand() : WinSaveCommand();
        }
        ports.dialogs.openAnswers.push_back({files[Pick(4)], 3});  // under "All files"
        OpenCommand();
        Check("file opened");
        fileShown = OscState.FileView == 1;
        if (Pick(4) != 0) {
            ports.spectrumTopBar[spectrumTop::Accumulate].checked = Pick(2) == 0;
            ToggleSpectrumRun();
            for (int32_t k = Pick(5); k >= 0; --k) {
                SpectrumRunTick();
                Check("spectrum run tick");
            }
            ToggleSpectrumRun();
            fileShown = false;
            // The Settings dialog's length slider; one and two samples are too
            // short for a three-sample sub-window.
            OscSettings.Num_Data = OneOf({1, 2, 3, 40, 700, 1500, 3000});
            RefreshPlot();
            Check("record length moved");
        }
        ports.topBar[top::Oscillograf].checked = true;
        OscillografClicked();
        // The rate typed into the bar: 1 ms at most; without a period for 0 Hz
        // or less, the user is told, types a rate with one and starts again.
        const auto [rate, periodMs] = OneOf<std::pair<const char*, int32_t>>(
            {{"2", 500}, {"1e9", 1}, {"0.5", 2000}, {"0", 500}, {"-3", 500}});
        ports.topBar.SetText(top::OscFreq, rate);
        const size_t told = ports.dialogs.messages.size();
        StartStopCommand();
        ASSERT_EQ(ports.dialogs.messages.size(), told + (OscState.OscRunning == 0));
        if (OscState.OscRunning == 0) ports.topBar.SetText(top::OscFreq, "2");
        if (OscState.OscRunning == 0) StartStopCommand();
        ASSERT_EQ(ports.timers.Period(TimerId::Oscillograph), periodMs);
        Check("mode started");
    }

    FixedCellTextEngine engine;
    std::mt19937 random{20261206};
    std::vector<std::string> files;
    bool fileShown = false;
    int32_t ticks = 0, shown = 0, drawings = 0;
};

TEST_F(SoakTest, TwentyThousandTicksKeepTheSharedRecordsSound) {
    StartStopCommand();
    ASSERT_EQ(OscState.OscRunning, 1);
    int32_t nextPause = 300, pauses = 0;
    for (; ticks < 20000 && !HasFatalFailure(); ++ticks) {
        TouchControls();
        if (ports.timers.Running(TimerId::ExtTrigger) && Pick(3) != 0) {
            ExtTimerTick();
            Check("trigger polled");
        }
        ASSERT_TRUE(ports.timers.Running(TimerId::Oscillograph)) << ticks;
        OscTimerTick();
        Check("oscillograph tick");
        if (ticks == nextPause) {
            ++pauses;
            Pause();
            // A record from a file is left by the next capture at full length:
            // the pause after it comes soon, to bring the length down again.
            nextPause += fileShown ? 2 : 100 + Pick(400);
        }
    }
    // The session went where it was meant to: many pauses and drawings, and
    // the mode is still running.
    EXPECT_GT(pauses, 30);
    EXPECT_GT(drawings, 10000);
    EXPECT_EQ(OscState.OscRunning, 1);
}

}  // namespace
}  // namespace korvel
