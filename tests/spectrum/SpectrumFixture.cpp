#include "spectrum/SpectrumFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/OscState.h"
#include "display/PlotStyle.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {

void SpectrumTest::SetUp() {
    CoreTest::SetUp();
    const std::vector<uint8_t> block(CellWidth * CellHeight, 255);
    LabelFont.Begin(CellHeight, CellHeight - 4);
    for (int c = 32; c < 127; ++c)
        LabelFont.SetGlyph(static_cast<unsigned char>(c), CellWidth, block.data());
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

const Rect& SpectrumTest::Plot() {
    return SpectrumView.PlotRect;
}

uint32_t SpectrumTest::At(int32_t x, int32_t y) {
    return SpectrumCanvas.Pixel(x, y) & 0xFFFFFF;
}

std::vector<uint32_t> SpectrumTest::Pixels() {
    const uint32_t* p = SpectrumCanvas.Pixels();
    return {p, p + SpectrumCanvas.Width() * SpectrumCanvas.Height()};
}

std::vector<int32_t> SpectrumTest::ColumnsOf(uint32_t color, int32_t y) {
    std::vector<int32_t> columns;
    for (int32_t x = 0; x < SpectrumCanvas.Width(); ++x) {
        if (At(x, y) == color) columns.push_back(x);
    }
    return columns;
}

std::vector<std::pair<int32_t, int32_t>> SpectrumTest::InkRuns(int32_t y) {
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (int32_t x = 0; x < SpectrumCanvas.Width(); ++x) {
        if (At(x, y) == White) continue;
        if (runs.empty() || runs.back().second != x) runs.emplace_back(x, x);
        ++runs.back().second;
    }
    return runs;
}

int32_t SpectrumTest::LineTop(int32_t x) {
    int32_t top = -1;
    for (int32_t y = Plot().bottom; y >= 0 && At(x, y) == AxisPen.color; --y)
        top = y;
    return top;
}

void SpectrumTest::ExpectShown(float lowKHz, float highKHz) {
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFreq, lowKHz);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFreq, highKHz);
    if (SpectrumView.FreqHigh != 300.0f) return;
    EXPECT_FLOAT_EQ(SpectrumView.VisLowFrac, lowKHz / 300.0f);
    EXPECT_FLOAT_EQ(SpectrumView.VisHighFrac, highKHz / 300.0f);
}

void SpectrumTest::Type(const std::string& min, const std::string& width) {
    ports.spectrumBottomBar[spectrumBottom::Min].text = min;
    ports.spectrumBottomBar.Type(spectrumBottom::Width, width);
}

}  // namespace korvel::test
