// The spectrum window headless: a spectrum put in place as the last
// computation left it, a font whose every character is a solid block (so a
// label's cell shows exactly where it was drawn), and the window opened on a
// canvas of a known size with bars of fixed heights.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "display/PlotState.h"
#include "support/CoreTest.h"

namespace korvel::test {

class SpectrumTest : public CoreTest {
  protected:
    static constexpr int32_t TopBar = 20;  // heights of the bars' windows
    static constexpr int32_t BottomBar = 16;
    static constexpr int32_t CellHeight = 16;  // the block font's cell
    static constexpr int32_t CellWidth = 8;

    void SetUp() override;

    // The spectrum of the main plot's range, cached as if just computed. The
    // bins after it hold 1e30: read by mistake, one would become the peak and
    // flatten every line.
    static void PutSpectrum(const std::vector<float>& bins, float binWidthKHz);
    // 301 bins 1 kHz apart, 1 + k % 7 each: 0 .. 300 kHz.
    static std::vector<float> Ramp();
    // A new window of width x height: created, then painted.
    static void Open(int32_t width, int32_t height);
    static void Paint();

    static const Rect& Plot();  // the plot rectangle of the last drawing
    static uint32_t At(int32_t x, int32_t y);
    static std::vector<uint32_t> Pixels();
    // x of every column whose pixel at row y is `color`.
    static std::vector<int32_t> ColumnsOf(uint32_t color, int32_t y);
    // [start, end) of every run of non-white pixels in row y.
    static std::vector<std::pair<int32_t, int32_t>> InkRuns(int32_t y);
    // Top row of the red line in column x, or -1.
    static int32_t LineTop(int32_t x);
    // The shown frequencies, and the fractions where the spectrum ends at 300 kHz.
    static void ExpectShown(float lowKHz, float highKHz);

    std::string Field(int32_t id) { return ports.spectrumBottomBar[id].text; }
    // Both fields hold these texts, and the last keystroke is reported.
    void Type(const std::string& min, const std::string& width);
};

}  // namespace korvel::test
