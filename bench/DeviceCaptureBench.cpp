// Captures from libsigrok's demo device through the capture engine, beside
// ManualCapture of the simulated card: one manual capture, and the sustained
// rate of the oscillograph mode in samples per second.
//
// The demo device sends its samples in rounds 100 ms apart, as many as the
// wall clock has earned at its rate since the start. At 100 MHz a record of
// 65534 samples is earned well within the first round, so a record takes one
// round plus the engine's and the session's own time; any rate below
// 655.34 kHz needs more rounds (200 kHz: four). The rate is therefore the
// shortest the device allows, and the figures say what a record costs beyond
// the device's own pace.
//
// The engine's CaptureTick timer is stood in for by a loop that polls every
// 100 µs: short enough to add next to nothing to a record of 100 ms, long
// enough to leave the second core to the session's thread (a busy poll takes
// the same wall time on an idle machine and a whole core from everything else).
#include <benchmark/benchmark.h>

#ifdef KORVEL_HAVE_SIGROK

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "acquisition/CaptureEngine.h"
#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "acquisition/sigrok/SigrokInstrumentPort.h"
#include "app/ResetAll.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {
namespace {

constexpr uint64_t kDemoRateHz = 100000000;
constexpr auto kPollPause = std::chrono::microseconds(100);

// The upper bar with the "Oscillograf" box ticked: Start/Stop starts the mode.
class OscillographBar : public Controls {
  public:
    bool IsChecked(int32_t id) const override { return id == top::Oscillograf; }
};

bool OpenDemo(benchmark::State& state) {
    ResetAllRecords();
    Ports.instrument = &SigrokInstrumentPort();
    std::string error;
    if (!UseSource({"demo", "", "A0", kDemoRateHz}, error)) {
        state.SkipWithError(("the demo device does not open: " + error).c_str());
        return false;
    }
    OscSettings.Num_Data = static_cast<int32_t>(state.range(0));
    OscState.DeviceReady = 1;
    return true;
}

void CloseDemo() {
    std::string error;
    UseSource({}, error);
    ResetAllRecords();
}

// Ticks of the CaptureTick timer, pollPause apart, until the capture has ended.
void AwaitRecord(std::chrono::microseconds pollPause) {
    CaptureTick();
    while (OscState.CaptureBusy == 1) {
        std::this_thread::sleep_for(pollPause);
        CaptureTick();
    }
}

// F5 with the default settings and the demo device as the source: one record
// started, collected, processed and (once the plot exists) drawn.
void DeviceCapture(benchmark::State& state) {
    if (!OpenDemo(state)) return;
    for (auto _ : state) {
        OscState.ExtStart = 0;
        StartStop();
        AwaitRecord(kPollPause);
        benchmark::DoNotOptimize(OscState.Record);
        benchmark::ClobberMemory();
    }
    if (OscState.StepIdle != 1) state.SkipWithError("a capture did not end");
    CloseDemo();
}

// The oscillograph mode on the demo device: every iteration is one periodic
// capture, the next tick of timer 2 coming as soon as the record is in. The
// second argument is the pause between polls in ms: 0 polls every 100 µs
// (what the device and the engine allow), CaptureTickMs polls as the
// window's timer does. items_per_second is samples per second.
void DeviceOscillograph(benchmark::State& state) {
    if (!OpenDemo(state)) return;
    const auto pollPause =
        state.range(1) == 0 ? kPollPause : std::chrono::milliseconds(state.range(1));
    OscillographBar bar;
    Ports.topBar = &bar;
    OscState.ExtStart = 0;
    StartStop();
    if (OscState.OscRunning != 1) {
        state.SkipWithError("the oscillograph mode did not start");
        CloseDemo();
        return;
    }
    for (auto _ : state) {
        OscTimerTick();
        AwaitRecord(pollPause);
        benchmark::DoNotOptimize(OscState.Record);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * OscSettings.Num_Data);
    StopOscillograph();
    CloseDemo();
}

// The work is on the session's thread, not this one: the wall clock is what counts.
BENCHMARK(DeviceCapture)->Arg(MaxData)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DeviceOscillograph)
    ->Args({MaxData, 0})
    ->Args({MaxData, CaptureTickMs})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace korvel

#endif
