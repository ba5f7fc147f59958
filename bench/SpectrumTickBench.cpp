// The spectrum window's continuous run at full-screen size: one tick captures
// a 65534-sample record, redraws the main plot, transforms the whole record
// (65536 points), folds it into the running mean and draws the 32768 bins it
// can keep on a 1920 x 1080 window. The run keeps up with the oscillograph's
// rate only while this stays well under the shortest timer period. A paint
// of the unchanged spectrum does no transform at all.
#include <benchmark/benchmark.h>

#include "BenchTextEngine.h"
#include "acquisition/CaptureEngine.h"
#include "app/ResetAll.h"
#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumRun.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace {

constexpr int32_t Width = 1920;
constexpr int32_t Height = 1080;
constexpr int32_t TopBar = 32;
constexpr int32_t BottomBar = 24;

// The main window showing the whole record in its sub-window, and the
// spectrum window open over it.
void OpenWindows() {
    korvel::ResetAllRecords();
    korvel::InstallTextEngine(&korvel::bench::BenchTextEngine());
    korvel::CreatePlotFonts();
    korvel::OscSettings.Data_S = 0;
    korvel::OscSettings.Data_E = korvel::MaxData - 1;
    korvel::PlotCanvas.Resize(Width, Height);
    korvel::RefreshPlot();
    korvel::CaptureStep();
    korvel::SpectrumCanvas.Resize(Width, Height);
    korvel::SpectrumWindowCreated();
    korvel::PaintSpectrum(TopBar, BottomBar);
}

void SpectrumTick(benchmark::State& state) {
    OpenWindows();
    // The run started with Accumulate checked.
    korvel::OscState.SpectrumRunning = 1;
    korvel::SpectrumView.Accumulate = 1;
    for (auto _ : state) {
        korvel::SpectrumRunTick();
        benchmark::DoNotOptimize(korvel::SpectrumCanvas.Pixels()[Width / 2]);
    }
    state.counters["bins"] = korvel::SpectrumView.BinCount;
    state.counters["fftSize"] = korvel::SpectrumData.FftSize;
    korvel::InstallTextEngine(nullptr);
    korvel::ResetAllRecords();
}

void SpectrumPaint(benchmark::State& state) {
    OpenWindows();
    for (auto _ : state) {
        korvel::PaintSpectrum(TopBar, BottomBar);
        benchmark::DoNotOptimize(korvel::SpectrumCanvas.Pixels()[Width / 2]);
    }
    state.counters["bins"] = korvel::SpectrumView.BinCount;
    korvel::InstallTextEngine(nullptr);
    korvel::ResetAllRecords();
}

const auto* const tick = benchmark::RegisterBenchmark("SpectrumTick/1920x1080", SpectrumTick)
                             -> Unit(benchmark::kMillisecond);
const auto* const paint = benchmark::RegisterBenchmark("SpectrumPaint/1920x1080", SpectrumPaint)
                              -> Unit(benchmark::kMillisecond);

}  // namespace
