// The oscillogram's drawing: a full redraw of a 65534-sample record, and the
// sub-window alone as a pan redraws it. Counter "allocs" is the number of
// heap allocations per drawing (it must stay 0).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "BenchTextEngine.h"
#include "app/ResetAll.h"
#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace {

std::atomic<int64_t> Allocations{0};

}  // namespace

// Counting replacements of the global allocation functions, weak so that
// another benchmark's own replacement may stand instead.
__attribute__((weak)) void* operator new(size_t size) {
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
__attribute__((weak)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((weak)) void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

// A captured 65534-sample record (the simulated source's square wave) on a
// canvas of the given size, fonts made, device set up.
void Prepare(int32_t width, int32_t height) {
    korvel::ResetAllRecords();
    korvel::InstallTextEngine(&korvel::bench::BenchTextEngine());
    korvel::CreatePlotFonts();
    korvel::OscState.DeviceReady = 1;
    uint32_t state = 1;
    for (int32_t i = 0; i < korvel::MaxData; ++i) {
        state = state * 214013u + 2531011u;
        const int32_t noise = static_cast<int32_t>((state >> 16) & 0x7FFF) * 30 / 32767;
        korvel::OscState.Record[i] =
            static_cast<float>((i % 1000 < 800 ? -40 : 100) + noise) * 7.8125f;
    }
    korvel::OscState.DataMin = korvel::OscSettings.D_min = -312.5f;
    korvel::OscState.DataMax = korvel::OscSettings.D_max = 1015.625f;
    korvel::PlotCanvas.Resize(width, height);
    korvel::RefreshPlot();
}

void ReportAllocations(benchmark::State& state, int64_t before) {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(Allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
}

void RefreshPlotBench(benchmark::State& state, int32_t width, int32_t height) {
    Prepare(width, height);
    const int64_t before = Allocations.load();
    for (auto _ : state) {
        korvel::RefreshPlot();
        benchmark::DoNotOptimize(korvel::PlotCanvas.Pixels());
    }
    ReportAllocations(state, before);
    korvel::ResetAllRecords();
}

void PanBench(benchmark::State& state) {
    Prepare(1920, 1080);
    const int64_t before = Allocations.load();
    int32_t start = 0;
    for (auto _ : state) {
        start = (start + 37) % 60000;
        korvel::SetSubWindow(start, start + 2000);
        benchmark::DoNotOptimize(korvel::PlotCanvas.Pixels());
    }
    ReportAllocations(state, before);
    korvel::ResetAllRecords();
}

}  // namespace

BENCHMARK_CAPTURE(RefreshPlotBench, 1920x1080, 1920, 1080)
    ->Name("RefreshPlot/1920x1080")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RefreshPlotBench, 1280x720, 1280, 720)
    ->Name("RefreshPlot/1280x720")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PanBench)->Name("DrawSubWindow/pan")->Unit(benchmark::kMicrosecond);
