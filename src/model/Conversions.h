// Conversions between sample indices, times and values, and the two vertical
// ranges of the plots.
#pragma once

#include <cstdint>

namespace korvel {

// A vertical range in mV and the record it applies to.
struct RangeView {
    float lower;
    float upper;
    const float* record;
};

// (D_min, D_max) when AutoNorm is 0, else the data's own (DataMin, DataMax).
RangeView VerticalRange();

// (ViewMin, ViewMax): the range of the sub-window plot.
RangeView ViewRange();

// Record[i] in mV; callers keep 0 <= i < Num_Data.
float RecordValue(int32_t i);

// Microseconds from sample 0 (without TimeOffset) of a fractional sample position.
double IndexToTime(double x);

// Fractional sample position of a time in microseconds; callers truncate.
double TimeToIndex(double t);

// When AutoNorm is on, asks the next drawing to take D_min/D_max as its range.
void RequestAutoNorm();

}  // namespace korvel
