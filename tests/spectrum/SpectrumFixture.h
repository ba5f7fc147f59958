// The spectrum window headless: a spectrum put in place as the last
// computation left it, a font whose every character is a solid block (so a
// label's cell shows exactly where it was drawn), and the window opened on a
// canvas of a known size with bars of fixed heights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/CoreTest.h"

namespace korvel::test {

class SpectrumTest : public CoreTest {
  protected:
    static constexpr int32_t TopBar = 20;  // heights of the bars' windows
    static constexpr int32_t BottomBar = 16;
    static constexpr int32_t CellHeight = 16;  // the block font's cell, 8 pixels wide

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
    // Both fields hold these texts, and the last keystroke is reported.
    void Type(const std::string& min, const std::string& width);
};

}  // namespace korvel::test
