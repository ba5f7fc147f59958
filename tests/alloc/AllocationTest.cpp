// The paths that run on every capture, tick and paint take no memory from the
// heap once warmed up: a capture and its processing, full and sub-window
// redraws, the cursors, the oscillograph's tick, the spectrum's computation,
// drawing and run. The counter replaces malloc, calloc and realloc for the
// whole program (the library's operator new comes to malloc as well), so
// these tests are a program of their own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "app/ControlBarSetup.h"
#include "app/MainCommands.h"
#include "app/ResetAll.h"
#include "canvas/FixedCellTextEngine.h"
#include "display/Plot.h"
#include "display/PlotMouse.h"
#include "display/PlotStyle.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/ComputeSpectrum.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumRun.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
}

namespace {
// Only the thread that asked counts; initial-exec, so that reaching these
// never allocates itself.
__attribute__((tls_model("initial-exec"))) thread_local bool Counting = false;
__attribute__((tls_model("initial-exec"))) thread_local long Count = 0;
__attribute__((tls_model("initial-exec"))) thread_local size_t FirstSize = 0;

void Note(size_t size) {
    if (Counting && Count++ == 0) FirstSize = size;
}
}  // namespace

extern "C" void* malloc(size_t size) {
    Note(size);
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    Note(count * size);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
    Note(size);
    return __libc_realloc(p, size);
}

namespace korvel {
namespace {

// Runs what once to warm up, then counts what a second and a third run
// allocate: "" for nothing, else how much and the first size asked for.
template <typename What>
std::string Allocations(What what) {
    what();
    Count = 0;
    Counting = true;
    what();
    what();
    Counting = false;
    return Count == 0 ? ""
                      : std::to_string(Count) + " allocations, the first of " +
                            std::to_string(FirstSize) + " bytes";
}
#define EXPECT_NO_ALLOCATION(...) EXPECT_EQ(Allocations([&] { __VA_ARGS__; }), "")

// Keeps the compiler from leaving out an allocation whose memory is unused.
void* Escape(void* p) {
    asm volatile("" : : "r"(p) : "memory");
    return p;
}

// Without this the other cases would pass whatever the code did.
TEST(AllocationCounter, SeesNewMallocAndTheLibraries) {
    EXPECT_EQ(Allocations([] {
                  std::vector<double> values(100);  // operator new
                  Escape(values.data());
                  std::free(Escape(std::realloc(Escape(std::calloc(3, 8)), 4096)));
              }),
              "6 allocations, the first of 800 bytes");
}

// A control bar with its texts in fixed storage, as a window's widgets keep
// theirs: what showing a text costs the platform is the platform's. A write
// raises the bar's text-changed handling, as the real bars do. The ids that
// hold texts or boxes lie within 64 of each other.
struct FixedControls : Controls {
    FixedControls(void (*changed)(int32_t)) : changed(changed) {}
    int32_t GetText(int32_t id, char* text, size_t size) const override {
        return std::snprintf(text, size, "%s", texts[id % 64]);
    }
    void SetText(int32_t id, const char* text) override {
        std::snprintf(texts[id % 64], sizeof texts[0], "%s", text);
        if (changed != nullptr) changed(id);
    }
    bool IsChecked(int32_t id) const override { return checked[id % 64]; }
    void SetChecked(int32_t id, bool on) override { checked[id % 64] = on; }

    void (*changed)(int32_t);
    char texts[64][64] = {};
    bool checked[64] = {};
};

class AllocationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        Ports.topBar = &bars_[0];
        Ports.bottomBar = &bars_[1];
        Ports.spectrumTopBar = &bars_[2];
        Ports.spectrumBottomBar = &bars_[3];
        InstallTextEngine(&engine_);
        SetUpControlBars();
        SetMainWindowActive(true);
        PlotCanvas.Resize(1920, 1080);
        CreatePlotFonts();
        RefreshPlot();  // the first paint: the device is set up
    }

    FixedCellTextEngine engine_;
    FixedControls bars_[4] = {
        {TopBarTextChanged}, {BottomBarTextChanged}, {nullptr}, {SpectrumFieldChanged}};
};

TEST_F(AllocationTest, CaptureProcessingRedrawsAndCursors) {
    for (const auto& [averageOver, accumulateOver] : {std::pair{3, 1}, {10001, 4}}) {
        SCOPED_TRACE(averageOver);
        OscSettings.Av_Over = averageOver;
        OscSettings.Acc_Over = accumulateOver;
        EXPECT_NO_ALLOCATION(ManualStartCommand());  // F5: capture, processing, redraw
        EXPECT_NO_ALLOCATION(ProcessRecord());
    }
    ASSERT_GT(OscState.DataMax, 0.0f) << "no record was captured";
    OscState.FileView = 1;  // a record read from a file
    EXPECT_NO_ALLOCATION(ProcessRecord());
    OscState.FileView = 0;
    for (const auto& [width, height] : {std::pair{1920, 1080}, {640, 400}, {200, 120}}) {
        SCOPED_TRACE(width);
        PlotCanvas.Resize(width, height);
        EXPECT_NO_ALLOCATION(RefreshPlot());
        int32_t start = 0;  // pans and zooms redraw the sub-window alone
        EXPECT_NO_ALLOCATION(start = (start + 977) % 60000; SetSubWindow(start, start + 2000);
                             SetSubWindow(start, start + 40); SetSubWindow(0, MaxData - 1));
        // Moves over the plot draw and erase the cursors and write the read-outs.
        EXPECT_NO_ALLOCATION(for (int32_t x = 0; x < width; x += 37)
                                 PlotMouseMove(0, x, height / 2));
    }
}

TEST_F(AllocationTest, OscillographTicks) {
    OscSettings.Osc_Mode = 1;
    bars_[0].SetChecked(top::Oscillograf, true);
    StartStopCommand();
    ASSERT_EQ(OscState.OscRunning, 1);
    OscState.DataMax = 0.0f;
    EXPECT_NO_ALLOCATION(OscTimerTick());
    EXPECT_GT(OscState.DataMax, 0.0f) << "the ticks captured nothing";
}

TEST_F(AllocationTest, SpectrumComputationDrawingAndRun) {
    ManualStartCommand();
    for (const int32_t last : {1, 999, 4096, MaxData - 1})
        for (const SpectrumMode mode : {ModeFresh, ModeAccumulate, ModeCached, ModeResetAverage})
            EXPECT_NO_ALLOCATION(ComputeSpectrum(0, last, mode)) << last << " " << mode;

    SetSubWindow(0, MaxData - 1);
    SpectrumCanvas.Resize(1920, 1080);
    SpectrumWindowCreated();
    PaintSpectrum(32, 24);
    ASSERT_GE(SpectrumView.BinCount, 2);
    EXPECT_NO_ALLOCATION(PaintSpectrum(32, 24));
    EXPECT_NO_ALLOCATION(DrawSpectrum(0, SpectrumView.BinCount);
                         DrawSpectrum(SpectrumView.BinCount / 4, SpectrumView.BinCount / 2));
    EXPECT_NO_ALLOCATION(ManualStartCommand();
                         PaintSpectrum(32, 24));  // a new record: computed again
    bars_[2].SetChecked(spectrumTop::Accumulate, true);
    ToggleSpectrumRun();
    ASSERT_EQ(OscState.SpectrumRunning, 1);
    EXPECT_NO_ALLOCATION(SpectrumRunTick());
    EXPECT_STREQ(bars_[2].texts[spectrumTop::Counter % 64], "Accumulated: 3");
}

}  // namespace
}  // namespace korvel
