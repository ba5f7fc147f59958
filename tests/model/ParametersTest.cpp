#include "model/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using ParametersTest = test::CoreTest;

TEST_F(ParametersTest, EveryIdReachesItsField) {
    const struct {
        uint32_t id;
        void* field;
        ParamType type;
    } table[] = {
        {0, &OscSettings.Acc_Over, ParamType::Int},
        {1, &OscSettings.Av_Over, ParamType::Int},
        {2, &OscSettings.AutoNorm, ParamType::Int},
        {3, &OscSettings.D_min, ParamType::Float},
        {4, &OscSettings.D_max, ParamType::Float},
        {5, &OscSettings.Bipolar, ParamType::Int},
        {6, &OscSettings.Invert, ParamType::Int},
        {7, &OscSettings.BaseAddr, ParamType::Int},
        {8, &OscState.PrevBaseAddr, ParamType::Int},
        {9, &OscSettings.AutoConf, ParamType::Int},
        {10, &OscSettings.Korv_Freq, ParamType::Int},
        {11, &OscSettings.BaseFreq, ParamType::Float},
        {12, &OscSettings.FreqDiv[0], ParamType::DividerBlock},
        {13, &OscSettings.Amplitude, ParamType::Float},
        {14, &OscSettings.ZeroLevel, ParamType::Float},
        {15, &OscState.ViewMin, ParamType::Float},
        {16, &OscState.ViewMax, ParamType::Float},
        {17, &OscSettings.LFontSize, ParamType::Int},
        {18, &OscSettings.MFontSize, ParamType::Int},
        {19, &OscSettings.V_Acc, ParamType::Int},
        {20, &OscSettings.T_Acc, ParamType::Int},
    };
    for (const auto& row : table) {
        const ParamRef ref = GetParam(row.id);
        EXPECT_EQ(ref.type, row.type) << "id " << row.id;
        void* field = ref.type == ParamType::Float ? static_cast<void*>(ref.floatField)
                                                   : static_cast<void*>(ref.intField);
        EXPECT_EQ(field, row.field) << "id " << row.id;
    }
}

TEST_F(ParametersTest, IdsOutsideTheTableChangeNothing) {
    EXPECT_EQ(GetParam(21).type, ParamType::None);
    EXPECT_EQ(GetParam(static_cast<uint32_t>(-1)).type, ParamType::None);
    const OscSettingsRecord before = OscSettings;
    const float viewMin = OscState.ViewMin;
    SetParam(21, 5.0);
    SetParam(static_cast<uint32_t>(-1), 5.0);
    const int32_t dividers[4] = {3, 3, 3, 3};
    SetParam(21, dividers);
    EXPECT_EQ(std::memcmp(&before, &OscSettings, sizeof before), 0);
    EXPECT_EQ(OscState.ViewMin, viewMin);
}

TEST_F(ParametersTest, BaseAddressKeepsThePreviousOne) {
    SetParam(ParamBaseAddr, 0x310);
    EXPECT_EQ(OscState.PrevBaseAddr, 0x300);
    EXPECT_EQ(OscSettings.BaseAddr, 0x310);
}

TEST_F(ParametersTest, AmplitudeSetsConversion) {
    SetParam(ParamAmplitude, 1000.0);
    EXPECT_EQ(OscSettings.Amplitude, 1000.0f);
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
}

TEST_F(ParametersTest, DividerBlockAndSamplePeriod) {
    OscSettings.Korv_Freq = 1;
    const int32_t dividers[4] = {1, 3, 5, 7};
    SetParam(ParamFreqDividers, dividers);
    EXPECT_EQ(OscState.SamplePeriod, 0.0375f);
    char text[32];
    const char* expected[] = {"80 Mhz", "26.6667 Mhz", "16 Mhz", "11.4286 Mhz"};
    for (int k = 0; k < 4; ++k) {
        FormatFrequencyItem(k, text, sizeof text);
        EXPECT_STREQ(text, expected[k]);
    }
}

TEST_F(ParametersTest, DefaultFrequencyList) {
    char text[32];
    const char* expected[] = {"80 Mhz", "40 Mhz", "20 Mhz", "10 Mhz"};
    for (int k = 0; k < 4; ++k) {
        FormatFrequencyItem(k, text, sizeof text);
        EXPECT_STREQ(text, expected[k]);
    }
    SetParam(ParamBaseFreq, 100.0);
    const char* hundred[] = {"100 Mhz", "50 Mhz", "25 Mhz", "12.5 Mhz"};
    for (int k = 0; k < 4; ++k) {
        FormatFrequencyItem(k, text, sizeof text);
        EXPECT_STREQ(text, hundred[k]);
    }
}

TEST_F(ParametersTest, FrequencyIndexAloneDoesNotMoveSamplePeriod) {
    SetParam(ParamKorvFreq, 3);
    EXPECT_EQ(OscSettings.Korv_Freq, 3);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);
    SetFrequencyIndex(3);
    EXPECT_EQ(OscState.SamplePeriod, 0.1f);
    SetFrequencyIndex(2);
    EXPECT_EQ(OscState.SamplePeriod, 0.05f);
}

TEST_F(ParametersTest, BaseClockMustStayPositive) {
    SetParam(ParamBaseFreq, 40.0);
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
    // 1e-40 MHz is a float, but 8 / 1e-40 us is not; 1e39 is no float at all.
    for (double bad : {0.0, -80.0, double(NAN), double(INFINITY), 1e-60, 1e-40, 1e39}) {
        SetParam(ParamBaseFreq, bad);
        EXPECT_EQ(OscSettings.BaseFreq, 40.0f) << bad;
        EXPECT_EQ(OscState.SamplePeriod, 0.025f) << bad;
    }
    // Far from any card, but every period is an ordinary number.
    SetParam(ParamBaseFreq, 1e-30);
    EXPECT_EQ(OscSettings.BaseFreq, 1e-30f);
    SetParam(ParamBaseFreq, 1e9);
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(1.0 / 1e9f));
}

TEST_F(ParametersTest, NonPositiveDividersKeepTheirValue) {
    const int32_t dividers[4] = {0, -2, 6, 9};
    SetParam(ParamFreqDividers, dividers);
    EXPECT_EQ(OscSettings.FreqDiv[0], 1);
    EXPECT_EQ(OscSettings.FreqDiv[1], 2);
    EXPECT_EQ(OscSettings.FreqDiv[2], 6);
    EXPECT_EQ(OscSettings.FreqDiv[3], 9);
    // Under a clock of 1e-30 MHz a divider of a billion gives 1e39 us: no float.
    SetParam(ParamBaseFreq, 1e-30);
    const int32_t slower[4] = {1000000000, 3, 6, 9};
    SetParam(ParamFreqDividers, slower);
    EXPECT_EQ(OscSettings.FreqDiv[0], 1);
    EXPECT_EQ(OscSettings.FreqDiv[1], 3);
}

TEST_F(ParametersTest, FrequencyIndexOutsideTheListTakesTheNearest) {
    SetFrequencyIndex(7);
    EXPECT_EQ(OscSettings.Korv_Freq, 3);
    EXPECT_EQ(OscState.SamplePeriod, 0.1f);
    SetFrequencyIndex(-1);
    EXPECT_EQ(OscSettings.Korv_Freq, 0);
}

TEST_F(ParametersTest, IntegerFieldsTruncateAndSaturate) {
    SetParam(ParamAvOver, 12.9);
    EXPECT_EQ(OscSettings.Av_Over, 12);
    SetParam(ParamAvOver, -3.7);
    EXPECT_EQ(OscSettings.Av_Over, -3);
    SetParam(ParamAccOver, 1e12);
    EXPECT_EQ(OscSettings.Acc_Over, 2147483647);
    SetParam(ParamAccOver, NAN);
    EXPECT_EQ(OscSettings.Acc_Over, 0);
}

TEST_F(ParametersTest, ConversionsOfTimeAndIndex) {
    SetFrequencyIndex(2);  // 0.05 us
    EXPECT_DOUBLE_EQ(IndexToTime(200), 200 * static_cast<double>(0.05f));
    EXPECT_DOUBLE_EQ(TimeToIndex(10.0), 10.0 / static_cast<double>(0.05f));
    EXPECT_DOUBLE_EQ(IndexToTime(2.5), 2.5 * static_cast<double>(0.05f));
    // The default period held as a float lies just above 0.0125: 10 us is 799.99... samples.
    SetFrequencyIndex(0);
    EXPECT_EQ(static_cast<int>(TimeToIndex(10.0)), 799);
}

TEST_F(ParametersTest, VerticalRangeFollowsAutoNorm) {
    OscState.DataMin = -40.0f;
    OscState.DataMax = 130.0f;
    OscSettings.D_min = 5.0f;
    OscSettings.D_max = 6.0f;
    RangeView range = VerticalRange();
    EXPECT_EQ(range.lower, -40.0f);
    EXPECT_EQ(range.upper, 130.0f);
    EXPECT_EQ(range.record, OscState.Record);
    OscSettings.AutoNorm = 0;
    range = VerticalRange();
    EXPECT_EQ(range.lower, 5.0f);
    EXPECT_EQ(range.upper, 6.0f);
    OscState.ViewMin = -1.0f;
    OscState.ViewMax = 2.0f;
    range = ViewRange();
    EXPECT_EQ(range.lower, -1.0f);
    EXPECT_EQ(range.upper, 2.0f);
}

TEST_F(ParametersTest, AutoNormRequestOnlyWhenOn) {
    OscState.AutoNormPending = 0;
    OscSettings.AutoNorm = 0;
    RequestAutoNorm();
    EXPECT_EQ(OscState.AutoNormPending, 0);
    OscSettings.AutoNorm = 1;
    RequestAutoNorm();
    EXPECT_EQ(OscState.AutoNormPending, 1);
}

}  // namespace
}  // namespace korvel
