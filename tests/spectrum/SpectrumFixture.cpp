#include "spectrum/SpectrumFixture.h"

#include <algorithm>

#include "display/PlotStyle.h"
#include "model/OscState.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {

void SpectrumTest::SetUp() {
    CoreTest::SetUp();
    const std::vector<uint8_t> block(8 * CellHeight, 255);
    LabelFont.Begin(CellHeight, CellHeight - 4);
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

std::vector<float> SpectrumTest::Ramp() {
    std::vector<float> bins(301);
    for (size_t k = 0; k < bins.size(); ++k)
        bins[k] = 1.0f + static_cast<float>(k % 7);
    return bins;
}

void SpectrumTest::Open(int32_t width, int32_t height) {
    SpectrumCanvas.Resize(width, height);
    SpectrumWindowCreated();
    Paint();
}

void SpectrumTest::Paint() {
    PaintSpectrum(TopBar, BottomBar);
}

void SpectrumTest::Type(const std::string& min, const std::string& width) {
    ports.spectrumBottomBar[spectrumBottom::Min].text = min;
    ports.spectrumBottomBar.Type(spectrumBottom::Width, width);
}

}  // namespace korvel::test
