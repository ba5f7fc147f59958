#include "acquisition/RecordMeasurements.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "model/OscState.h"
#include "numeric/Fft.h"

namespace korvel {

namespace {

// Where between bins k - 1 and k + 1 the peak of a Hann-windowed tone lies,
// from the logarithms of the three powers: -0.5 .. 0.5 bins from k.
double PeakOffset(double below, double peak, double above) {
    if (!(below > 0.0 && peak > 0.0 && above > 0.0)) return 0.0;
    const double a = std::log(below);
    const double b = std::log(peak);
    const double c = std::log(above);
    const double curvature = a - 2.0 * b + c;
    if (!(curvature < 0.0)) return 0.0;
    return std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5);
}

void FindStrongestLine(const float* values, int32_t count, double meanMv, float samplePeriodUs,
                       RecordMeasurements& m) {
    if (count < 4 || !(std::isfinite(samplePeriodUs) && samplePeriodUs > 0.0f)) return;
    int32_t size = 1;
    int32_t log2 = 0;
    while (size < count) {
        size *= 2;
        ++log2;
    }
    std::vector<float> re(static_cast<size_t>(size), 0.0f);
    std::vector<float> im(static_cast<size_t>(size), 0.0f);
    const double step = 2.0 * std::numbers::pi / (count - 1);
    for (int32_t i = 0; i < count; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(step * i);
        re[i] = static_cast<float>((values[i] - meanMv) * hann);
    }
    Fft(re.data(), im.data(), log2, -1);

    const int32_t half = size / 2;
    std::vector<double> power(static_cast<size_t>(half) + 1, 0.0);
    for (int32_t k = 0; k <= half; ++k) {
        power[k] = static_cast<double>(re[k]) * re[k] + static_cast<double>(im[k]) * im[k];
    }
    // Ties keep the lower frequency.
    int32_t bin = 0;
    double strongest = 0.0;
    for (int32_t k = 1; k < half; ++k) {
        if (power[k] > strongest) {
            strongest = power[k];
            bin = k;
        }
    }
    if (bin == 0) return;
    m.hasLine = true;
    m.lineBin = bin;
    m.binWidthKHz = 1000.0 / (static_cast<double>(samplePeriodUs) * size);
    m.lineKHz = (bin + PeakOffset(power[bin - 1], power[bin], power[bin + 1])) * m.binWidthKHz;
    m.periodUs = 1000.0 / m.lineKHz;
}

}  // namespace

RecordMeasurements MeasureLevels(const float* values, int32_t count) {
    RecordMeasurements m;
    if (count < 1) return m;
    m.samples = count;
    const auto [low, high] = std::minmax_element(values, values + count);
    m.minimumMv = *low;
    m.maximumMv = *high;
    m.peakToPeakMv = static_cast<double>(*high) - *low;

    double sum = 0.0;
    double squares = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        sum += values[i];
        squares += static_cast<double>(values[i]) * values[i];
    }
    m.meanMv = sum / count;
    m.rmsMv = std::sqrt(squares / count);

    double deviations = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const double d = values[i] - m.meanMv;
        deviations += d * d;
    }
    m.acRmsMv = std::sqrt(deviations / count);
    return m;
}

RecordMeasurements MeasureRecord(const float* values, int32_t count, float samplePeriodUs) {
    count = std::min(count, MaxData);
    RecordMeasurements m = MeasureLevels(values, count);
    FindStrongestLine(values, count, m.meanMv, samplePeriodUs, m);
    return m;
}

}  // namespace korvel
