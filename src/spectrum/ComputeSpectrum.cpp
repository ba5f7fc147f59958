#include "spectrum/ComputeSpectrum.h"

#include <algorithm>

#include "model/OscState.h"
#include "numeric/Fft.h"
#include "spectrum/SpectrumData.h"

namespace korvel {
namespace {

// The share of the total energy that the kept bins must exceed.
constexpr double KeptEnergy = 0.99;

// The result that the stored state describes, over bins.
SpectrumResult StoredResult(const float* bins) {
    SpectrumResult result;
    result.Bins = bins;
    result.BinCount = SpectrumData.LastBin + 1;
    if (result.BinCount > 0) {
        result.FreqHigh =
            static_cast<float>(SpectrumData.LastBin * static_cast<double>(SpectrumData.BinWidth));
    }
    return result;
}

// Transform of Record[first..last], powers into Work, cut-off, bin width, cache keys.
void PowerSpectrum(int32_t first, int32_t last) {
    SpectrumDataRecord& sd = SpectrumData;
    const int32_t n = last - first + 1;
    const int32_t size = sd.FftSize;
    const float* samples = OscState.Record + first;

    double sum = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        sum += samples[i];
    }
    const double mean = sum / n;

    float* re = sd.Work;
    float* im = sd.Work + size;
    for (int32_t i = 0; i < n; ++i) {
        re[i] = static_cast<float>(samples[i] - mean);
    }
    std::fill(re + n, re + size, 0.0f);
    std::fill(im, im + size, 0.0f);

    Fft(re, im, sd.FftLog2, -1);

    const int32_t half = size / 2;
    double total = 0.0;
    for (int32_t k = 0; k < half; ++k) {
        const double power =
            static_cast<double>(re[k]) * re[k] + static_cast<double>(im[k]) * im[k];
        sd.Work[k] = static_cast<float>(power);
        total += sd.Work[k];
    }

    // With no energy at all nothing passes the threshold and every bin is kept.
    const double threshold = KeptEnergy * total;
    sd.LastBin = half - 1;
    double running = 0.0;
    for (int32_t k = 0; k < half; ++k) {
        running += sd.Work[k];
        if (running > threshold) {
            sd.LastBin = k;
            break;
        }
    }

    sd.BinWidth = static_cast<float>(1000.0 / (static_cast<double>(OscState.SamplePeriod) * size));
    sd.CachedFirst = first;
    sd.CachedLast = last;
    OscState.SpectrumValid = 1;
}

// Bins above LastBin keep the average of the spectra that reached them.
void FoldIntoAverage() {
    SpectrumDataRecord& sd = SpectrumData;
    ++sd.AverageCount;
    const double weight = 1.0 / sd.AverageCount;
    for (int32_t k = 0; k <= sd.LastBin; ++k) {
        sd.Average[k] = static_cast<float>(weight * sd.Work[k] + (1.0 - weight) * sd.Average[k]);
    }
}

}  // namespace

SpectrumResult ComputeSpectrum(int32_t first, int32_t last, SpectrumMode mode) {
    SpectrumDataRecord& sd = SpectrumData;
    if (first < 0 || first > last || last >= MaxData) return SpectrumResult{sd.Work, 0, 0.0f, 0.0f};

    if (mode == ModeCached && OscState.SpectrumValid == 1 && first == sd.CachedFirst &&
        last == sd.CachedLast) {
        return StoredResult(sd.Work);
    }

    const int32_t n = last - first + 1;
    sd.FftSize = 1;
    sd.FftLog2 = 0;
    while (sd.FftSize < n) {
        sd.FftSize *= 2;
        ++sd.FftLog2;
    }

    if (mode == ModeResetAverage) {
        sd.AverageCount = 0;
        std::fill(sd.Average, sd.Average + sd.FftSize / 2 + 1, 0.0f);
        return StoredResult(sd.Average);
    }

    PowerSpectrum(first, last);
    if (mode == ModeAccumulate) {
        FoldIntoAverage();
        return StoredResult(sd.Average);
    }
    return StoredResult(sd.Work);
}

}  // namespace korvel
