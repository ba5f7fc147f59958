#include "display/PlotFixture.h"

#include <algorithm>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/Plot.h"
#include "display/PlotStyle.h"

namespace korvel::test {

namespace {
void TakeRange(int32_t count) {
    const auto [lo, hi] = std::minmax_element(OscState.Record, OscState.Record + count);
    OscState.DataMin = OscSettings.D_min = *lo;
    OscState.DataMax = OscSettings.D_max = *hi;
    OscSettings.Num_Data = count;
}
}  // namespace

void PlotTest::SetUp() {
    CoreTest::SetUp();
    InstallTextEngine(&engine);
}

void PlotTest::Prepare(int32_t width, int32_t height) {
    PlotCanvas.Resize(width, height);
    CreatePlotFonts();
    OscState.DeviceReady = 1;
    ports.bottomBar[bottom::Min].text = "0";
    ports.bottomBar[bottom::Width].text = "12.5";
}

void PlotTest::FillSquareWave(int32_t count) {
    uint32_t state = 1;
    for (int32_t i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        const int32_t noise = static_cast<int32_t>((state >> 16) & 0x7FFF) * 30 / 32767;
        OscState.Record[i] = static_cast<float>((i % 1000 < 800 ? -40 : 100) + noise) * 7.8125f;
    }
    TakeRange(count);
}

void PlotTest::FillConstant(int32_t count, float valueMv) {
    std::fill(OscState.Record, OscState.Record + count, valueMv);
    TakeRange(count);
}

int32_t PlotTest::InkedPixels(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    int32_t inked = 0;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x)
            inked += (PlotCanvas.Pixel(x, y) & 0xFFFFFF) != White;
    }
    return inked;
}

}  // namespace korvel::test
