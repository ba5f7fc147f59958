#include "model/Parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/SettingsBounds.h"
#include "model/TestTables.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using ParametersTest = test::CoreTest;
using S = OscSettingsRecord;

TEST_F(ParametersTest, SetParamConvertsRefusesAndKeepsTheDerivedValues) {
    const int32_t rows = test::ForEachRow("model/set_param.txt", [](std::istringstream& row) {
        std::string name;
        const auto id = static_cast<uint32_t>(test::Number(row));
        row >> name;
        SetParam(id, test::Numbers(row)[0]);
        const std::vector<double> want = test::Numbers(row);
        const ParamRef ref = GetParam(id);
        EXPECT_EQ(ref.type == ParamType::Float ? *ref.floatField : *ref.intField,
                  static_cast<float>(want[0]));
        EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(want[1]));
    });
    EXPECT_EQ(rows, 17);
    SetParam(ParamBaseAddr, 0x310);
    SetParam(ParamAmplitude, 1000.0);
    EXPECT_EQ(std::tuple(OscState.PrevBaseAddr, OscSettings.BaseAddr, OscSettings.Conversion),
              std::tuple(0x300, 0x310, 3.90625f));
    // Ids outside the table, and a number for the block of dividers, change nothing.
    const OscSettingsRecord before = OscSettings;
    for (uint32_t id : {21u, 0xFFFFFFFFu, uint32_t{ParamFreqDividers}})
        SetParam(id, 5.0);
    SetParam(21, {3, 3, 3, 3});
    EXPECT_EQ(std::memcmp(&before, &OscSettings, sizeof before), 0);
    EXPECT_EQ(GetParam(21).type, ParamType::None);
}

TEST_F(ParametersTest, DividersFrequencyListIndexAndTime) {
    auto list = [] {
        std::string items;
        char text[32];
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
    // A divider that is not positive keeps its value, as one that would make
    // a period infinite: 1e9 under 1e-30 MHz is 1e39 us.
    SetParam(ParamFreqDividers, {0, -2, 6, 9});
    EXPECT_EQ(list(), "80 Mhz;26.6667 Mhz;13.3333 Mhz;8.88889 Mhz;");
    SetParam(ParamBaseFreq, 1e-30);
    SetParam(ParamFreqDividers, {1000000000, 3, 6, 9});
    EXPECT_EQ(OscSettings.FreqDiv[0], 1);
    SetParam(ParamBaseFreq, 80.0);
    // An index outside 0..3 selects the nearest.
    for (const auto& [k, index, periodUs] :
         {std::tuple{7, 3, 0.1125f}, {-1, 0, 0.0125f}, {2, 2, 0.075f}}) {
        SetFrequencyIndex(k);
        EXPECT_EQ(std::pair(OscSettings.Korv_Freq, OscState.SamplePeriod),
                  std::pair(index, periodUs));
    }
    EXPECT_DOUBLE_EQ(IndexToTime(200), 200 * double{0.075f});
    EXPECT_DOUBLE_EQ(TimeToIndex(10.0), 10.0 / double{0.075f});
    // The default period held as a float lies just above 0.0125: 10 us is 799.99... samples.
    SetFrequencyIndex(0);
    EXPECT_EQ(static_cast<int>(TimeToIndex(10.0)), 799);
}

TEST_F(ParametersTest, VerticalRangesAndTheAutoNormRequest) {
    OscState = {};
    OscState.DataMax = 130.0f;
    OscState.ViewMax = 2.0f;
    OscSettings.D_max = 6.0f;
    auto ranges = [] {
        RequestAutoNorm();
        return std::tuple(VerticalRange().upper, ViewRange().upper, OscState.AutoNormPending);
    };
    EXPECT_EQ(ranges(), std::tuple(130.0f, 2.0f, 1));
    OscSettings.AutoNorm = 0;
    OscState.AutoNormPending = 0;
    EXPECT_EQ(ranges(), std::tuple(6.0f, 2.0f, 0));
    EXPECT_EQ(VerticalRange().record, OscState.Record);
}

// Values from korvel.ini or a companion file, one field at a time: counts
// below 1 take the default, counts too large the limit; indices and sizes the
// nearest; flags 0 or 1; numbers that are no numbers the default.
TEST_F(ParametersTest, SettingsFromOutsideAreBroughtIntoRange) {
    const std::tuple<int32_t S::*, int32_t, int32_t> ints[] = {
        // clang-format off
        {&S::Korv_Freq, 4, 0},        {&S::Korv_Freq, -1, 0},       {&S::Korv_Freq, 3, 3},
        {&S::Acc_Over, 0, 1},         {&S::Acc_Over, 100001, 100000}, {&S::Acc_Over, 100000, 100000},
        {&S::Av_Over, 0, 3},          {&S::Av_Over, 1, 1},          {&S::Av_Over, 1000001, 1000000},
        {&S::Num_Data, 0, 65534},     {&S::Num_Data, 1, 1},         {&S::Num_Data, 65535, 65534},
        {&S::Labels_X, 0, 10},        {&S::Labels_X, 101, 100},     {&S::Labels_Y, 100, 100},
        {&S::V_Acc, 0, 1},            {&S::V_Acc, 10, 9},           {&S::T_Acc, 9, 9},
        {&S::LFontSize, -1, 0},       {&S::LFontSize, 11, 10},      {&S::MFontSize, 10, 10},
        {&S::Prehistory, -1, 0},      {&S::Prehistory, 256, 255},   {&S::Data_S, 65534, 65533},
        {&S::Data_E, -5, 0},          {&S::AutoNorm, 0, 0},         {&S::Bipolar, -1, 1},
        {&S::Invert, 2, 1},           {&S::Grid, 1, 1},             {&S::Osc_Mode, 5, 1},
        // clang-format on
    };
    for (const auto& [field, given, held] : ints) {
        ResetOscSettings();
        OscSettings.*field = given;
        BringSettingsIntoRange();
        EXPECT_EQ(OscSettings.*field, held) << given;
    }
    const std::tuple<float S::*, float, float> floats[] = {
        // clang-format off
        {&S::BaseFreq, 0, 80},      {&S::BaseFreq, 1e-44f, 80},   {&S::BaseFreq, 1e-30f, 1e-30f},
        {&S::Osc_Freq, 0, 2},       {&S::Osc_Freq, NAN, 2},       {&S::Osc_Freq, 5000, 1000},
        {&S::Osc_Freq, 0.5f, 0.5f}, {&S::D_min, -INFINITY, 0},    {&S::D_max, NAN, 100},
        {&S::Amplitude, INFINITY, 2000}, {&S::Conversion, NAN, 7.8125f}, {&S::ZeroLevel, NAN, 0},
        // clang-format on
    };
    for (const auto& [field, given, held] : floats) {
        ResetOscSettings();
        OscSettings.*field = given;
        BringSettingsIntoRange();
        EXPECT_EQ(OscSettings.*field, held) << given;
    }
    // A divider of 0 or less takes its default; then the clock must give all four a period.
    ResetOscSettings();
    std::copy_n(std::begin({0, -2, 4, 1000000000}), 4, OscSettings.FreqDiv);
    OscSettings.BaseFreq = 1e-30f;
    BringSettingsIntoRange();
    EXPECT_EQ(std::vector<int32_t>(OscSettings.FreqDiv, OscSettings.FreqDiv + 4),
              (std::vector<int32_t>{1, 2, 4, 1000000000}));
    EXPECT_EQ(OscSettings.BaseFreq, 80.0f);
}

}  // namespace
}  // namespace korvel
