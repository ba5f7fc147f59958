// The acquisition tests' own account of what the simulated card produces and
// of what processing makes of it, written the plain way: the generator from
// its definition, each window summed afresh.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace korvel::test {

// The noise generator of the simulated source, from state 1.
class ReferenceSignal {
  public:
    // The codes of the next record of n samples (before inversion).
    std::vector<int32_t> NextRecord(int32_t n) {
        std::vector<int32_t> codes(n);
        for (int32_t i = 0; i < n; ++i) {
            state_ = state_ * 214013u + 2531011u;
            const int32_t draw = static_cast<int32_t>((state_ >> 16) & 0x7FFF);
            codes[i] = (i % 1000 < 800 ? -40 : 100) + draw * 30 / 32767;
        }
        return codes;
    }
    // The sum of the next `records` records, as AccBuffer holds it.
    std::vector<float> NextSum(int32_t n, int32_t records, bool invert = false) {
        std::vector<int64_t> sum(n, 0);
        for (int32_t r = 0; r < records; ++r) {
            const std::vector<int32_t> codes = NextRecord(n);
            for (int32_t i = 0; i < n; ++i)
                sum[i] += invert ? -codes[i] : codes[i];
        }
        return std::vector<float>(sum.begin(), sum.end());
    }

  private:
    uint32_t state_ = 1;
};

// Output i of the moving average, summing its window afresh in double.
struct DirectAverage {
    const float* source;
    int32_t n;
    int64_t width;
    bool fromFile;
    double conversion = 7.8125;
    double records = 1.0;
    double zero = 0.0;

    double WindowSum(int32_t i) const {
        const int64_t half = (width + 1) / 2;
        const int64_t lo = std::max<int64_t>(i + half - width, 0);
        const int64_t hi = std::min<int64_t>(i + half - 1, n - 1);
        double sum = 0.0;
        for (int64_t j = lo; j <= hi; ++j)
            sum += source[j];
        const int64_t present = hi - lo + 1;
        if (present != width) sum = sum * static_cast<double>(width) / present;
        return sum;
    }
    float operator()(int32_t i) const {
        const double sum = WindowSum(i);
        const auto w = static_cast<double>(width);
        if (fromFile) return static_cast<float>(sum / w - zero);
        return static_cast<float>(((conversion * sum) / records) / w - zero);
    }
};

// Millivolts as a text data file holds them: "%g" of a sine with noise, read
// back. Their finest bits lie far below their largest values.
inline std::vector<float> TextFileRecord(int32_t n, uint32_t seed, double amplitudeMv,
                                         double radiansPerSample) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 4.0);
    std::vector<float> x(n);
    char text[32];
    for (int32_t i = 0; i < n; ++i) {
        std::snprintf(text, sizeof text, "%g",
                      amplitudeMv * std::sin(i * radiansPerSample) + noise(random));
        x[i] = std::strtof(text, nullptr);
    }
    return x;
}

}  // namespace korvel::test
