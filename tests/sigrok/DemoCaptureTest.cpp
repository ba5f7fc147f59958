// The capture engine on libsigrok's demo device: records through the window's
// own steps (Start/Stop, the CaptureTick timer, the oscillograph's timer) whose
// figures are what the demo was set to: a sine of 2.5 V amplitude, 20 samples
// a period, at 1 MHz.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/RecordMeasurements.h"
#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "acquisition/sigrok/SigrokInstrument.h"
#include "acquisition/sigrok/SigrokInstrumentPort.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using namespace std::chrono_literals;

class DemoCapture : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        Ports.instrument = &SigrokInstrumentPort();
        Use("A0", 1000000);
        ports.topBar[top::Accumulator].text = "1";
        ports.bottomBar[bottom::Average].text = "1";
        OscSettings.Num_Data = 4000;
    }
    void TearDown() override {
        UseSource({}, error_);
        CoreTest::TearDown();
    }
    void Use(const std::string& channel, uint64_t rateHz) {
        ASSERT_TRUE(UseSource({"demo", "", channel, rateHz}, error_)) << error_;
        auto& demo = static_cast<SigrokInstrument&>(SigrokInstrumentPort());
        ASSERT_TRUE(demo.SetDemoPattern("sine", 2.5, error_)) << error_;
    }
    // The CaptureTick timer's ticks until the capture has ended (a minute at most).
    void AwaitCapture() {
        const auto giveUp = std::chrono::steady_clock::now() + 60s;
        while (OscState.CaptureBusy == 1 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(1ms);
            CaptureTick();
        }
        ASSERT_EQ(OscState.CaptureBusy, 0) << "no record within a minute";
    }
    std::vector<float> Capture() {
        OscState.ExtStart = 0;
        CaptureStep();
        AwaitCapture();
        return {OscState.Record, OscState.Record + OscSettings.Num_Data};
    }
    std::string error_;
};

TEST_F(DemoCapture, ARecordIsTheDemosSineInMillivoltsAtItsRate) {
    const std::vector<float> record = Capture();
    EXPECT_TRUE(ports.dialogs.messages.empty());
    ASSERT_EQ(record.size(), 4000u);
    EXPECT_EQ(OscState.SamplePeriod, 1.0f);
    EXPECT_EQ(OscSettings.Conversion, 1.0f);
    const RecordMeasurements m = MeasureRecord(record.data(), 4000, OscState.SamplePeriod);
    EXPECT_EQ(m.maximumMv, 2500.0f);
    EXPECT_EQ(m.minimumMv, -2500.0f);
    EXPECT_EQ(m.peakToPeakMv, 5000.0);
    // 1 MHz / 20 samples, to within the parabola's refinement of a 0.244 kHz bin.
    ASSERT_TRUE(m.hasLine);
    EXPECT_NEAR(m.lineKHz, 50.0, 0.01);
    EXPECT_NEAR(m.periodUs, 20.0, 0.005);
    // The demo works out each sample anew: a period later the same to a
    // millionth of a millivolt (sin 2 pi is not quite 0 in doubles).
    for (size_t i = 0; i + 20 < record.size(); ++i)
        ASSERT_NEAR(record[i], record[i + 20], 1e-6) << i;

    // Four records summed and averaged back; the moving average as on any record.
    ports.topBar[top::Accumulator].text = "4";
    ports.bottomBar[bottom::Average].text = "3";
    const std::vector<float> averaged = Capture();
    EXPECT_EQ(OscState.AccBuffer[5], 4 * 2500.0f);
    EXPECT_EQ(OscState.RecordsReady, 2);
    for (const size_t i : {1u, 5u, 12u, 3998u})
        EXPECT_FLOAT_EQ(averaged[i], (record[i - 1] + record[i] + record[i + 1]) / 3) << i;
}

TEST_F(DemoCapture, TheOscillographRunsTenRecordsThenStops) {
    ports.topBar[top::Oscillograf].checked = true;
    OscSettings.Osc_Freq = 100.0f;
    StartStop();
    ASSERT_EQ(OscState.OscRunning, 1);
    while (OscState.RecordsReady < 10) {
        OscTimerTick();
        AwaitCapture();
    }
    StartStop();
    EXPECT_EQ(OscState.OscRunning, 0);
    EXPECT_EQ(OscState.RecordsReady, 10);
    EXPECT_EQ(OscState.Record[5], 2500.0f);
    EXPECT_TRUE(ports.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvel
