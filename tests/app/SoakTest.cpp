// A long session on the simulated source: twenty thousand oscillograph ticks
// while the user keeps changing the accumulator, the averaging window, the
// sub-window, the amplitude and the kind of start, with pauses in which a
// data file is opened, an external-start run is armed and cancelled, the
// spectrum window runs its own captures and the record length is moved. The
// shared records must hold their invariants after every single step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "model/Conversions.h"
#include "model/Parameters.h"
#include "acquisition/ProcessRecord.h"
#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "canvas/FixedCellTextEngine.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "canvas/TextEngine.h"
#include "app/DataFileCommands.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumRun.h"

namespace korvel {
namespace {

constexpr int32_t OscillographTicks = 20000;

class SoakTest : public test::SpectrumTest {
  protected:
    void SetUp() override {
        SpectrumTest::SetUp();
        InstallTextEngine(&engine);
        // Small canvases: every drawing path is taken, each tick costs little.
        PlotCanvas.Resize(240, 180);
        CreatePlotFonts();
        ports.topBar.onTextChanged = [](int32_t id) { TopBarTextChanged(id); };
        ports.bottomBar.onTextChanged = [](int32_t id) { BottomBarTextChanged(id); };
        ports.bottomBar[bottom::Min].text = "0";
        ports.bottomBar[bottom::Width].text = "5";
        ports.bottomBar[bottom::Average].text = "3";
        ports.topBar[top::Accumulator].text = "1";
        ports.topBar[top::Oscillograf].checked = true;
        SetMainWindowActive(true);
        OscSettings.Num_Data = 1500;
        RefreshPlot();
        Open(200, 140);

        // The files opened in the pauses: text with a heading, 8-bit codes,
        // and floats near the largest float under a companion file whose
        // level of zero doubles them past it and whose other settings are
        // all out of range.
        std::string text = "time value\n";
        for (int i = 0; i < 700; ++i)
            text += std::to_string(0.5 * i) + " " + std::to_string((i * 37) % 101 - 50) + "\n";
        files_.push_back(WriteFile("wave.ktf", text));
        std::string codes = "KDRF" + Le(0.1f) + Le(-2.0f) + Le(3.5f) + Le(1.0f);
        for (int i = 0; i < 300; ++i)
            codes += static_cast<char>(i * 7);
        files_.push_back(WriteFile("codes.kbf", codes));
        std::string huge = "KFRF" + Le(2.0f) + Le(0.0f);
        for (int i = 0; i < 50; ++i)
            huge += Le(i % 2 == 0 ? 3.0e38f : -3.0e38f);
        files_.push_back(WriteFile("huge.kbf", huge));
        WriteFile("huge.cf",
                  "ZeroLevel = -3e38\nKorv_Freq = 9\nLabels_X = 1\nLabels_Y = 1\n"
                  "Data_S = 70000\nData_E = -4\nAv_Over = 0\nLFontSize = 40\n");
    }

    static std::string Le(float value) {
        std::string bytes(4, '\0');
        std::memcpy(bytes.data(), &value, 4);
        return bytes;
    }

    int32_t Pick(int32_t count) { return static_cast<int32_t>(random_() % count); }
    template <typename T>
    const T& OneOf(const std::vector<T>& choices) {
        return choices[Pick(static_cast<int32_t>(choices.size()))];
    }

    // What every step must leave; a drawing in the step adds its own.
    void Check(const char* step) {
        SCOPED_TRACE(std::string(step) + " at oscillograph tick " + std::to_string(ticks_));
        const int32_t n = OscSettings.Num_Data;
        ASSERT_LE(1, n);
        ASSERT_LE(n, OscState.LoadedLength);
        ASSERT_LE(OscState.LoadedLength, MaxData);
        ASSERT_TRUE(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f)
            << OscState.SamplePeriod;
        if (ports.frame.plotShown == shown_) return;
        shown_ = ports.frame.plotShown;
        ++drawings_;
        // A sub-window of one sample is a real one: a width of less than a
        // sample (typed, or left by a slower clock) shows the sample at Min.
        ASSERT_LE(OscSettings.Data_S, OscSettings.Data_E);
        ASSERT_LE(0, OscSettings.Data_S);
        ASSERT_LT(OscSettings.Data_E, n);
        ASSERT_EQ(OscSettings.Conversion, static_cast<float>(OscSettings.Amplitude * 0.00390625));
        // Every source here is finite, so every processed value is a number.
        for (int32_t i = 0; i < n; ++i)
            ASSERT_FALSE(std::isnan(OscState.Record[i])) << i;
        ASSERT_TRUE(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax));
    }

    // What the user does between two ticks of the running mode.
    void TouchControls() {
        const int32_t roll = Pick(100);
        if (roll < 4) {
            ports.topBar.SetText(
                top::Accumulator,
                OneOf<std::string>({"1", "2", "3", "5", "0", "-2", "x", ""}).c_str());
            Check("accumulator typed");
        } else if (roll < 8) {
            ports.bottomBar.SetText(
                bottom::Average,
                OneOf<std::string>({"1", "2", "3", "4", "9", "0", "-1", "1000000", "abc"}).c_str());
            Check("average typed");
        } else if (roll < 11) {
            SetSubWindow(Pick(OscSettings.Num_Data + 5) - 2, Pick(OscSettings.Num_Data + 5) - 2);
            Check("sub-window moved");
        } else if (roll < 13) {
            // Takes effect at the next start, made in the next pause.
            ports.topBar[top::External].checked = !ports.topBar[top::External].checked;
        } else if (roll < 14) {
            SetParam(ParamAmplitude, OneOf<double>({500.0, 2000.0, 8000.0}));
            Check("amplitude set");
        } else if (roll < 15) {
            SetZeroCommand();
            Check("Set 0");
        }
    }

    // The Settings dialog confirmed with hostile values: clocks and dividers
    // of nothing, less than nothing or absurdly much, single labels, font
    // sizes beyond the list, equal vertical bounds above the widening's limit.
    void ChangeSettings() {
        SetParam(ParamBaseFreq, OneOf<double>({80.0, 40.0, 0.0, -5.0, 1e-60, 1e9}));
        int32_t dividers[4];
        for (int32_t& divider : dividers)
            divider = OneOf<int32_t>({1, 2, 8, 0, -1, 1000000});
        SetParam(ParamFreqDividers, dividers);
        SetFrequencyIndex(OscSettings.Korv_Freq);
        OscSettings.Labels_X = OneOf<int32_t>({1, 2, 10});
        OscSettings.Labels_Y = OneOf<int32_t>({1, 2, 10});
        SetParam(ParamLFontSize, OneOf<int32_t>({0, 4, 10, 11, 99, -3}));
        SetParam(ParamMFontSize, OneOf<int32_t>({0, 5, 10, 11, -1}));
        SetParam(ParamAutoNorm, Pick(2));
        const float bound = OneOf<float>({0.0f, 50.0f, 78.0f, 200.0f, -300.0f});
        SetParam(ParamDMin, bound);
        SetParam(ParamDMax, Pick(2) == 0 ? bound : bound + 10.0f);
        Check("settings taken");
        CreatePlotFonts();
        ProcessRecord();
        RequestAutoNorm();
        RefreshPlot();
        Check("settings shown");
    }

    // The mode stopped: cancels, a file, the spectrum's run, a new length.
    // Leaves fileShown_ saying whether a data file is still shown.
    void Pause() {
        // The "Oscillograf" box unticked: the running mode stops with it.
        ports.topBar[top::Oscillograf].checked = false;
        OscillografClicked();
        ASSERT_EQ(OscState.OscRunning, 0);
        Check("mode stopped");
        // A run the mode armed still waits: the next start only cancels it.
        if (OscState.ExtArmed == 1) {
            ManualStartCommand();
            ASSERT_EQ(OscState.ExtArmed, 0);
            Check("armed run cancelled");
        }
        // An external-start run of our own, completed or cancelled part way.
        ExternalStartCommand();
        Check("external run armed");
        const int32_t polls = 1 + Pick(6);
        for (int32_t k = 0; k < polls && ports.timers.Running(TimerId::ExtTrigger); ++k) {
            ExtTimerTick();
            Check("trigger polled");
        }
        if (OscState.ExtArmed == 1) {
            ManualStartCommand();
            Check("external run cancelled");
            ExtTimerTick();
            Check("cancel noticed");
        }
        ports.topBar[top::Accumulator].text = std::to_string(1 + Pick(3));

        // The spectrum of whatever record is shown, however short.
        Paint();
        Check("spectrum painted");
        ChangeSettings();

        // Now and then the record shown is saved, and may be opened later.
        if (Pick(3) == 0) {
            const bool binary = Pick(2) == 0;
            const std::string saved = TempDir() + (binary ? "/saved.kbf" : "/saved.ktf");
            ports.dialogs.saveAnswers.push_back({saved, binary ? 2 : 1});
            Pick(2) == 0 ? SaveCommand() : WinSaveCommand();
            Check("record saved");
            if (std::find(files_.begin(), files_.end(), saved) == files_.end()) {
                files_.push_back(saved);
            }
        }
        // Open, with a file chosen under "All files".
        ports.dialogs.openAnswers.push_back({OneOf(files_), 3});
        OpenCommand();
        ASSERT_TRUE(ports.dialogs.openAnswers.empty());
        Check("file opened");
        fileShown_ = OscState.FileView == 1;

        if (Pick(4) != 0) {
            ports.spectrumTopBar[spectrumTop::Accumulate].checked = Pick(2) == 0;
            ToggleSpectrumRun();
            const int32_t runTicks = 1 + Pick(5);
            for (int32_t k = 0; k < runTicks; ++k) {
                SpectrumRunTick();
                Check("spectrum run tick");
            }
            ToggleSpectrumRun();
            fileShown_ = false;
            // The Settings dialog's record-length slider; one and two samples
            // are the lengths too short for a three-sample sub-window.
            OscSettings.Num_Data = OneOf<int32_t>({1, 2, 3, 40, 700, 1500, 3000});
            RefreshPlot();
            Check("record length moved");
        }
        ports.topBar[top::Oscillograf].checked = true;
        OscillografClicked();
        // The rate typed into the bar: no period for 0 Hz or less, 1 ms at most.
        const struct {
            const char* text;
            int32_t periodMs;
        } rates[] = {{"2", 500}, {"1e9", 1}, {"0.5", 2000}, {"0", 0}, {"-3", 0}};
        const auto& rate = rates[Pick(5)];
        ports.topBar.SetText(top::OscFreq, rate.text);
        const size_t told = ports.dialogs.messages.size();
        StartStopCommand();
        if (rate.periodMs == 0) {
            // The user is told, types a rate with a period and starts again.
            ASSERT_EQ(OscState.OscRunning, 0);
            ASSERT_EQ(ports.dialogs.messages.size(), told + 1);
            ports.topBar.SetText(top::OscFreq, "2");
            StartStopCommand();
        }
        ASSERT_EQ(OscState.OscRunning, 1);
        ASSERT_EQ(ports.timers.Period(TimerId::Oscillograph), rate.periodMs ? rate.periodMs : 500);
        Check("mode started");
    }

    FixedCellTextEngine engine;
    std::mt19937 random_{20261206};
    std::vector<std::string> files_;
    bool fileShown_ = false;
    int32_t ticks_ = 0;
    int32_t shown_ = 0;
    int32_t drawings_ = 0;
};

TEST_F(SoakTest, TwentyThousandTicksKeepTheSharedRecordsSound) {
    StartStopCommand();
    ASSERT_EQ(OscState.OscRunning, 1);
    int32_t nextPause = 300;
    int32_t pauses = 0;
    while (ticks_ < OscillographTicks) {
        TouchControls();
        if (ports.timers.Running(TimerId::ExtTrigger) && Pick(3) != 0) {
            ExtTimerTick();
            Check("trigger polled");
        }
        ASSERT_TRUE(ports.timers.Running(TimerId::Oscillograph)) << ticks_;
        OscTimerTick();
        ++ticks_;
        Check("oscillograph tick");
        if (ticks_ == nextPause) {
            ++pauses;
            // A record from a file is left by the next capture at full length:
            // the pause after it comes soon, to bring the length down again.
            Pause();
            if (HasFatalFailure()) return;
            nextPause += fileShown_ ? 2 : 100 + Pick(400);
        }
    }
    // The session went where it was meant to: many pauses and drawings, and
    // the mode is still running.
    EXPECT_GT(pauses, 30);
    EXPECT_GT(drawings_, OscillographTicks / 2);
    EXPECT_EQ(OscState.OscRunning, 1);
}

}  // namespace
}  // namespace korvel
