// The libsigrok instrument against libsigrok's demo device. Its analog
// channels repeat a wave of 20 samples (the square wave of A0: 5 samples
// low, 5 high) at any rate, with the amplitude set in volts (10 V unless
// set), so the records' figures are known exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/sigrok/SampleRateSeries.h"
#include "acquisition/sigrok/SigrokInstrument.h"

namespace korvel {
namespace {

using namespace std::chrono_literals;

constexpr float kUnwritten = -12345.0f;

// Polls as the engine's timer does, until the record is no longer under way;
// a record that never ends fails the test instead of hanging it.
InstrumentPoll Await(SigrokInstrument& instrument, std::vector<float>& samples,
                     std::string& error) {
    const auto giveUp = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < giveUp) {
        const InstrumentPoll poll = instrument.Poll(samples.data(), error);
        if (poll != InstrumentPoll::Running) return poll;
        std::this_thread::sleep_for(1ms);
    }
    ADD_FAILURE() << "the record did not end within 60 s";
    instrument.Cancel();
    return InstrumentPoll::Running;
}

// A record of count samples in a buffer one longer, whose last entry shows
// whether anything was written past the record.
std::vector<float> Record(SigrokInstrument& instrument, int32_t count) {
    std::vector<float> samples(static_cast<size_t>(count) + 1, kUnwritten);
    std::string error;
    EXPECT_TRUE(instrument.Start(count, false, error)) << error;
    EXPECT_EQ(Await(instrument, samples, error), InstrumentPoll::Ready) << error;
    EXPECT_EQ(samples.back(), kUnwritten);
    samples.pop_back();
    return samples;
}

void OpenDemo(SigrokInstrument& instrument, const std::string& channel, uint64_t rateHz) {
    std::string error;
    InstrumentDevice device;
    ASSERT_TRUE(instrument.Open({"demo", "", channel, rateHz}, device, error)) << error;
    ASSERT_EQ(instrument.SampleRateHz(), rateHz);
}

TEST(SigrokInstrument, ScanFindsTheDemoDeviceWithItsAnalogChannelsAndRates) {
    SigrokInstrument instrument;
    std::string error;
    ASSERT_TRUE(instrument.Available(error)) << error;

    const std::vector<InstrumentDevice> all = instrument.Scan("", "", error);
    const auto demo = std::find_if(all.begin(), all.end(),
                                   [](const InstrumentDevice& d) { return d.driver == "demo"; });
    ASSERT_NE(demo, all.end());
    EXPECT_EQ(demo->model, "Demo device");
    EXPECT_EQ(demo->connection, "");
    // Its eight logic channels are not offered.
    EXPECT_EQ(demo->channels, (std::vector<std::string>{"A0", "A1", "A2", "A3", "A4"}));
    // 1 Hz to 1 GHz in steps of 1 Hz, as the 1-2-5 series: 28 rates.
    EXPECT_EQ(demo->sampleRatesHz, SampleRateSeries(1, 1000000000, 1));
    EXPECT_EQ(demo->sampleRatesHz.size(), 28u);
    EXPECT_FALSE(demo->externalTrigger);

    const std::vector<InstrumentDevice> named = instrument.Scan("demo", "", error);
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].channels, demo->channels);

    error.clear();
    EXPECT_TRUE(instrument.Scan("nosuch", "", error).empty());
    EXPECT_EQ(error, "no driver called nosuch");
    EXPECT_TRUE(instrument.Scan("", "tcp-raw/192.0.2.1/5555", error).empty());
    EXPECT_EQ(error, "a connection needs the name of its driver");
}

TEST(SigrokInstrument, OpenSetsChannelAndRateOrSaysWhatTheDeviceLacks) {
    SigrokInstrument instrument;
    std::string error;
    InstrumentDevice device;

    // The device's own rate is the demo's 200 kHz, and the first analog channel is A0.
    ASSERT_TRUE(instrument.Open({"demo", "", "", 0}, device, error)) << error;
    EXPECT_EQ(instrument.SampleRateHz(), 200000u);
    EXPECT_EQ(device.channels.front(), "A0");
    EXPECT_EQ(device.sampleRatesHz.size(), 28u);

    // A rate off the 1-2-5 series is in force among the device's rates.
    ASSERT_TRUE(instrument.Open({"demo", "", "A3", 3000000}, device, error)) << error;
    EXPECT_EQ(instrument.SampleRateHz(), 3000000u);
    ASSERT_EQ(device.sampleRatesHz.size(), 29u);
    EXPECT_EQ(device.sampleRatesHz[19], 2000000u);
    EXPECT_EQ(device.sampleRatesHz[20], 3000000u);
    EXPECT_EQ(device.sampleRatesHz[21], 5000000u);

    struct Row {
        InstrumentChoice choice;
        const char* error;
    };
    const Row rows[] = {
        {{"nosuch", "", "A0", 0}, "no driver called nosuch"},
        {{"demo", "usb/9.9", "A0", 0}, "no demo device found at usb/9.9"},
        {{"demo", "", "A9", 0}, "the device has no analog channel called A9"},
        {{"demo", "", "D0", 0}, "the device has no analog channel called D0"},
        {{"demo", "", "A0", 2000000000}, "the device refuses the sample rate 2000000000 Hz"},
    };
    for (const Row& row : rows) {
        error.clear();
        EXPECT_FALSE(instrument.Open(row.choice, device, error)) << row.error;
        EXPECT_EQ(error, row.error);
        // The device open before is closed.
        EXPECT_FALSE(instrument.Start(100, false, error));
        EXPECT_EQ(error, "no instrument is open");
        EXPECT_EQ(instrument.SampleRateHz(), 0u);
    }
}

TEST(SigrokInstrument, RecordsHoldTheDemoWavesInMillivolts) {
    SigrokInstrument instrument;
    std::string error;
    OpenDemo(instrument, "A0", 1000000);

    // The square wave at the demo's own 10 V: 5 samples at -10000 mV, 5 at
    // +10000 mV. (libsigrok 0.5.2's demo device keeps a square wave whole
    // only at 10 V and only as its channel's first wave: at another
    // amplitude it shrinks it by amplitude / 10 V every 1020 samples.)
    ASSERT_TRUE(instrument.SetDemoPattern("square", 10.0, error)) << error;
    const std::vector<float> square = Record(instrument, 4000);
    ASSERT_EQ(square.size(), 4000u);
    for (size_t i = 0; i < square.size(); ++i)
        ASSERT_EQ(square[i], i % 10 < 5 ? -10000.0f : 10000.0f) << i;

    // 2.5 V sine: sample 5 of each period is sin(pi/2) = 1 exactly, sample
    // 15 is -1, so the peak-to-peak value is 5000 mV to the last bit.
    ASSERT_TRUE(instrument.SetDemoPattern("sine", 2.5, error)) << error;
    const std::vector<float> sine = Record(instrument, 4000);
    ASSERT_EQ(sine.size(), 4000u);
    EXPECT_EQ(sine[0], 0.0f);
    EXPECT_EQ(sine[5], 2500.0f);
    EXPECT_EQ(sine[15], -2500.0f);
    EXPECT_EQ(*std::max_element(sine.begin(), sine.end()), 2500.0f);
    EXPECT_EQ(*std::min_element(sine.begin(), sine.end()), -2500.0f);
    EXPECT_NEAR(sine[1], 2500.0 * std::sin(2 * M_PI / 20), 0.001);
    for (size_t i = 0; i + 20 < sine.size(); ++i)
        ASSERT_NEAR(sine[i], sine[i + 20], 0.001) << i;

    // The next record is a record of its own, the wave from its start again.
    EXPECT_EQ(Record(instrument, 4000), sine);
    // Poll after the record has been delivered: nothing is under way.
    std::vector<float> none(4000, kUnwritten);
    EXPECT_EQ(instrument.Poll(none.data(), error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record under way");
    EXPECT_EQ(none[0], kUnwritten);
    instrument.Cancel();

    error.clear();
    EXPECT_FALSE(instrument.SetDemoPattern("zigzag", 1.0, error));
    EXPECT_EQ(error.rfind("the device refuses the pattern zigzag", 0), 0u) << error;
}

TEST(SigrokInstrument, StartRefusesWhatItCannotRecord) {
    SigrokInstrument instrument;
    std::string error;
    EXPECT_FALSE(instrument.Start(100, false, error));
    EXPECT_EQ(error, "no instrument is open");
    OpenDemo(instrument, "A1", 1000000);
    EXPECT_FALSE(instrument.Start(0, false, error));
    EXPECT_EQ(error, "a record needs at least one sample");
    EXPECT_FALSE(instrument.Start(-5, false, error));
    EXPECT_EQ(error, "a record needs at least one sample");
    EXPECT_FALSE(instrument.Start(100, true, error));
    EXPECT_EQ(error, "the device has no trigger input");
    std::vector<float> samples(100);
    EXPECT_EQ(instrument.Poll(samples.data(), error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record under way");
}

TEST(SigrokInstrument, CancelAndCloseStopARecordUnderWay) {
    SigrokInstrument instrument;
    std::string error;
    instrument.Cancel();  // nothing runs yet
    OpenDemo(instrument, "A0", 1000);

    // A record of 65534 samples at 1 kHz takes a minute.
    std::vector<float> samples(65534, kUnwritten);
    ASSERT_TRUE(instrument.Start(65534, false, error)) << error;
    for (int poll = 0; poll < 3; ++poll) {
        EXPECT_EQ(instrument.Poll(samples.data(), error), InstrumentPoll::Running);
        std::this_thread::sleep_for(5ms);
    }
    instrument.Cancel();
    EXPECT_EQ(instrument.Poll(samples.data(), error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record under way");
    EXPECT_EQ(samples[0], kUnwritten);
    instrument.Cancel();

    // The device records again after a cancel: 20 samples at 1 kHz.
    const std::vector<float> after = Record(instrument, 20);
    EXPECT_EQ(after[0], -10000.0f);
    EXPECT_EQ(after[19], 10000.0f);

    // Close stops a record under way too, and leaves no device open.
    ASSERT_TRUE(instrument.Start(65534, false, error)) << error;
    instrument.Close();
    EXPECT_EQ(instrument.Poll(samples.data(), error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record under way");
    EXPECT_FALSE(instrument.Start(10, false, error));
    EXPECT_EQ(error, "no instrument is open");
    instrument.Close();

    // The destructor of an instrument with a record under way stops it.
    SigrokInstrument another;
    OpenDemo(another, "A2", 1000);
    ASSERT_TRUE(another.Start(65534, false, error)) << error;
}

TEST(SigrokInstrument, ARecordThatDoesNotComeInTimeFails) {
    SigrokInstrument instrument;
    std::string error;
    OpenDemo(instrument, "A0", 1000);
    // 4000 samples at 1 kHz take 4 s; the device has 0.2 s.
    instrument.SetRecordTimeout(200ms);
    std::vector<float> samples(4000, kUnwritten);
    ASSERT_TRUE(instrument.Start(4000, false, error)) << error;
    EXPECT_EQ(Await(instrument, samples, error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record from the device within 0.2 s");
    EXPECT_EQ(samples[0], kUnwritten);
    EXPECT_EQ(instrument.Poll(samples.data(), error), InstrumentPoll::Failed);
    EXPECT_EQ(error, "no record under way");

    // Back to the time-out from the record's length: 5 s for 10 samples.
    instrument.SetRecordTimeout(0ms);
    EXPECT_EQ(Record(instrument, 10).size(), 10u);
}

}  // namespace
}  // namespace korvel
