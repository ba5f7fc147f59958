// One tick of the oscillograph mode at full-screen size: capture a 65534-sample
// record from the simulated source, process it, and redraw both plots on a
// 1920 x 1080 canvas. The periodic mode keeps up with any rate a user types
// only while this stays well under the shortest timer period.
#include <benchmark/benchmark.h>

#include "BenchTextEngine.h"
#include "acquisition/CaptureEngine.h"
#include "app/ResetAll.h"
#include "app/StartUp.h"
#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace {

void OscillographTick(benchmark::State& state, int32_t width, int32_t height) {
    korvel::ResetAllRecords();
    korvel::InstallTextEngine(&korvel::bench::BenchTextEngine());
    korvel::CreatePlotFonts();
    korvel::PlotCanvas.Resize(width, height);
    korvel::SetUpDevice();  // as at the window's first show
    korvel::RefreshPlot();
    // The mode runs: the "Oscillograf" box ticked and started.
    korvel::OscSettings.Osc_Mode = 1;
    korvel::OscState.OscRunning = 1;
    korvel::OscState.StepIdle = 1;
    for (auto _ : state) {
        korvel::OscTimerTick();
        benchmark::DoNotOptimize(korvel::PlotCanvas.Pixels()[width / 2]);
    }
    korvel::InstallTextEngine(nullptr);
    korvel::ResetAllRecords();
}

const auto* const registered =
    benchmark::RegisterBenchmark("OscillographTick/1920x1080", OscillographTick, 1920, 1080)
        -> Unit(benchmark::kMillisecond);

}  // namespace
