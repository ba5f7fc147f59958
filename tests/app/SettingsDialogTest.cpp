#include "app/SettingsDialog.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/Parameters.h"
#include "app/ControlBarSetup.h"
#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "files/ConfigFile.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using namespace settings;

class SettingsDialogTest : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        SetUpControlBars();
        dialog.onTextChanged = [this](int32_t id) { logic.TextChanged(id); };
    }
    void Open() { logic.Initialise(); }
    void MoveSlider(int32_t id, int32_t pos) {
        dialog[id].sliderPos = pos;
        logic.SliderMoved(id);
    }
    void Check(int32_t id, bool checked) { dialog[id].checked = checked; }
    std::string Shown(int32_t id) { return dialog[id].text; }
    // A slider's lowest, highest and current position.
    std::vector<int32_t> Slider(int32_t id) {
        return {dialog[id].sliderLo, dialog[id].sliderHi, dialog[id].sliderPos};
    }

    test::FakeControls dialog;
    SettingsDialog logic{dialog};
};

TEST_F(SettingsDialogTest, OpensWithTheSettingsInTheirShownForms) {
    OscSettings.AutoNorm = 0;
    OscSettings.D_min = -12.5f;
    OscSettings.BaseAddr = 0x31c;
    OscSettings.Korv_Freq = 2;
    OscSettings.Sound = 1;
    Open();
    EXPECT_EQ(Shown(Title), "Settings");
    EXPECT_EQ(Shown(Min), "-12.5");
    EXPECT_EQ(Shown(Max), "100");
    EXPECT_TRUE(dialog[Min].enabled);
    EXPECT_EQ(Shown(BaseAddress), "31c");
    EXPECT_EQ(Shown(BaseFrequency), "80");
    EXPECT_EQ(Shown(Dividers[0]) + Shown(Dividers[1]) + Shown(Dividers[2]) + Shown(Dividers[3]),
              "1248");
    EXPECT_EQ(Shown(Amplitude) + " " + Shown(ZeroLevel), "2000 0");
    EXPECT_EQ(Shown(LabelsX) + Shown(LabelsY) + Shown(TDigits) + Shown(VDigits), "101031");
    EXPECT_TRUE(dialog[Bipolar].checked && dialog[Sound].checked);
    EXPECT_FALSE(dialog[Invert].checked || dialog[Grid].checked || dialog[AutoConf].checked);
    for (int32_t k = 0; k < 4; ++k) {
        EXPECT_EQ(dialog[FrequencyButtons[k]].face,
                  k == 2 ? Face::FrequencyChosen : Face::FrequencyOther);
    }
    const std::vector<std::string> sizes{"8",  "9",  "10", "11", "12", "14",
                                         "16", "18", "20", "22", "24"};
    EXPECT_EQ(dialog[LabelFontList].items, sizes);
    EXPECT_EQ(dialog[MessageFontList].items, sizes);
    EXPECT_EQ(dialog[LabelFontList].selected, 4);
    EXPECT_EQ(dialog[MessageFontList].selected, 5);
    // The English template texts stay; nothing the dialog wrote changed a setting.
    EXPECT_EQ(dialog[AutoNorm].text, "");
    EXPECT_EQ(Shown(BaseFrequency), "80");

    // Auto Norm greys Min and Max while it is checked.
    Check(AutoNorm, true);
    logic.AutoNormClicked();
    EXPECT_FALSE(dialog[Min].enabled || dialog[Max].enabled);

    // A real card's version, and the Russian interface with its texts.
    OscState.DeviceVersion = 3;
    Open();
    EXPECT_EQ(Shown(Title), "Settings for KORVEL device version 3");
    OscState.Russian = 1;
    OscState.DeviceVersion = 255;
    Open();
    EXPECT_EQ(Shown(Title), "Установки");
    EXPECT_EQ(Shown(AutoNorm), "Авто-норм");
    EXPECT_EQ(Shown(PrehistoryLabel), "Предистория");
    EXPECT_EQ(Shown(AutoConf), "Сохранять конфигурацию при выходе");
    EXPECT_EQ(Shown(SaveSettings) + "|" + Shown(Cancel) + "|" + Shown(Ok), "Сохранить|Отмена|");
    EXPECT_EQ(Shown(BaseFrequency), "80");  // numbers keep the C locale's point
    OscState.DeviceVersion = 7;
    Open();
    EXPECT_EQ(Shown(Title), "Установки для устройства KORVEL версии 7");
}

TEST_F(SettingsDialogTest, SlidersAreScaledInMicroseconds) {
    // LoadedLength 65534 at 0.0125 us: T = 819.175 us, ticks every 100 us.
    OscSettings.Prehistory = 100;
    Open();
    EXPECT_EQ(Slider(PrehistorySlider), (std::vector<int32_t>{0, 255, 100}));
    EXPECT_EQ(dialog[PrehistorySlider].ticks,
              (std::vector<int32_t>{31, 62, 93, 124, 155, 186, 217, 249}));
    EXPECT_EQ(Shown(PrehistoryEdit), "321.245");
    EXPECT_EQ(Slider(LengthSlider), (std::vector<int32_t>{1, MaxData, MaxData}));
    EXPECT_EQ(dialog[LengthSlider].ticks,
              (std::vector<int32_t>{0, 7999, 15999, 23999, 31999, 39999, 47999, 55999, 63999}));
    EXPECT_EQ(Shown(LengthEdit), "819.175");

    // Typed times truncate to the slider steps.
    dialog.Type(PrehistoryEdit, "100");
    EXPECT_EQ(OscSettings.Prehistory, 31);
    EXPECT_EQ(dialog[PrehistorySlider].sliderPos, 31);
    EXPECT_EQ(Shown(PrehistoryEdit), "100");
    dialog.Type(LengthEdit, "10");
    EXPECT_EQ(OscSettings.Num_Data, 799);
    dialog.Type(LengthEdit, "10.01");
    EXPECT_EQ(OscSettings.Num_Data, 800);
    EXPECT_EQ(dialog[LengthSlider].sliderPos, 800);
    // 800 samples show as 10 us: typing that again keeps them.
    dialog.Type(LengthEdit, "10");
    EXPECT_EQ(OscSettings.Num_Data, 800);
    // Held within the sliders; text that is no finite number changes nothing.
    dialog.Type(PrehistoryEdit, "5000");
    EXPECT_EQ(OscSettings.Prehistory, 255);
    dialog.Type(LengthEdit, "-3");
    EXPECT_EQ(OscSettings.Num_Data, 1);
    for (const char* text : {"", "abc", "nan", "inf", "1e999"}) {
        dialog.Type(PrehistoryEdit, text);
        dialog.Type(LengthEdit, text);
    }
    EXPECT_EQ(OscSettings.Prehistory, 255);
    EXPECT_EQ(OscSettings.Num_Data, 1);

    // A moved slider writes its time, which is not read back: 800 samples
    // show as 10 us, and 10 us would be 799.
    MoveSlider(LengthSlider, 800);
    EXPECT_EQ(OscSettings.Num_Data, 800);
    EXPECT_EQ(Shown(LengthEdit), "10");
    MoveSlider(PrehistorySlider, 100);
    EXPECT_EQ(OscSettings.Prehistory, 100);
    EXPECT_EQ(Shown(PrehistoryEdit), "321.245");
    logic.Ok();
    EXPECT_EQ(std::pair(OscSettings.Num_Data, OscSettings.Prehistory), std::pair(800, 100));

    // A record read from a file: the slider spans its samples.
    OscState.LoadedLength = 3;
    OscState.SamplePeriod = 0.5f;
    OscSettings.Num_Data = 3;
    Open();
    EXPECT_EQ(dialog[LengthSlider].sliderHi, 3);
    EXPECT_EQ(Shown(LengthEdit), "1.5");
    EXPECT_EQ(dialog[LengthSlider].ticks, (std::vector<int32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(SettingsDialogTest, OpeningAndPressingOkChangesNothing) {
    OscSettings.Prehistory = 100;
    OscSettings.Num_Data = 12345;
    OscSettings.BaseFreq = 3.3333333f;
    OscSettings.D_min = 0.123456789f;
    OscSettings.AutoNorm = 0;
    OscSettings.Amplitude = 1999.99999f;
    OscSettings.ZeroLevel = -1.0e-7f;
    OscSettings.Sound = 1;
    OscSettings.BaseAddr = 0x31c;
    SetFrequencyIndex(3);
    for (const int32_t russian : {0, 1}) {
        OscState.Russian = russian;
        const OscSettingsRecord before = OscSettings;
        const float period = OscState.SamplePeriod;
        Open();
        logic.Ok();
        EXPECT_EQ(std::memcmp(&OscSettings, &before, sizeof before), 0);
        EXPECT_EQ(std::bit_cast<uint32_t>(OscState.SamplePeriod), std::bit_cast<uint32_t>(period));
    }
}

TEST_F(SettingsDialogTest, FieldsTakenOnOk) {
    Open();
    const auto takeBaseAddress = [&](const std::string& text) {
        OscSettings.BaseAddr = 0x300;
        dialog.Type(BaseAddress, text);
        logic.Ok();
        return OscSettings.BaseAddr;
    };
    EXPECT_EQ(takeBaseAddress("30f"), 0x30C);
    EXPECT_EQ(OscState.PrevBaseAddr, 0x300);
    EXPECT_EQ(takeBaseAddress("0x3FF zz"), 0x3FC);
    EXPECT_EQ(takeBaseAddress("\xb3\xb0\xe6"), 0x30C);  // bytes above 127 lose their top bit
    for (const char* text : {"400", "2ff", "", "g", "-300", "10000000300", "-FFFFFD00"})
        EXPECT_EQ(takeBaseAddress(text), 0x300) << text;

    // Min and Max only while Auto Norm is clear.
    Check(AutoNorm, true);
    dialog.Type(Min, "-5");
    dialog.Type(Max, "5");
    logic.Ok();
    EXPECT_EQ(std::pair(OscSettings.D_min, OscSettings.D_max), std::pair(0.0f, 100.0f));
    Check(AutoNorm, false);
    logic.Ok();
    EXPECT_EQ(OscSettings.AutoNorm, 0);
    EXPECT_EQ(std::pair(OscSettings.D_min, OscSettings.D_max), std::pair(-5.0f, 5.0f));

    // Counts only when above 0, and no more than any screen shows.
    dialog.Type(LabelsX, "0");
    dialog.Type(LabelsY, "7 labels");
    dialog.Type(TDigits, "-2");
    dialog.Type(VDigits, "99999999999");
    dialog.Type(Amplitude, "1000");
    dialog.Type(ZeroLevel, "nan");
    Check(Grid, true);
    Check(Invert, true);
    Check(Bipolar, false);
    Check(AutoConf, true);
    dialog[LabelFontList].selected = 10;
    dialog[MessageFontList].selected = -1;
    logic.Ok();
    EXPECT_EQ((std::vector{OscSettings.Labels_X, OscSettings.Labels_Y, OscSettings.T_Acc,
                           OscSettings.V_Acc}),
              (std::vector{10, 7, 3, 9}));
    EXPECT_EQ(OscSettings.Amplitude, 1000.0f);
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
    EXPECT_EQ(OscSettings.ZeroLevel, 0.0f);
    EXPECT_EQ(OscSettings.Grid + OscSettings.Invert + OscSettings.AutoConf, 3);
    EXPECT_EQ(OscSettings.Bipolar, 0);
    EXPECT_EQ(std::pair(OscSettings.LFontSize, OscSettings.MFontSize), std::pair(10, 5));
    // The main window's list is rebuilt with the selection kept.
    EXPECT_EQ(ports.topBar[top::FrequencyList].items,
              (std::vector<std::string>{"80 Mhz", "40 Mhz", "20 Mhz", "10 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 0);

    // The pre-history is taken from its time as typed.
    dialog[PrehistoryEdit].text = "100";
    logic.Ok();
    EXPECT_EQ(OscSettings.Prehistory, 31);
}

TEST_F(SettingsDialogTest, ClockAndDividersActAtOnce) {
    SetFrequencyIndex(1);
    Open();
    dialog.Type(Dividers[1], "0");
    dialog.Type(Dividers[0], "-4");
    EXPECT_EQ(std::pair(OscSettings.FreqDiv[0], OscSettings.FreqDiv[1]), std::pair(1, 2));
    dialog.Type(Dividers[1], "3");
    EXPECT_EQ(OscState.SamplePeriod, 0.0375f);
    EXPECT_EQ(Shown(LengthEdit), "2457.53");  // the sliders follow the new time scale
    EXPECT_EQ(dialog[PrehistorySlider].ticks,
              (std::vector<int32_t>{20, 41, 62, 83, 103, 124, 145, 166, 186, 207, 228, 249}));
    dialog.Type(BaseFrequency, "40");
    EXPECT_EQ(OscSettings.BaseFreq, 40.0f);
    EXPECT_EQ(OscState.SamplePeriod, 0.075f);
    // The main window's list follows only on OK or with a frequency button.
    EXPECT_EQ(ports.topBar[top::FrequencyList].items[1], "40 Mhz");

    // A clock that gives no usable time scale is refused.
    for (const char* text : {"0", "-40", "1e-45", "1e-38", "inf", "abc"}) {
        dialog.Type(BaseFrequency, text);
        EXPECT_EQ(OscSettings.BaseFreq, 40.0f) << text;
    }
    logic.Ok();
    EXPECT_EQ(OscSettings.BaseFreq, 40.0f);
    EXPECT_EQ(Shown(LengthEdit), "4915.05");
    dialog.Type(BaseFrequency, "1e-30");
    EXPECT_EQ(OscSettings.BaseFreq, 1e-30f);
    dialog.Type(Dividers[3], "2000000000");
    EXPECT_EQ(OscSettings.FreqDiv[3], 8);  // 2e39 us is no float
    dialog.Type(Dividers[3], "8");
    dialog.Type(BaseFrequency, "40");

    // A frequency button acts at once, on the dialog and on the main window.
    ports.bottomBar[bottom::Min].text = "x";
    OscSettings.Data_S = 100;
    OscSettings.Data_E = 300;
    logic.FrequencyClicked(2);
    EXPECT_EQ(OscSettings.Korv_Freq, 2);
    EXPECT_EQ(OscState.SamplePeriod, 0.1f);
    EXPECT_EQ(dialog[FrequencyButtons[2]].face, Face::FrequencyChosen);
    EXPECT_EQ(dialog[FrequencyButtons[1]].face, Face::FrequencyOther);
    EXPECT_EQ(ports.topBar[top::FrequencyList].items,
              (std::vector<std::string>{"40 Mhz", "13.3333 Mhz", "10 Mhz", "5 Mhz"}));
    EXPECT_EQ(ports.topBar[top::FrequencyList].selected, 2);
    EXPECT_EQ(ports.bottomBar[bottom::Min].text, "10.000000");
    EXPECT_EQ(ports.bottomBar[bottom::Width].text, "20.000000");
    EXPECT_EQ(Shown(LengthEdit), "6553.4");
}

TEST_F(SettingsDialogTest, SaveSettingsWritesTheTakenValues) {
    Open();
    dialog.Type(LabelsX, "4");
    dialog.Type(BaseFrequency, "40");
    logic.SaveSettingsClicked();
    EXPECT_TRUE(ports.dialogs.messages.empty());
    ResetOscSettings();
    LoadConfig();
    EXPECT_EQ(OscSettings.Labels_X, 4);
    EXPECT_EQ(OscSettings.BaseFreq, 40.0f);

    // No folder can be made for the file: the values stay applied, the user is told.
    WriteFile("blocked", "");
    setenv("XDG_CONFIG_HOME", (TempDir() + "/blocked").c_str(), 1);
    dialog.Type(LabelsX, "6");
    logic.SaveSettingsClicked();
    EXPECT_EQ(OscSettings.Labels_X, 6);
    ASSERT_EQ(ports.dialogs.messages.size(), 1u);
    EXPECT_EQ(ports.dialogs.messages[0].text, "Error saving configuration file");
    EXPECT_EQ(ports.dialogs.messages[0].caption, "(default)");
}

}  // namespace
}  // namespace korvel
