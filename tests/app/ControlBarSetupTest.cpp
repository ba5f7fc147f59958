#include "app/ControlBarSetup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/Parameters.h"
#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/StartUp.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

class ControlBarSetup : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        // Both bars report their text changes into one log, in the order they come.
        ports.topBar.onTextChanged = [this](int32_t id) {
            changes.emplace_back(id);
            TopBarTextChanged(id);
        };
        ports.bottomBar.onTextChanged = [this](int32_t id) {
            changes.emplace_back(id);
            BottomBarTextChanged(id);
        };
    }
    std::vector<std::string> Items() { return ports.topBar[top::FrequencyList].items; }
    std::vector<int32_t> changes;
};

TEST_F(ControlBarSetup, DefaultsFillBothBarsInOrder) {
    SetUpControlBars();
    EXPECT_EQ(Items(), (std::vector<std::string>{"80 Mhz", "40 Mhz", "20 Mhz", "10 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 0);
    EXPECT_FALSE(ports.topBar[top::Progress].visible);
    EXPECT_TRUE(ports.topBar[top::ShowSpectrum].visible);
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "12.5");  // 1000 samples at 80 MHz
    EXPECT_EQ(changes, (std::vector<int32_t>{bottom::Min, bottom::Width, top::OscFreq,
                                             top::Accumulator, bottom::Average}));
    EXPECT_EQ(ports.frame.title, "KORVEL Oscillograph Release 1.05");
}

// Each field's handling reads the written text back: the rate keeps the six
// digits that "%g" shows, and Average over is stored without processing, as
// the window is not yet the program's main window.
TEST_F(ControlBarSetup, FieldsAreReadBackAsShown) {
    OscSettings.Osc_Freq = 3.3333333f;
    OscSettings.Av_Over = 7;
    OscState.FileView = 1;
    OscSettings.Num_Data = 3;
    const float samples[] = {3, 6, 9};
    std::memcpy(OscState.FileData, samples, sizeof samples);
    OscState.Record[1] = -1.0f;
    SetUpControlBars();
    EXPECT_EQ(ports.topBar[top::OscFreq].text, "3.33333");
    EXPECT_EQ(OscSettings.Osc_Freq, 3.33333f);
    EXPECT_EQ(OscSettings.Av_Over, 7);
    EXPECT_EQ(OscState.Record[1], -1.0f);
}

TEST_F(ControlBarSetup, SettingsShapeTheBars) {
    OscSettings.Osc_Mode = 1;
    OscSettings.Follow_Mode = 1;
    OscSettings.Korv_Freq = 3;
    OscSettings.BaseFreq = 100.0f;
    OscSettings.Data_S = 100;
    OscSettings.Data_E = 350;
    OscState.Russian = 1;
    SetUpControlBars();
    EXPECT_EQ(Items(), (std::vector<std::string>{"100 Mhz", "50 Mhz", "25 Mhz", "12.5 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 3);
    EXPECT_TRUE(ports.topBar[top::Oscillograf].checked);
    EXPECT_FALSE(ports.topBar[top::ShowSpectrum].visible);
    EXPECT_TRUE(ports.bottomBar[bottom::FollowMode].checked);
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "8");  // 100 samples of 0.08 us
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "20");
    EXPECT_EQ(ports.frame.title, "KORVEL Цифровой Осциллограф. Версия 1.05");
}

// The period follows the clock alone while loading, and the divider once the
// window has selected its frequency.
TEST_F(ControlBarSetup, SamplePeriodOfASlowConfiguredClock) {
    std::string ini;
    auto record = [&ini](int32_t index, const void* value) {
        ini.append(reinterpret_cast<const char*>(&index), 4);
        ini.append(static_cast<const char*>(value), 4);
    };
    const float baseFreq = 40.0f;
    const int32_t korvFreq = 2;
    record(11, &baseFreq);
    record(2, &korvFreq);
    WriteFile("config/korvel/korvel.ini", ini);
    StartUp();
    EXPECT_FLOAT_EQ(OscState.SamplePeriod, 0.025f);
    SetUpControlBars();
    EXPECT_FLOAT_EQ(OscState.SamplePeriod, 0.1f);
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 2);
}

TEST_F(ControlBarSetup, RebuildKeepsTheSelectedEntry) {
    SetUpControlBars();
    ports.topBar[top::FrequencyList].selected = 1;
    SetParam(ParamFreqDividers, {1, 3, 5, 7});
    RebuildFrequencyList();
    EXPECT_EQ(Items(),
              (std::vector<std::string>{"80 Mhz", "26.6667 Mhz", "16 Mhz", "11.4286 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 1);
}

}  // namespace
}  // namespace korvel
