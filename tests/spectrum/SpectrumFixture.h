// The spectrum window headless: a spectrum put in place as the last
// computation left it, a font whose every character is a solid block (so a
// label's cell shows exactly where it was drawn), and the window opened on a
// canvas of a known size with the bars of fixed heights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/CoreTest.h"

namespace korvel::test {

class SpectrumTest : public CoreTest {
  protected:
    // Heights of the bars' windows; the plot lies TopBar + 1 rows down.
    static constexpr int32_t TopBar = 20;
    static constexpr int32_t BottomBar = 16;
    // The block font's cell.
    static constexpr int32_t CellHeight = 16;
    static constexpr int32_t CellWidth = 8;
    // A bin beyond the kept ones: read by mistake, it would become the peak
    // and flatten every line to nothing.
    static constexpr float Sentinel = 1.0e30f;

    void SetUp() override;

    // The spectrum of the main plot's range, cached as if just computed:
    // bins.size() bins binWidthKHz apart.
    static void PutSpectrum(const std::vector<float>& bins, float binWidthKHz);
    // A new window of width x height: created, then painted.
    void Open(int32_t width, int32_t height);
    // A paint of the open window, as the system asks for one.
    static void Paint();

    // Columns and rows of the last drawing.
    static int32_t Left();
    static int32_t Right();
    static int32_t Top();
    static int32_t Bottom();
    static int32_t W() { return Right() - Left() - 1; }

    // Pixel colour without the alpha byte.
    static uint32_t At(int32_t x, int32_t y);
    // x of every column whose pixel at row y is `color`, left to right.
    static std::vector<int32_t> ColumnsOf(uint32_t color, int32_t y);
    // [start, end) of every run of non-white pixels in row y.
    static std::vector<std::pair<int32_t, int32_t>> InkRuns(int32_t y);
    // Top row of the red line in column x, or -1 when there is none.
    static int32_t LineTop(int32_t x);

    std::string Field(int32_t id) { return ports.spectrumBottomBar[id].text; }
    // Both fields hold these texts, and the last keystroke is reported.
    void Type(const std::string& min, const std::string& width);
};

}  // namespace korvel::test
