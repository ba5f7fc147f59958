#include "app/SettingsCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "model/Parameters.h"
#include "app/ControlBarSetup.h"
#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/PlotFixture.h"
#include "display/PlotStyle.h"
#include "files/ConfigFile.h"
#include "app/SettingsDialog.h"

namespace korvel {
namespace {

using namespace settings;

class SettingsCommandTest : public test::PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(640, 400);
        SetUpControlBars();
    }
    // Runs the command with a dialog the user works through `script`; true
    // from the script presses OK, false Cancel.
    void Run(const std::function<bool(test::FakeControls&, SettingsDialog&)>& script) {
        SettingsCommand([&] {
            ++shown;
            test::FakeControls dialog;
            SettingsDialog logic(dialog);
            dialog.onTextChanged = [&](int32_t id) { logic.TextChanged(id); };
            logic.Initialise();
            const bool ok = script(dialog, logic);
            if (ok) logic.Ok();
            return ok;
        });
    }
    static bool Cancel(test::FakeControls&, SettingsDialog&) { return false; }
    static bool PressOk(test::FakeControls&, SettingsDialog&) { return true; }
    std::vector<std::string> FrequencyItems() { return ports.topBar[top::FrequencyList].items; }

    int32_t shown = 0;
};

TEST_F(SettingsCommandTest, CancelRestoresWhatActedAtOnce) {
    OscSettings.Prehistory = 100;
    const OscSettingsRecord before = OscSettings;
    const float period = OscState.SamplePeriod;
    Run([](test::FakeControls& dialog, SettingsDialog& logic) {
        dialog.Type(BaseFrequency, "40");
        EXPECT_EQ(OscState.SamplePeriod, 0.025f);
        dialog.Type(Dividers[0], "3");
        dialog.Type(PrehistoryEdit, "10");
        dialog[LengthSlider].sliderPos = 77;
        logic.SliderMoved(LengthSlider);
        EXPECT_EQ(OscSettings.Num_Data, 77);
        dialog.Type(LabelsX, "3");
        return false;
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(std::memcmp(&OscSettings, &before, sizeof before), 0);
    EXPECT_EQ(OscState.SamplePeriod, period);
    EXPECT_EQ(FrequencyItems(), (std::vector<std::string>{"80 Mhz", "40 Mhz", "20 Mhz", "10 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 0);
    EXPECT_EQ(ports.frame.plotShown, 0);

    // The frequency index chosen with a button stays, with its time scale.
    Run([](test::FakeControls&, SettingsDialog& logic) {
        logic.FrequencyClicked(2);
        return false;
    });
    EXPECT_EQ(OscSettings.Korv_Freq, 2);
    EXPECT_EQ(OscState.SamplePeriod, 0.05f);
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 2);

    // Nothing while a periodic capture runs.
    OscState.OscRunning = 1;
    Run(PressOk);
    OscState.OscRunning = 0;
    OscState.SpectrumRunning = 1;
    Run(PressOk);
    EXPECT_EQ(shown, 2);
}

TEST_F(SettingsCommandTest, OpeningAndLeavingKeepsRecordLengthAndPrehistory) {
    for (const int32_t numData : {MaxData, 12345, 1}) {
        for (const int32_t prehistory : {0, 100, 254, 255}) {
            OscSettings.Num_Data = numData;
            OscSettings.Prehistory = prehistory;
            Run(Cancel);
            Run(PressOk);
            EXPECT_EQ(OscSettings.Num_Data, numData);
            EXPECT_EQ(OscSettings.Prehistory, prehistory);
        }
    }
}

TEST_F(SettingsCommandTest, OkAppliesAndRedraws) {
    std::fill(OscState.AccBuffer, OscState.AccBuffer + MaxData, 10.0f);
    OscState.SpectrumValid = 1;
    OscState.AutoNormPending = 0;
    Run([](test::FakeControls& dialog, SettingsDialog&) {
        dialog[LabelFontList].selected = 0;
        dialog.Type(BaseFrequency, "100");
        return true;
    });
    EXPECT_EQ(LabelFont.Height(), 8);
    // Processed again, and the drawing took the record's range.
    EXPECT_EQ(OscState.SpectrumValid, 0);
    EXPECT_EQ(OscState.DataMax, 78.125f);
    EXPECT_EQ(OscState.ViewMax, 78.125f);
    EXPECT_GT(ports.frame.plotShown, 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.01f);
    EXPECT_EQ(FrequencyItems(),
              (std::vector<std::string>{"100 Mhz", "50 Mhz", "25 Mhz", "12.5 Mhz"}));
}

TEST_F(SettingsCommandTest, SaveSettingsThenCancel) {
    Run([](test::FakeControls& dialog, SettingsDialog& logic) {
        dialog.Type(BaseFrequency, "40");
        dialog.Type(Dividers[3], "16");
        dialog[PrehistorySlider].sliderPos = 12;
        logic.SliderMoved(PrehistorySlider);
        dialog.Type(LengthEdit, "10");
        dialog.Type(LabelsY, "4");
        dialog[Grid].checked = true;
        logic.SaveSettingsClicked();
        return false;
    });
    const auto changed = [] {
        const OscSettingsRecord& s = OscSettings;
        return std::tuple(s.BaseFreq, s.FreqDiv[3], s.Prehistory, s.Num_Data, s.Labels_Y, s.Grid);
    };
    // Memory: the four back as they were, the rest as taken.
    EXPECT_EQ(changed(), std::tuple(80.0f, 8, 0, MaxData, 4, 1));
    // The file: what "Save Settings" took; 10 us of 0.025 us samples, truncated, are 399.
    ResetOscSettings();
    LoadConfig();
    EXPECT_EQ(changed(), std::tuple(40.0f, 16, 12, 399, 4, 1));
}

TEST_F(SettingsCommandTest, AFileRecordKeepsItsTimeStep) {
    OscState.FileView = 1;
    OscState.LoadedLength = 100;
    OscSettings.Num_Data = 100;
    OscState.SamplePeriod = 0.3f;
    Run(PressOk);
    EXPECT_EQ(OscState.SamplePeriod, 0.3f);
    Run(Cancel);
    EXPECT_EQ(OscState.SamplePeriod, 0.3f);
    // Changed and changed back is still the same clock.
    Run([](test::FakeControls& dialog, SettingsDialog&) {
        dialog.Type(BaseFrequency, "20");
        dialog.Type(BaseFrequency, "80");
        return true;
    });
    EXPECT_EQ(OscState.SamplePeriod, 0.3f);
    // A new clock puts the record on its time scale.
    Run([](test::FakeControls& dialog, SettingsDialog&) {
        dialog.Type(BaseFrequency, "20");
        return true;
    });
    EXPECT_EQ(OscState.SamplePeriod, 0.05f);
}

}  // namespace
}  // namespace korvel
