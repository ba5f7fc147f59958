#include "acquisition/sigrok/SampleRateSeries.h"

#include <limits>

namespace korvel {

std::vector<uint64_t> SampleRateSeries(uint64_t minHz, uint64_t maxHz, uint64_t stepHz) {
    std::vector<uint64_t> rates;
    constexpr uint64_t kMantissas[] = {1, 2, 5};
    constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
    for (uint64_t decade = 1;; decade *= 10) {
        for (uint64_t mantissa : kMantissas) {
            if (decade > kLargest / mantissa) return rates;
            const uint64_t rate = mantissa * decade;
            if (rate > maxHz) return rates;
            if (rate >= minHz && (stepHz == 0 || (rate - minHz) % stepHz == 0))
                rates.push_back(rate);
        }
        if (decade > kLargest / 10) return rates;
    }
}

}  // namespace korvel
