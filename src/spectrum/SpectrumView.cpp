#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>

#include "display/PlotScale.h"
#include "spectrum/SpectrumData.h"

namespace korvel {

SpectrumViewRecord SpectrumView;
Canvas SpectrumCanvas;

void ResetSpectrumView() {
    SpectrumView = SpectrumViewRecord{};
    SpectrumCanvas.Resize(0, 0);
}

void TakeSpectrum(const SpectrumResult& result) {
    SpectrumViewRecord& v = SpectrumView;
    v.Bins = result.Bins;
    v.BinCount = result.BinCount;
    v.FreqLow = result.FreqLow;
    v.FreqHigh = result.FreqHigh;
    v.Averaged = result.Bins == SpectrumData.Average ? SpectrumData.AverageCount : 1;
}

bool SpectrumSpreads() {
    const SpectrumViewRecord& v = SpectrumView;
    const float span = v.FreqHigh - v.FreqLow;
    return v.Bins != nullptr && v.BinCount >= 2 && std::isfinite(span) && span > 0.0f;
}

void HoldRange(int32_t& first, int32_t& end) {
    first = std::clamp(first, 0, SpectrumView.BinCount - 2);
    end = std::clamp(end, first + 2, SpectrumView.BinCount);
}

float BinFrequency(int32_t k) {
    const SpectrumViewRecord& v = SpectrumView;
    if (v.BinCount < 2) return v.FreqLow;
    const double span = static_cast<double>(v.FreqHigh) - v.FreqLow;
    return static_cast<float>(v.FreqLow + k * span / (v.BinCount - 1));
}

int32_t Nearest(double x) {
    return SaturatedTrunc(x + 0.5);
}

int32_t NearestBin(double freqKHz) {
    const SpectrumViewRecord& v = SpectrumView;
    const double bins =
        (freqKHz - v.FreqLow) * (v.BinCount - 1) / (static_cast<double>(v.FreqHigh) - v.FreqLow);
    return Nearest(bins);
}

}  // namespace korvel
