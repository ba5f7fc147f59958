// The sums behind the moving average of a record: for output sample i the
// window runs over the samples i + h - width .. i + h - 1 with
// h = (width + 1) / 2, clipped to the record.
//
// The window moves by adding the sample that enters and subtracting the one
// that leaves, so a window of 10001 samples costs what a window of 3 does.
// A running sum in floating point would drift from a sum taken afresh for
// each window, so the window is summed exactly instead: every sample is a
// float, that is an integer multiple of a power of two, and the record is
// summed in units of the finest such power that it holds, in double when every
// sum on the way fits its 53 bits (every captured record), else in wider
// integers. The sum of each window is that exact number, rounded once to
// double.
//
// Consequences:
// - Wherever a fresh per-window sum in double is exact (always for
//   accumulated codes, and for any record whose samples span fewer than about
//   37 binary orders between their largest magnitude and their finest bit),
//   the result is that sum, bit for bit.
// - Where a fresh double sum would itself round, the result is the correctly
//   rounded exact sum, which no summation order can beat.
// - NaN and infinities behave as in a double sum: any NaN, or +inf and -inf
//   together, make the window NaN; otherwise an infinity makes it that
//   infinity.
#pragma once

#include <cstdint>

namespace korvel {

class MovingWindowSum {
  public:
    // samples[0 .. count - 1] is read, never written, and must outlive the
    // object. width < 1 is taken as 1; count < 1 gives no sums.
    MovingWindowSum(const float* samples, int32_t count, int64_t width);

    // Writes the sums of the next output samples into sums[0 .. capacity - 1]
    // and returns how many it wrote; 0 once every output sample has had its
    // sum. A window that clipping left with c samples instead of width has
    // its sum scaled by width / c (as S * width / c), so that dividing by
    // width gives the mean of the samples that exist.
    int32_t Next(double* sums, int32_t capacity);

    // How the record is summed: in double where that is exact, in integer
    // units of 64 or 128 bits, or in a carry-save accumulator wide enough for
    // the whole float range.
    enum class Method { Exact53, Units64, Units128, Wide };
    Method method() const { return method_; }

  private:
    template <typename Accumulator, bool Specials>
    int32_t Run(Accumulator& accumulator, double* sums, int32_t capacity);
    // sums[0 .. count - 1] belong to outputs first .. first + count - 1.
    void ScaleClipped(double* sums, int64_t first, int32_t count) const;

    const float* samples_;
    int64_t count_;
    int64_t width_;
    int64_t half_;  // h
    int64_t next_;  // index of the next output sample
    Method method_;
    bool specials_;         // the record holds a NaN or an infinity
    int32_t unitExponent_;  // one integer unit is 2^unitExponent_
    // Accumulator state between calls of Next.
    double sum53_ = 0.0;
    int64_t units64_ = 0;
    uint64_t units128_[2] = {0, 0};
    int64_t wide_[10] = {};
    int32_t nanCount_ = 0, plusInfCount_ = 0, minusInfCount_ = 0;
};

}  // namespace korvel
