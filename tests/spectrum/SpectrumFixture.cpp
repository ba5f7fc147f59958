#include "spectrum/SpectrumFixture.h"

#include <algorithm>

#include "display/PlotStyle.h"
#include "model/OscState.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {

void SpectrumTest::SetUp() {
    CoreTest::SetUp();
    const std::vector<uint8_t> block(8 * 16, 255);
    LabelFont.Begin(16, 12);
    for (int c = 32; c < 127; ++c)
        LabelFont.SetGlyph(static_cast<unsigned char>(c), 8, block.data());
    ports.spectrumBottomBar.onTextChanged = [](int32_t id) { SpectrumFieldChanged(id); };
}

void SpectrumTest::PutSpectrum(const std::vector<float>& bins, float binWidthKHz) {
    const int32_t count = static_cast<int32_t>(bins.size());
    SubWindowArea.first = 100;
    SubWindowArea.last = 100 + std::max(2 * count - 1, 0);
    SpectrumDataRecord& sd = SpectrumData;
    std::copy(bins.begin(), bins.end(), sd.Work);
    std::fill(sd.Work + count, sd.Work + count + 8, 1.0e30f);
    sd.LastBin = count - 1;
    sd.BinWidth = binWidthKHz;
    sd.CachedFirst = SubWindowArea.first;
    sd.CachedLast = SubWindowArea.last;
    OscState.SpectrumValid = 1;
}

void SpectrumTest::Open(int32_t width, int32_t height) {
    SpectrumCanvas.Resize(width, height);
    SpectrumWindowCreated();
    Paint();
}

void SpectrumTest::Paint() {
    PaintSpectrum(20, 16);
}

}  // namespace korvel::test
