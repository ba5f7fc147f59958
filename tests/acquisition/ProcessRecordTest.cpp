#include "acquisition/ProcessRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "acquisition/ReferenceSignal.h"
#include "acquisition/SimulatedSource.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using ProcessRecordTest = test::CoreTest;

void SetFileRecord(const std::vector<float>& values) {
    OscState.FileView = 1;
    OscSettings.Num_Data = static_cast<int32_t>(values.size());
    std::copy(values.begin(), values.end(), OscState.FileData);
}

std::vector<float> RecordHead(int32_t n) {
    return std::vector<float>(OscState.Record, OscState.Record + n);
}

// The record's range, then the plot's.
std::vector<float> Ranges() {
    return {OscState.DataMin, OscState.DataMax, OscSettings.D_min, OscSettings.D_max};
}

std::vector<float> Processed(int32_t width) {
    OscSettings.Av_Over = width;
    ProcessRecord();
    return RecordHead(OscSettings.Num_Data);
}

TEST_F(ProcessRecordTest, MovingAverageAveragesWhatExistsNearTheEnds) {
    SetFileRecord({0, 3, 6, 9, 12});
    EXPECT_EQ(Processed(3), (std::vector<float>{1.5, 3, 6, 9, 10.5}));
    EXPECT_EQ(Processed(4), (std::vector<float>{1.5, 3, 4.5, 7.5, 9}));
    EXPECT_EQ(Processed(7), (std::vector<float>{4.5, 6, 6, 6, 7.5}));
    EXPECT_EQ(Processed(1), (std::vector<float>{0, 3, 6, 9, 12}));
    EXPECT_EQ(Processed(1000000), (std::vector<float>(5, 6.0f)));
    EXPECT_EQ(Processed(std::numeric_limits<int32_t>::max()), (std::vector<float>(5, 6.0f)));
    // A window of no samples cannot average: it is taken as no smoothing.
    EXPECT_EQ(Processed(0), Processed(1));
    EXPECT_EQ(Processed(-4), Processed(1));
}

TEST_F(ProcessRecordTest, AccumulatedCodesBecomeMillivoltsPerRecord) {
    OscSettings.Av_Over = 1;
    OscSettings.Acc_Over = 4;
    OscSettings.Num_Data = 3;
    OscSettings.ZeroLevel = 2.5f;
    OscState.AccBuffer[0] = -160;
    OscState.AccBuffer[1] = 400;
    OscState.AccBuffer[2] = 4;
    ProcessRecord();
    EXPECT_EQ(RecordHead(3), (std::vector<float>{-315, 778.75, 5.3125}));
}

TEST_F(ProcessRecordTest, RangeFollowsTheRecordAndAutoNormTheRange) {
    std::fill(OscState.FileData, OscState.FileData + 1000, 7.25f);
    OscState.Record[1000] = 99.0f;
    SetFileRecord(std::vector<float>(1000, 7.25f));
    OscState.SpectrumValid = 1;
    OscSettings.Av_Over = 5;
    OscSettings.D_min = -3.0f;
    OscSettings.D_max = 44.0f;
    ProcessRecord();
    EXPECT_EQ(RecordHead(1000), std::vector<float>(1000, 7.25f));
    EXPECT_EQ(OscState.Record[1000], 99.0f);  // past Num_Data nothing changes
    EXPECT_EQ(Ranges(), (std::vector<float>{7.25f, 7.25f, 7.25f, 7.25f}));
    EXPECT_EQ(OscState.SpectrumValid, 0);

    OscSettings.AutoNorm = 0;
    OscSettings.D_min = -3.0f;
    OscSettings.D_max = 44.0f;
    SetFileRecord({5, -2, 9, -2, 9});
    Processed(1);
    EXPECT_EQ(Ranges(), (std::vector<float>{-2.0f, 9.0f, -3.0f, 44.0f}));
}

TEST_F(ProcessRecordTest, RangeKeepsTheFirstOfEqualValuesAndPassesOverLaterNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    OscSettings.Av_Over = 1;
    SetFileRecord({1, nan, -3, 7, nan, 2, 0.5f, 6, -1, 4});
    ProcessRecord();
    EXPECT_EQ(OscState.DataMin, -3.0f);
    EXPECT_EQ(OscState.DataMax, 7.0f);
    SetFileRecord({nan, 1, 2, 3, 4, 5});
    ProcessRecord();
    EXPECT_TRUE(std::isnan(OscState.DataMin));
    EXPECT_TRUE(std::isnan(OscState.DataMax));

    // +0 and -0 are equal: whichever comes first stays. With a negative
    // conversion a zero sum gives -0, and a tiny one +0 once it underflows.
    OscState.FileView = 0;
    OscSettings.Conversion = -1.0f;
    OscSettings.Acc_Over = 4;
    OscSettings.Num_Data = 9;
    const float codes[] = {-20, -4, -4, -1e-45f, -4, 0, -4, -4, -4};
    std::copy(std::begin(codes), std::end(codes), OscState.AccBuffer);
    ProcessRecord();
    EXPECT_EQ(RecordHead(9), (std::vector<float>{5, 1, 1, 0, 1, 0, 1, 1, 1}));
    EXPECT_TRUE(std::signbit(OscState.Record[5]));
    EXPECT_FALSE(std::signbit(OscState.DataMin));
    const float falling[] = {20, 4, 4, 0, 4, -1e-45f, 4, 4, 4};  // -5, -1, -1, -0, -1, +0, ...
    std::copy(std::begin(falling), std::end(falling), OscState.AccBuffer);
    ProcessRecord();
    EXPECT_EQ(OscState.DataMax, 0.0f);
    EXPECT_TRUE(std::signbit(OscState.DataMax));
}

TEST_F(ProcessRecordTest, NoSamplesLeaveEverythingButTheSpectrumMark) {
    OscState.Record[0] = 4.0f;
    OscState.AccBuffer[0] = 1000.0f;
    OscState.DataMin = -1.0f;
    OscState.DataMax = 1.0f;
    for (int32_t length : {0, -3}) {
        OscSettings.Num_Data = length;
        OscState.SpectrumValid = 1;
        ProcessRecord();
        EXPECT_EQ(OscState.SpectrumValid, 0);
        EXPECT_EQ(OscState.Record[0], 4.0f);
        EXPECT_EQ(OscState.DataMin, -1.0f);
        EXPECT_EQ(OscSettings.D_max, 100.0f);
        OscSettings.ZeroLevel = 5.0f;
        SetZeroLevel();
        EXPECT_EQ(OscSettings.ZeroLevel, 0.0f);
    }
    // A length past the buffers is held to them; no accumulation means one record.
    OscSettings.Num_Data = MaxData + 10;
    OscSettings.Acc_Over = 0;
    OscSettings.Av_Over = 1;
    ProcessRecord();
    EXPECT_EQ(OscState.Record[0], 7812.5f);
    EXPECT_EQ(OscState.DataMax, 7812.5f);
}

TEST_F(ProcessRecordTest, RunningWindowGivesTheFloatsOfFreshWindowSums) {
    const std::vector<float> codes = test::ReferenceSignal().NextSum(MaxData, 3);
    // With one overload glitch: a sum that adds and subtracts in double keeps
    // what the glitch rounded away long after it has left the window.
    std::vector<float> text = test::TextFileRecord(MaxData, 3, 250.0, 0.003);
    text[30000] = 3.0e11f;
    for (bool fromFile : {false, true}) {
        if (fromFile) {
            SetFileRecord(text);
            OscSettings.ZeroLevel = 0.3f;
        } else {
            std::copy(codes.begin(), codes.end(), OscState.AccBuffer);
            OscSettings.Acc_Over = 3;
            OscSettings.ZeroLevel = 1.7f;
        }
        for (int32_t width : {1, 2, 3, 4, 101, 10001, 70001}) {
            const std::vector<float> got = Processed(width);
            const test::DirectAverage direct{(fromFile ? text : codes).data(),
                                             MaxData,
                                             width,
                                             fromFile,
                                             7.8125,
                                             fromFile ? 1.0 : 3.0,
                                             OscSettings.ZeroLevel};
            // Windows wider than the record cost a whole record each: a sample of them.
            const int32_t stride = width > MaxData ? 17 : 1;
            for (int32_t i = 0; i < MaxData; i += stride) {
                ASSERT_EQ(std::bit_cast<uint32_t>(got[i]), std::bit_cast<uint32_t>(direct(i)))
                    << (fromFile ? "file" : "capture") << " width " << width << " output " << i;
            }
        }
    }
}

TEST_F(ProcessRecordTest, SetZeroTakesTheMeanOfTheRecordWithoutOffset) {
    OscSettings.ZeroLevel = 40.0f;
    int32_t counter = 0;
    AcquireRecord(AcquireCapture, counter);
    ProcessRecord();

    // The record as processing makes it, and its mean, found the plain way.
    const std::vector<float> codes = test::ReferenceSignal().NextSum(MaxData, 1);
    const test::DirectAverage direct{codes.data(), MaxData, 3, false};
    std::vector<float> plain(MaxData);
    double sum = 0.0;
    for (int32_t i = 0; i < MaxData; ++i)
        sum += plain[i] = direct(i);
    const auto mean = static_cast<float>(sum / MaxData);

    SetZeroLevel();
    EXPECT_EQ(OscSettings.ZeroLevel, mean);
    EXPECT_NEAR(OscSettings.ZeroLevel, 18.3002, 1e-4);
    EXPECT_EQ(RecordHead(MaxData), plain);  // the shown record keeps no offset for now

    ProcessRecord();
    const test::DirectAverage shifted{codes.data(), MaxData, 3, false, 7.8125, 1.0, mean};
    for (int32_t i = 0; i < MaxData; ++i)
        ASSERT_EQ(OscState.Record[i], shifted(i)) << i;
}

}  // namespace
}  // namespace korvel
