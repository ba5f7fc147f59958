// Plots drawn headless: the fixed-cell text engine, a canvas of a known size
// and a record that is the same on every run.
#pragma once

#include <cstdint>

#include "display/FixedCellTextEngine.h"
#include "support/CoreTest.h"

namespace korvel::test {

class PlotTest : public CoreTest {
  protected:
    void SetUp() override;

    // The canvas at width x height, fonts made, the device already set up (no
    // notice), fields as the main window writes them at creation.
    void Prepare(int32_t width, int32_t height);
    // Num_Data samples of a noisy square wave in mV (period 1000, as the
    // simulated source gives), with DataMin/DataMax and D_min/D_max set to its
    // range, as a capture with AutoNorm leaves them.
    static void FillSquareWave(int32_t count);
    // Every sample v, range as above.
    static void FillConstant(int32_t count, float valueMv);

    // Pixels of the canvas that differ from white inside a rectangle.
    static int32_t InkedPixels(int32_t left, int32_t top, int32_t right, int32_t bottom);

    FixedCellTextEngine engine;
};

}  // namespace korvel::test
