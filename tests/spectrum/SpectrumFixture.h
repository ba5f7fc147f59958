// The spectrum window headless: a spectrum put in place as the last
// computation left it, a font whose every character is a solid 8 x 16 block
// (so a label's cell shows exactly where it was drawn), and the window opened
// on a canvas of a known size with bars 20 and 16 pixels high.
#pragma once

#include <cstdint>
#include <vector>

#include "support/CoreTest.h"

namespace korvel::test {

class SpectrumTest : public CoreTest {
  protected:
    void SetUp() override;
    // The spectrum of the main plot's range, cached as if just computed. The
    // bins after it hold 1e30: read by mistake, one would become the peak and
    // flatten every line.
    static void PutSpectrum(const std::vector<float>& bins, float binWidthKHz);
    // A new window of width x height: created, then painted.
    static void Open(int32_t width, int32_t height);
    static void Paint();
};

}  // namespace korvel::test
