#include "acquisition/ProcessRecord.h"

#include <algorithm>
#include <cstdint>

#include "acquisition/MovingWindowSum.h"
#include "app/OscSettings.h"
#include "app/OscState.h"

namespace korvel {

namespace {

// Window sums are taken a block at a time, then turned into millivolts in a
// loop the compiler can vectorise; the block lives on the stack.
constexpr int32_t BlockSize = 512;

// The number of samples that count, held inside the buffers.
int32_t RecordLength() {
    return std::min(OscSettings.Num_Data, MaxData);
}

}  // namespace

void ProcessRecord() {
    OscState.SpectrumValid = 0;
    const int32_t n = RecordLength();
    // No sample, nothing to measure: Record, the range and the vertical range
    // stay as they were rather than taking values from samples that do not count.
    if (n < 1) return;

    const bool fromFile = OscState.FileView == 1;
    // A window of fewer than one sample has no mean; the nearest meaningful
    // reading is no smoothing at all. Likewise a capture holds at least one record.
    const int64_t width = std::max<int32_t>(OscSettings.Av_Over, 1);
    const auto widthD = static_cast<double>(width);
    const auto records = static_cast<double>(std::max<int32_t>(OscSettings.Acc_Over, 1));
    const auto conversion = static_cast<double>(OscSettings.Conversion);
    const auto zero = static_cast<double>(OscSettings.ZeroLevel);

    MovingWindowSum sums(fromFile ? OscState.FileData : OscState.AccBuffer, n, width);
    float* record = OscState.Record;
    double block[BlockSize];
    int32_t done = 0;
    while (const int32_t count = sums.Next(block, BlockSize)) {
        float* out = record + done;
        if (fromFile) {
            for (int32_t j = 0; j < count; ++j) {
                out[j] = static_cast<float>(block[j] / widthD - zero);
            }
        } else {
            for (int32_t j = 0; j < count; ++j) {
                out[j] = static_cast<float>(((conversion * block[j]) / records) / widthD - zero);
            }
        }
        done += count;
    }

    // Ties keep the earlier value.
    float lowest = record[0];
    float highest = record[0];
    for (int32_t k = 1; k < n; ++k) {
        if (record[k] < lowest) lowest = record[k];
        if (record[k] > highest) highest = record[k];
    }
    OscState.DataMin = lowest;
    OscState.DataMax = highest;
    if (OscSettings.AutoNorm != 0) {
        OscSettings.D_min = lowest;
        OscSettings.D_max = highest;
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
