// The paths that run on every capture, tick and paint take no memory from the
// heap once warmed up: a capture, the processing, a full redraw, a sub-window
// redraw, a spectrum computation and the spectrum's drawing, alone and as the
// oscillograph's and the spectrum run's ticks combine them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/CaptureEngine.h"
#include "acquisition/ProcessRecord.h"
#include "alloc/AllocationCounter.h"
#include "app/ControlBarSetup.h"
#include "ports/ControlIds.h"
#include "app/MainCommands.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/Ports.h"
#include "app/ResetAll.h"
#include "canvas/FixedCellTextEngine.h"
#include "display/Plot.h"
#include "display/PlotMouse.h"
#include "display/PlotStyle.h"
#include "canvas/TextEngine.h"
#include "spectrum/ComputeSpectrum.h"
#include "spectrum/DrawSpectrum.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumRun.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

#ifdef KORVEL_ALLOC_WITH_QT
#include <QGuiApplication>

#include "canvas/ui/QtTextEngine.h"
#endif

namespace korvel {
namespace {

// A control bar that keeps its texts in fixed storage, as a window's widgets
// keep theirs: whatever it costs the platform to show a text is the
// platform's, and the core's own part is what is measured here. A write
// raises the bar's text-changed handling, as the real bars do.
class FixedControls : public Controls {
  public:
    explicit FixedControls(void (*textChanged)(int32_t)) : textChanged_(textChanged) {}
    int32_t GetText(int32_t id, char* text, size_t size) const override {
        if (size == 0) return 0;
        const char* own = Slot(id) ? texts_[id - FirstId] : "";
        std::snprintf(text, size, "%s", own);
        return static_cast<int32_t>(std::strlen(text));
    }
    void SetText(int32_t id, const char* text) override {
        if (!Slot(id)) return;
        std::snprintf(texts_[id - FirstId], TextSize, "%s", text);
        if (textChanged_ != nullptr) textChanged_(id);
    }
    bool IsChecked(int32_t id) const override { return Slot(id) && checked_[id - FirstId]; }
    void SetChecked(int32_t id, bool checked) override {
        if (Slot(id)) checked_[id - FirstId] = checked;
    }
    void SelectListItem(int32_t, int32_t index) override { selected_ = index; }
    int32_t SelectedListItem(int32_t) const override { return selected_; }

  private:
    static constexpr int32_t FirstId = 1000;
    static constexpr int32_t IdCount = 64;
    static constexpr size_t TextSize = 64;
    static bool Slot(int32_t id) { return id >= FirstId && id < FirstId + IdCount; }

    void (*textChanged_)(int32_t);
    char texts_[IdCount][TextSize] = {};
    bool checked_[IdCount] = {};
    int32_t selected_ = 0;
};

class AllocationTest : public ::testing::Test {
  protected:
    static constexpr int32_t Width = 1920;
    static constexpr int32_t Height = 1080;
    static constexpr int32_t TopBar = 32;
    static constexpr int32_t BottomBar = 24;

    void SetUp() override {
        ResetAllRecords();
        Ports.topBar = &topBar_;
        Ports.bottomBar = &bottomBar_;
        Ports.spectrumTopBar = &spectrumTopBar_;
        Ports.spectrumBottomBar = &spectrumBottomBar_;
        InstallTextEngine(&engine_);
        SetUpControlBars();
        SetMainWindowActive(true);
        PlotCanvas.Resize(Width, Height);
        CreatePlotFonts();
        RefreshPlot();  // the first paint: the device is set up
    }
    void TearDown() override {
        InstallTextEngine(nullptr);
        ResetAllRecords();
    }

    // The spectrum window opened over the record, painted once.
    void OpenSpectrum() {
        SpectrumCanvas.Resize(Width, Height);
        SpectrumWindowCreated();
        PaintSpectrum(TopBar, BottomBar);
    }

    // Runs what once to warm up, then counts its allocations over a second
    // and a third run.
    template <typename What>
    static test::AllocationTally Allocations(What what) {
        what();
        test::StartCountingAllocations();
        what();
        what();
        return test::StopCountingAllocations();
    }

    FixedCellTextEngine engine_;
    FixedControls topBar_{TopBarTextChanged};
    FixedControls bottomBar_{BottomBarTextChanged};
    FixedControls spectrumTopBar_{nullptr};
    FixedControls spectrumBottomBar_{SpectrumFieldChanged};
};

// A failure names the size and the caller of the first allocation: `info
// symbol` of the address in gdb finds the code.
std::string Describe(const test::AllocationTally& tally) {
    char text[128];
    std::snprintf(text, sizeof text, "%lld allocations, the first of %zu bytes from %p",
                  static_cast<long long>(tally.count), tally.firstSize, tally.firstCaller);
    return text;
}

#define EXPECT_NO_ALLOCATION(tally) EXPECT_EQ((tally).count, 0) << Describe(tally)

// The counter itself sees every way of asking for memory; without it the
// other cases would pass whatever the code did.
// Keeps the compiler from leaving out an allocation whose memory is never used.
void Escape(const void* p) {
    asm volatile("" : : "r"(p) : "memory");
}

// The counter itself sees every way of asking for memory; without it the
// other cases would pass whatever the code did.
TEST(AllocationCounterTest, SeesNewMallocAndTheLibraries) {
    test::StartCountingAllocations();
    auto* one = new int(1);
    Escape(one);
    auto* many = new int[7];
    Escape(many);
    void* raw = std::malloc(24);
    Escape(raw);
    void* zeroed = std::calloc(3, 8);
    Escape(zeroed);
    raw = std::realloc(raw, 4096);
    Escape(raw);
    std::vector<double> values(100);
    Escape(values.data());
    std::string text(100, 'x');
    Escape(text.data());
    const test::AllocationTally tally = test::StopCountingAllocations();
    EXPECT_EQ(tally.count, 7);
    EXPECT_EQ(tally.firstSize, sizeof(int));
    delete one;
    delete[] many;
    std::free(raw);
    std::free(zeroed);
    test::StartCountingAllocations();
    EXPECT_EQ(test::StopCountingAllocations().count, 0);
}

TEST_F(AllocationTest, CaptureAndProcessing) {
    for (const int32_t averageOver : {3, 101, 10001}) {
        for (const int32_t accumulateOver : {1, 4}) {
            SCOPED_TRACE(testing::Message()
                         << "Av_Over " << averageOver << ", Acc_Over " << accumulateOver);
            OscSettings.Av_Over = averageOver;
            OscSettings.Acc_Over = accumulateOver;
            // F5: the capture, its processing and the full redraw.
            OscState.DataMax = 0.0f;
            EXPECT_NO_ALLOCATION(Allocations([] { ManualStartCommand(); }));
            ASSERT_GT(OscState.DataMax, 0.0f) << "no record was captured";
            EXPECT_NO_ALLOCATION(Allocations([] { ProcessRecord(); }));
        }
    }
    // A record read from a file is processed from FileData.
    OscState.FileView = 1;
    EXPECT_NO_ALLOCATION(Allocations([] { ProcessRecord(); }));
}

TEST_F(AllocationTest, FullAndSubWindowRedraws) {
    ManualStartCommand();
    for (const auto& [width, height] :
         {std::pair{1920, 1080}, std::pair{1280, 720}, std::pair{640, 400}, std::pair{200, 120}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        PlotCanvas.Resize(width, height);
        EXPECT_NO_ALLOCATION(Allocations([] { RefreshPlot(); }));
        // Pans and zooms redraw the sub-window alone.
        int32_t start = 0;
        EXPECT_NO_ALLOCATION(Allocations([&start] {
            start = (start + 977) % 60000;
            SetSubWindow(start, start + 2000);
            SetSubWindow(start, start + 40);
            SetSubWindow(0, MaxData - 1);
        }));
    }
}

TEST_F(AllocationTest, CursorsFollowingThePointer) {
    ManualStartCommand();
    // Moves over the plot draw and erase the cursors and write the read-outs.
    EXPECT_NO_ALLOCATION(Allocations([] {
        for (int32_t x = 100; x < 1800; x += 97)
            PlotMouseMove(0, x, 700);
    }));
}

TEST_F(AllocationTest, OscillographTicks) {
    OscSettings.Osc_Mode = 1;
    topBar_.SetChecked(top::Oscillograf, true);
    StartStopCommand();
    ASSERT_EQ(OscState.OscRunning, 1);
    OscState.DataMax = 0.0f;
    EXPECT_NO_ALLOCATION(Allocations([] { OscTimerTick(); }));
    EXPECT_GT(OscState.DataMax, 0.0f) << "the ticks captured nothing";
}

TEST_F(AllocationTest, SpectrumComputations) {
    ManualStartCommand();
    for (const int32_t samples : {2, 1000, 4097, MaxData}) {
        SCOPED_TRACE(testing::Message() << samples << " samples");
        for (const SpectrumMode mode : {ModeFresh, ModeAccumulate, ModeCached, ModeResetAverage}) {
            EXPECT_NO_ALLOCATION(
                Allocations([samples, mode] { ComputeSpectrum(0, samples - 1, mode); }));
        }
    }
}

TEST_F(AllocationTest, SpectrumDrawingAndRun) {
    ManualStartCommand();
    SetSubWindow(0, MaxData - 1);
    OpenSpectrum();
    ASSERT_GE(SpectrumView.BinCount, 2);
    EXPECT_NO_ALLOCATION(Allocations([] { PaintSpectrum(TopBar, BottomBar); }));
    EXPECT_NO_ALLOCATION(Allocations([] {
        DrawSpectrum(0, SpectrumView.BinCount);
        DrawSpectrum(SpectrumView.BinCount / 4, SpectrumView.BinCount / 2);
    }));
    // A new record makes the paint compute again.
    EXPECT_NO_ALLOCATION(Allocations([] {
        ManualStartCommand();
        PaintSpectrum(TopBar, BottomBar);
    }));
    // The continuous run with the spectra averaged.
    spectrumTopBar_.SetChecked(spectrumTop::Accumulate, true);
    ToggleSpectrumRun();
    ASSERT_EQ(OscState.SpectrumRunning, 1);
    EXPECT_NO_ALLOCATION(Allocations([] { SpectrumRunTick(); }));
    char counter[64];
    spectrumTopBar_.GetText(spectrumTop::Counter, counter, sizeof counter);
    EXPECT_STREQ(counter, "Accumulated: 3");
}

#ifdef KORVEL_ALLOC_WITH_QT
// The program's own fonts, rendered by Qt once when they are made: drawing
// with them is the canvas's work alone.
TEST_F(AllocationTest, RedrawsWithTheQtFonts) {
    ui::QtTextEngine qtEngine;
    InstallTextEngine(&qtEngine);
    CreatePlotFonts();
    ASSERT_TRUE(LabelFont.Exists());
    ManualStartCommand();
    EXPECT_NO_ALLOCATION(Allocations([] { RefreshPlot(); }));
    EXPECT_NO_ALLOCATION(Allocations([] { SetSubWindow(5000, 9000); }));
    EXPECT_NO_ALLOCATION(Allocations([] { OscTimerTick(); }));
    InstallTextEngine(nullptr);
}
#endif

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
#ifdef KORVEL_ALLOC_WITH_QT
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
