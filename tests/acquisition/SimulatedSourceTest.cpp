#include "acquisition/SimulatedSource.h"

#include <gtest/gtest.h>

#include <vector>

#include "acquisition/ReferenceSignal.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using SimulatedSourceTest = test::CoreTest;

std::vector<float> AccBufferHead(int32_t n) {
    return std::vector<float>(OscState.AccBuffer, OscState.AccBuffer + n);
}

TEST_F(SimulatedSourceTest, FirstRecordIsTheSquareWaveOfTheGenerator) {
    int32_t counter = 0;
    EXPECT_EQ(AcquireRecord(AcquireCapture, counter), 1);  // Acc_Over 1: complete at once
    EXPECT_EQ(counter, 1);

    EXPECT_EQ(AccBufferHead(8), (std::vector<float>{-40, -24, -35, -16, -23, -26, -30, -14}));
    EXPECT_EQ(std::vector<float>(OscState.AccBuffer + 800, OscState.AccBuffer + 804),
              (std::vector<float>{104, 119, 116, 129}));
    for (int32_t i = 0; i < MaxData; ++i) {
        const float v = OscState.AccBuffer[i];
        if (i % 1000 < 800) {
            ASSERT_TRUE(v >= -40 && v <= -10) << i;
        } else {
            ASSERT_TRUE(v >= 100 && v <= 130) << i;
        }
    }
    EXPECT_EQ(AccBufferHead(MaxData), test::ReferenceSignal().NextSum(MaxData, 1));
}

TEST_F(SimulatedSourceTest, InvertFlipsEverySign) {
    OscSettings.Invert = 1;
    int32_t counter = 0;
    AcquireRecord(AcquireCapture, counter);
    EXPECT_EQ(OscState.AccBuffer[0], 40.0f);
    EXPECT_EQ(OscState.AccBuffer[800], -104.0f);
    EXPECT_EQ(AccBufferHead(MaxData), test::ReferenceSignal().NextSum(MaxData, 1, true));
}

TEST_F(SimulatedSourceTest, CaptureAccumulatesAndCompletesOnlyOnEquality) {
    OscSettings.Acc_Over = 3;
    OscSettings.Num_Data = 2000;
    test::ReferenceSignal reference;
    int32_t counter = 0;
    EXPECT_EQ(AcquireRecord(AcquireCapture, counter), 0);
    EXPECT_EQ(AcquireRecord(AcquireCapture, counter), 0);
    EXPECT_EQ(AcquireRecord(AcquireCapture, counter), 1);
    EXPECT_EQ(AccBufferHead(2000), reference.NextSum(2000, 3));
    EXPECT_EQ(OscState.AccBuffer[2000], 0.0f);  // past Num_Data nothing is written

    // Counter 0 starts afresh; a counter already past Acc_Over never completes.
    counter = 0;
    AcquireRecord(AcquireCapture, counter);
    EXPECT_EQ(AccBufferHead(2000), reference.NextSum(2000, 1));
    counter = 4;
    EXPECT_EQ(AcquireRecord(AcquireCapture, counter), 0);
    EXPECT_EQ(counter, 5);
}

TEST_F(SimulatedSourceTest, ExternalRunCountsAndThePollLagsOneBehind) {
    OscSettings.Acc_Over = 2;
    OscSettings.Num_Data = 1000;
    int32_t counter = 7;
    EXPECT_EQ(PollTrigger(counter), 2);  // not armed: cancelled, no record drawn
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(OscState.AccBuffer[0], 0.0f);

    OscState.ExtArmed = 1;
    OscState.AccCount = 5;
    OscState.AccDone = 1;
    EXPECT_EQ(AcquireRecord(AcquireReset, counter), 0);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(OscState.AccCount, 0);
    EXPECT_EQ(OscState.AccDone, 0);

    test::ReferenceSignal reference;
    EXPECT_EQ(PollTrigger(counter), 0);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(OscState.AccCount, 1);
    EXPECT_EQ(PollTrigger(counter), 1);
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(OscState.AccCount, 2);
    EXPECT_EQ(AccBufferHead(1000), reference.NextSum(1000, 2));

    counter = 0;
    EXPECT_EQ(AcquireRecord(AcquireQuery, counter), 0);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(AcquireRecord(42, counter), 0);
    EXPECT_EQ(counter, 2);
}

TEST_F(SimulatedSourceTest, EveryActionLeavesTheFileView) {
    for (int32_t action : {0, 1, 2, 3, 9}) {
        OscState.FileView = 1;
        OscSettings.Num_Data = 12;
        OscState.LoadedLength = 12;
        OscState.TimeOffset = 3.5f;
        OscSettings.Korv_Freq = 2;
        OscState.SamplePeriod = 0.7f;
        int32_t counter = 0;
        AcquireRecord(action, counter);
        EXPECT_EQ(OscState.FileView, 0) << action;
        EXPECT_EQ(OscSettings.Num_Data, MaxData) << action;
        EXPECT_EQ(OscState.LoadedLength, MaxData) << action;
        EXPECT_EQ(OscState.TimeOffset, 0.0f) << action;
        EXPECT_EQ(OscState.SamplePeriod, 0.05f) << action;  // 4 / 80 MHz
    }
}

TEST_F(SimulatedSourceTest, DeviceIsSetUpOnceButConversionFollowsAmplitudeEveryTime) {
    OscState.Record[0] = 5.0f;
    OscState.Record[MaxData - 1] = 6.0f;
    OscSettings.Amplitude = 1000.0f;
    OscState.DeviceVersion = 3;
    EXPECT_EQ(DeviceSetup(), 1);
    EXPECT_EQ(OscState.Record[0], 0.0f);
    EXPECT_EQ(OscState.Record[MaxData - 1], 0.0f);
    EXPECT_EQ(OscSettings.Conversion, 3.90625f);
    EXPECT_EQ(OscState.DeviceVersion, 255);

    OscState.Record[0] = 5.0f;
    OscSettings.Amplitude = 512.0f;
    EXPECT_EQ(DeviceSetup(), 0);
    EXPECT_EQ(OscState.Record[0], 5.0f);
    EXPECT_EQ(OscSettings.Conversion, 2.0f);
}

}  // namespace
}  // namespace korvel
