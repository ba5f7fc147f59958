// ProcessRecord on a whole captured record for a narrow and a wide moving
// average, beside one plain summing pass over the same buffer (the floor any
// processing pays) and one whole manual capture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/SimulatedSource.h"
#include "app/ResetAll.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel {
namespace {

void CapturedRecord() {
    ResetAllRecords();
    int32_t counter = 0;
    AcquireRecord(AcquireCapture, counter);
}

// Millivolts as a text file holds them: their finest bits lie far below their
// largest values, so the window sums need 128-bit units.
void TextFileRecord() {
    ResetAllRecords();
    char text[32];
    for (int32_t i = 0; i < MaxData; ++i) {
        std::snprintf(text, sizeof text, "%g", 250.0 * std::sin(i * 0.003) + (i % 7) * 0.37);
        OscState.FileData[i] = std::strtof(text, nullptr);
    }
    OscState.FileView = 1;
}

void ProcessCaptured(benchmark::State& state) {
    CapturedRecord();
    OscSettings.Av_Over = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        ProcessRecord();
        benchmark::DoNotOptimize(OscState.Record);
        benchmark::ClobberMemory();
    }
    ResetAllRecords();
}

void ProcessTextFile(benchmark::State& state) {
    TextFileRecord();
    OscSettings.Av_Over = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        ProcessRecord();
        benchmark::DoNotOptimize(OscState.Record);
        benchmark::ClobberMemory();
    }
    ResetAllRecords();
}

// One pass summing AccBuffer in double, as a fresh window sum does.
void PlainPass(benchmark::State& state) {
    CapturedRecord();
    for (auto _ : state) {
        double sum = 0.0;
        for (int32_t i = 0; i < MaxData; ++i)
            sum += OscState.AccBuffer[i];
        benchmark::DoNotOptimize(sum);
        benchmark::ClobberMemory();
    }
    ResetAllRecords();
}

// F5 with the default settings: one record captured, processed and (once the
// plot exists) drawn.
void ManualCapture(benchmark::State& state) {
    ResetAllRecords();
    OscSettings.Num_Data = static_cast<int32_t>(state.range(0));
    OscState.DeviceReady = 1;
    for (auto _ : state) {
        OscState.ExtStart = 0;
        StartStop();
        benchmark::DoNotOptimize(OscState.Record);
        benchmark::ClobberMemory();
    }
    ResetAllRecords();
}

BENCHMARK(ProcessCaptured)->Name("ProcessRecord")->Arg(3)->Arg(101)->Arg(10001);
BENCHMARK(ProcessTextFile)->Name("ProcessRecordTextFile")->Arg(3)->Arg(10001);
BENCHMARK(PlainPass)->Name("ProcessRecordPlainPass");
BENCHMARK(ManualCapture)->Name("ManualCapture")->Arg(MaxData);

}  // namespace
}  // namespace korvel
