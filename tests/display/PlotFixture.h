// Plots drawn headless: the fixed-cell text engine, a canvas of a known size
// and records that are the same on every run.
#pragma once

#include <cstdint>
#include <string>

#include "canvas/FixedCellTextEngine.h"
#include "support/CoreTest.h"

namespace korvel::test {

class PlotTest : public CoreTest {
  protected:
    void SetUp() override;
    // The text engine installed, the canvas at width x height, fonts made, the
    // device set up (no notice), the fields as the main window writes them.
    void Prepare(int32_t width, int32_t height);
    // The simulated source's noisy square wave (period 1000) in mV, with the
    // range set as a capture with AutoNorm leaves it.
    static void FillSquareWave(int32_t count);
    // The text in the row of cells from top between x0 and x1, in the label
    // or the message font, read back cell by cell against the font's
    // characters and its symbol font's two letters (read as "µ" and "Δ"); a
    // gap of n cells reads as n spaces, one of more than 8 as " ... ". "-" for none.
    static std::string ReadText(bool label, int32_t top, int32_t x0, int32_t x1);

    FixedCellTextEngine engine;
};

}  // namespace korvel::test
