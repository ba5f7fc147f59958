#include "acquisition/ProcessRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "numeric/MovingWindowSum.h"

namespace korvel {

namespace {

// Window sums are taken a block at a time, then turned into millivolts in a
// loop the compiler can vectorise; the block lives on the stack.
constexpr int32_t BlockSize = 512;

// The number of samples that count, held inside the buffers.
int32_t RecordLength() {
    return std::min(OscSettings.Num_Data, MaxData);
}

// A value beyond the largest float is held at it rather than stored as an
// infinity: a record taken from finite numbers (a huge level of zero under a
// huge file value, say) stays finite, its range stays a range, and the plot
// draws such a sample at its edge. NaN passes through as it is.
inline float Saturated(double mv) {
    constexpr double Largest = std::numeric_limits<float>::max();
    return static_cast<float>(mv > Largest ? Largest : mv < -Largest ? -Largest : mv);
}

struct Millivolts {
    bool fromFile;
    double width;
    double records;
    double conversion;
    double zero;

    template <int32_t Count>
    void Convert(const double* sums, float* out, int32_t count) const {
        const int32_t n = Count > 0 ? Count : count;
        if (fromFile) {
            for (int32_t j = 0; j < n; ++j)
                out[j] = Saturated(sums[j] / width - zero);
        } else if (records == 1.0) {
            // Dividing by one changes no bit: the usual single record saves a division.
            for (int32_t j = 0; j < n; ++j) {
                out[j] = Saturated((conversion * sums[j]) / width - zero);
            }
        } else {
            for (int32_t j = 0; j < n; ++j) {
                out[j] = Saturated(((conversion * sums[j]) / records) / width - zero);
            }
        }
    }
};

struct Range {
    float lowest;
    float highest;
};

// From record[0] on, a value replaces the lowest (highest) when it is smaller
// (larger): NaN after the first value is passed over, and of equal values the
// earlier stays.
Range SequentialRange(const float* record, int32_t n) {
    Range range{record[0], record[0]};
    for (int32_t k = 1; k < n; ++k) {
        if (record[k] < range.lowest) range.lowest = record[k];
        if (record[k] > range.highest) range.highest = record[k];
    }
    return range;
}

// Floats ordered as signed integers: negative floats have their magnitude
// bits turned over, so that larger keys are larger floats. -0 and +0 get
// different keys, and NaN keys lie beyond the infinities.
int32_t OrderKey(float v) {
    const auto bits = std::bit_cast<int32_t>(v);
    return bits ^ ((bits >> 31) & 0x7FFFFFFF);
}

struct KeyRange {
    int32_t lowest = std::numeric_limits<int32_t>::max();
    int32_t highest = std::numeric_limits<int32_t>::min();
};

// Folds the keys of values[0 .. count - 1] into range.
template <int32_t Count>
KeyRange KeyRun(const float* values, int32_t count, KeyRange range) {
    const int32_t n = Count > 0 ? Count : count;
    for (int32_t k = 0; k < n; ++k) {
        const int32_t key = OrderKey(values[k]);
        range.lowest = std::min(range.lowest, key);
        range.highest = std::max(range.highest, key);
    }
    return range;
}

// One block of window sums turned into millivolts in out, and the keys of
// their range folded into keys. The divisions dominate the processing; the
// clones for the wider vector units do more of them at once, with the same
// results, and the one for the processor at hand is chosen at start.
[[gnu::target_clones("avx512f", "avx2", "default")]] KeyRange ConvertBlock(
    const Millivolts& millivolts, const double* sums, float* out, int32_t count, KeyRange keys) {
    // A count fixed at compile time lets even the cheapest vectoriser take the loops.
    if (count == BlockSize) {
        millivolts.Convert<BlockSize>(sums, out, count);
        return KeyRun<BlockSize>(out, count, keys);
    }
    millivolts.Convert<0>(sums, out, count);
    return KeyRun<0>(out, count, keys);
}

float FromOrderKey(int32_t key) {
    return std::bit_cast<float>(key ^ ((key >> 31) & 0x7FFFFFFF));
}

// The same as SequentialRange, from the keys of every value. Where there is no
// NaN and the range does not end at a zero, values and keys are ordered alike
// and equal values have equal bits, so the keys' extremes are the answer;
// otherwise the sequential pass decides.
Range RecordRange(const float* record, int32_t n, KeyRange keys) {
    const Range range{FromOrderKey(keys.lowest), FromOrderKey(keys.highest)};
    if (std::isnan(range.lowest) || std::isnan(range.highest) || range.lowest == 0.0f ||
        range.highest == 0.0f) {
        return SequentialRange(record, n);
    }
    return range;
}

}  // namespace

void ProcessRecord() {
    OscState.SpectrumValid = 0;
    const int32_t n = RecordLength();
    // No sample, nothing to measure: Record, the range and the vertical range
    // stay as they were rather than taking values from samples that do not count.
    if (n < 1) return;

    // A window of fewer than one sample has no mean; the nearest meaningful
    // reading is no smoothing at all. Likewise a capture holds at least one record.
    const int64_t width = std::max<int32_t>(OscSettings.Av_Over, 1);
    const Millivolts millivolts{OscState.FileView == 1, static_cast<double>(width),
                                static_cast<double>(std::max<int32_t>(OscSettings.Acc_Over, 1)),
                                static_cast<double>(OscSettings.Conversion),
                                static_cast<double>(OscSettings.ZeroLevel)};

    MovingWindowSum sums(millivolts.fromFile ? OscState.FileData : OscState.AccBuffer, n, width);
    float* record = OscState.Record;
    double block[BlockSize];
    int32_t done = 0;
    KeyRange keys;
    while (const int32_t count = sums.Next(block, BlockSize)) {
        // The range is taken while the block's values are still at hand.
        keys = ConvertBlock(millivolts, block, record + done, count, keys);
        done += count;
    }

    const Range range = RecordRange(record, n, keys);
    OscState.DataMin = range.lowest;
    OscState.DataMax = range.highest;
    if (OscSettings.AutoNorm != 0) {
        OscSettings.D_min = range.lowest;
        OscSettings.D_max = range.highest;
    }
}

void SetZeroLevel() {
    OscSettings.ZeroLevel = 0.0f;
    ProcessRecord();
    const int32_t n = RecordLength();
    // An empty record has no level: zero stays.
    if (n < 1) return;
    double sum = 0.0;
    for (int32_t k = 0; k < n; ++k)
        sum += OscState.Record[k];
    OscSettings.ZeroLevel = static_cast<float>(sum / n);
}

}  // namespace korvel
