#include "model/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingsBounds.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using ParametersTest = test::CoreTest;
using S = OscSettingsRecord;
const double inf = INFINITY;

double Value(uint32_t id) {
    const ParamRef ref = GetParam(id);
    return ref.type == ParamType::Float ? double{*ref.floatField} : double{*ref.intField};
}

// One SetParam after another: what the field holds and the sample period after it.
TEST_F(ParametersTest, SetParamConvertsRefusesAndKeepsTheSamplePeriod) {
    const struct {
        uint32_t id;
        double given, held;
        float periodUs;
    } steps[] = {
        {ParamAvOver, 12.9, 12, 0.0125f},
        {ParamAvOver, -3.7, -3, 0.0125f},
        {ParamAccOver, 1e12, INT32_MAX, 0.0125f},
        {ParamAccOver, -1e12, INT32_MIN, 0.0125f},
        {ParamAccOver, NAN, 0, 0.0125f},
        {ParamKorvFreq, 3, 3, 0.0125f},  // index alone: no change
        {ParamBaseFreq, 40, 40, 0.2f},
        {ParamBaseFreq, 0, 40, 0.2f},
        {ParamBaseFreq, -80, 40, 0.2f},
        {ParamBaseFreq, NAN, 40, 0.2f},
        {ParamBaseFreq, inf, 40, 0.2f},
        {ParamBaseFreq, 1e-60, 40, 0.2f},
        {ParamBaseFreq, 1e-40, 40, 0.2f},       // a float, but 8 / 1e-40 us is not
        {ParamBaseFreq, 1e39, 40, 0.2f},        // no float at all
        {ParamBaseFreq, 1e-30, 1e-30f, 8e30f},  // far from any card, but every period a number
        {ParamBaseFreq, 1e9, 1e9, 8e-9f},
        {ParamDMax, 6.5, 6.5, 8e-9f},
    };
    for (const auto& step : steps) {
        SetParam(step.id, step.given);
        EXPECT_EQ(Value(step.id), step.held) << step.id << " " << step.given;
        EXPECT_FLOAT_EQ(OscState.SamplePeriod, step.periodUs) << step.id << " " << step.given;
    }
    SetParam(ParamBaseAddr, 0x310);
    SetParam(ParamAmplitude, 1000.0);
    EXPECT_EQ(OscState.PrevBaseAddr, 0x300);
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);

    // Ids outside the table, and a number for the block of dividers, change nothing.
    const OscSettingsRecord before = OscSettings;
    for (uint32_t id : {21u, 0xFFFFFFFFu, uint32_t{ParamFreqDividers}})
        SetParam(id, 5.0);
    SetParam(21, {3, 3, 3, 3});
    EXPECT_EQ(std::memcmp(&before, &OscSettings, sizeof before), 0);
    EXPECT_EQ(GetParam(21).type, ParamType::None);
}

TEST_F(ParametersTest, DividersFrequencyListAndIndex) {
    char text[32];
    auto list = [&] {
        std::string items;
        for (int32_t k = 0; k < 4; ++k) {
            FormatFrequencyItem(k, text, sizeof text);
            items += std::string(text) + ";";
        }
        return items;
    };
    EXPECT_EQ(list(), "80 Mhz;40 Mhz;20 Mhz;10 Mhz;");
    OscSettings.Korv_Freq = 1;
    SetParam(ParamFreqDividers, {1, 3, 5, 7});
    EXPECT_EQ(OscState.SamplePeriod, 0.0375f);
    EXPECT_EQ(list(), "80 Mhz;26.6667 Mhz;16 Mhz;11.4286 Mhz;");
    // Dividers that are not positive keep their value ...
    SetParam(ParamFreqDividers, {0, -2, 6, 9});
    EXPECT_EQ(list(), "80 Mhz;26.6667 Mhz;13.3333 Mhz;8.88889 Mhz;");
    // ... as one that would make a period infinite: 1e9 under 1e-30 MHz is 1e39 us.
    SetParam(ParamBaseFreq, 1e-30);
    SetParam(ParamFreqDividers, {1000000000, 3, 6, 9});
    EXPECT_EQ(OscSettings.FreqDiv[0], 1);

    SetParam(ParamBaseFreq, 80.0);
    for (const auto& [k, index, periodUs] :
         {std::tuple{7, 3, 0.1125f}, {-1, 0, 0.0125f}, {2, 2, 0.075f}}) {
        SetFrequencyIndex(k);
        EXPECT_EQ(OscSettings.Korv_Freq, index);
        EXPECT_EQ(OscState.SamplePeriod, periodUs);
    }
    EXPECT_DOUBLE_EQ(IndexToTime(200), 200 * double{0.075f});
    EXPECT_DOUBLE_EQ(TimeToIndex(10.0), 10.0 / double{0.075f});
    // The default period held as a float lies just above 0.0125: 10 us is 799.99... samples.
    SetFrequencyIndex(0);
    EXPECT_EQ(static_cast<int>(TimeToIndex(10.0)), 799);
}

TEST_F(ParametersTest, VerticalRangesAndTheAutoNormRequest) {
    OscState.DataMin = -40.0f;
    OscState.DataMax = 130.0f;
    OscState.ViewMin = -1.0f;
    OscState.ViewMax = 2.0f;
    OscSettings.D_min = 5.0f;
    OscSettings.D_max = 6.0f;
    OscState.AutoNormPending = 0;
    RequestAutoNorm();
    EXPECT_EQ(std::pair(VerticalRange().lower, VerticalRange().upper), std::pair(-40.0f, 130.0f));
    EXPECT_EQ(OscState.AutoNormPending, 1);
    OscSettings.AutoNorm = 0;
    OscState.AutoNormPending = 0;
    RequestAutoNorm();
    EXPECT_EQ(std::pair(VerticalRange().lower, VerticalRange().upper), std::pair(5.0f, 6.0f));
    EXPECT_EQ(OscState.AutoNormPending, 0);
    EXPECT_EQ(std::pair(ViewRange().lower, ViewRange().upper), std::pair(-1.0f, 2.0f));
    EXPECT_EQ(VerticalRange().record, OscState.Record);
}

// Values from korvel.ini or a companion file, one field at a time: counts
// below 1 take the default, counts too large the limit; indices and sizes
// the nearest; numbers that are no numbers the default.
TEST_F(ParametersTest, SettingsFromOutsideAreBroughtIntoRange) {
    const struct {
        int32_t S::*field;
        int32_t given, held;
    } ints[] = {
        {&S::Korv_Freq, 4, 0},
        {&S::Korv_Freq, -1, 0},
        {&S::Korv_Freq, 3, 3},
        {&S::Acc_Over, 0, 1},
        {&S::Acc_Over, 100001, 100000},
        {&S::Acc_Over, 100000, 100000},
        {&S::Av_Over, 0, 3},
        {&S::Av_Over, 1, 1},
        {&S::Av_Over, 1000001, 1000000},
        {&S::Num_Data, 0, 65534},
        {&S::Num_Data, 1, 1},
        {&S::Num_Data, 65535, 65534},
        {&S::Labels_X, 0, 10},
        {&S::Labels_X, 101, 100},
        {&S::Labels_Y, -1, 10},
        {&S::Labels_Y, 100, 100},
        {&S::V_Acc, 0, 1},
        {&S::V_Acc, 10, 9},
        {&S::T_Acc, 0, 3},
        {&S::T_Acc, 9, 9},
        {&S::LFontSize, -1, 0},
        {&S::LFontSize, 11, 10},
        {&S::MFontSize, 12, 10},
        {&S::MFontSize, 0, 0},
        {&S::Prehistory, -1, 0},
        {&S::Prehistory, 256, 255},
        {&S::Data_S, -1, 0},
        {&S::Data_S, 65534, 65533},
        {&S::Data_E, -5, 0},
        {&S::Data_E, 70000, 65533},
        {&S::AutoNorm, 0, 0},
        {&S::Bipolar, -1, 1},
        {&S::Invert, 2, 1},
        {&S::AutoConf, 7, 1},
        {&S::Sound, 1, 1},
        {&S::Grid, -3, 1},
        {&S::Follow_Mode, 9, 1},
        {&S::Osc_Mode, 5, 1},
    };
    for (const auto& row : ints) {
        ResetOscSettings();
        OscSettings.*row.field = row.given;
        BringSettingsIntoRange();
        EXPECT_EQ(OscSettings.*row.field, row.held) << &row - ints;
    }
    const struct {
        float S::*field;
        float given, held;
    } floats[] = {
        {&S::BaseFreq, 0, 80},          {&S::BaseFreq, 1e-44f, 80},
        {&S::BaseFreq, 1e-30f, 1e-30f}, {&S::Osc_Freq, 0, 2},
        {&S::Osc_Freq, NAN, 2},         {&S::Osc_Freq, 5000, 1000},
        {&S::Osc_Freq, 0.5f, 0.5f},     {&S::D_min, -INFINITY, 0},
        {&S::D_max, NAN, 100},          {&S::Amplitude, INFINITY, 2000},
        {&S::Conversion, NAN, 7.8125f}, {&S::ZeroLevel, NAN, 0},
    };
    for (const auto& row : floats) {
        ResetOscSettings();
        OscSettings.*row.field = row.given;
        BringSettingsIntoRange();
        EXPECT_EQ(OscSettings.*row.field, row.held) << &row - floats;
    }
    // A divider of 0 or less takes its default; then the clock must give all four a period.
    OscSettings.FreqDiv[0] = 0;
    OscSettings.FreqDiv[1] = -2;
    OscSettings.FreqDiv[3] = 1000000000;
    OscSettings.BaseFreq = 1e-30f;
    BringSettingsIntoRange();
    EXPECT_EQ((std::vector<int32_t>(OscSettings.FreqDiv, OscSettings.FreqDiv + 4)),
              (std::vector<int32_t>{1, 2, 4, 1000000000}));
    EXPECT_EQ(OscSettings.BaseFreq, 80.0f);
}

}  // namespace
}  // namespace korvel
