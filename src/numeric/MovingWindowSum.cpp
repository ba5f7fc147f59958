#include "numeric/MovingWindowSum.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

// A finite float as M * 2^(position - 149): M is the 24-bit significand (23
// bits for subnormals), position 0..253 counts from the finest subnormal bit.
struct FloatParts {
    uint64_t significand;
    int32_t position;
    bool negative;
};

FloatParts Split(float v) {
    const uint32_t bits = std::bit_cast<uint32_t>(v);
    const uint32_t exponent = (bits >> 23) & 0xFFu;
    const uint32_t fraction = bits & 0x7FFFFFu;
    if (exponent == 0) return {fraction, 0, (bits >> 31) != 0};
    return {fraction | 0x800000u, static_cast<int32_t>(exponent) - 1, (bits >> 31) != 0};
}

constexpr int32_t FinestBit = 149;  // position 0 is 2^-149

// Where the record's bits lie: every finite sample is a multiple of
// 2^(finest - 149) and smaller in magnitude than 2^(top - 149).
struct RecordBits {
    int32_t finest = 0;
    int32_t top = 0;
    bool specials = false;
};

// The bits of a run of samples. Branch-free, so that the compiler can take
// several samples at once. The lowest set bit of the significand M is found as
// the exponent of the float made from M & -M, a power of two below 2^24 and so
// exact.
struct ScanState {
    static constexpr uint32_t None = std::numeric_limits<uint32_t>::max();
    uint32_t finest = None;
    uint32_t top = 0;
    uint32_t specials = 0;
};

template <int64_t Count>
ScanState ScanRun(const float* samples, int64_t count, ScanState state) {
    uint32_t finest = state.finest, top = state.top, specials = state.specials;
    // A fixed count lets even the cheapest vectoriser take the loop.
    const int64_t n = Count > 0 ? Count : count;
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t bits = std::bit_cast<uint32_t>(samples[i]);
        const uint32_t exponent = (bits >> 23) & 0xFFu;
        const uint32_t normal = static_cast<uint32_t>(exponent != 0);
        const uint32_t significand = (bits & 0x7FFFFFu) | (normal << 23);
        const uint32_t position = exponent - normal;
        const auto lowest =
            static_cast<float>(static_cast<int32_t>(significand & (0u - significand)));
        const uint32_t trailing = (std::bit_cast<uint32_t>(lowest) >> 23) - 127u;
        const uint32_t special = static_cast<uint32_t>(exponent == 0xFFu);
        // All ones for samples that hold no finite bits: infinities, NaN, zeros.
        const uint32_t skip = 0u - (special | static_cast<uint32_t>((bits & 0x7FFFFFFFu) == 0));
        finest = std::min(finest, (position + trailing) | skip);
        top = std::max(top, (position + 24u) & ~skip);
        specials |= special;
    }
    return {finest, top, specials};
}

RecordBits Scan(const float* samples, int64_t count) {
    constexpr int64_t Run = 256;
    ScanState state;
    int64_t i = 0;
    for (; i + Run <= count; i += Run)
        state = ScanRun<Run>(samples + i, Run, state);
    state = ScanRun<0>(samples + i, count - i, state);
    if (state.finest == ScanState::None) return {0, 0, state.specials != 0};  // nothing but zeros
    return {static_cast<int32_t>(state.finest), static_cast<int32_t>(state.top),
            state.specials != 0};
}

// Every captured record holds integer codes far below 2^24 in magnitude, and
// any window of them sums exactly in double: a quick look at the record spares
// it the full scan. Returns 0 when every sample is such an integer.
template <int64_t Count>
uint32_t NotSmallIntegers(const float* samples, int64_t count) {
    constexpr uint32_t Limit = 0x4B800000u;  // the bits of 2^24
    uint32_t outside = 0;
    const int64_t n = Count > 0 ? Count : count;
    for (int64_t i = 0; i < n; ++i) {
        // The magnitude, with 2^24 standing for itself, anything larger, infinity
        // and NaN (done on the bits: a float select would keep the compiler from
        // taking several samples at once).
        const uint32_t bits = std::bit_cast<uint32_t>(samples[i]) & 0x7FFFFFFFu;
        const uint32_t clamped = bits < Limit ? bits : Limit;
        const float magnitude = std::bit_cast<float>(clamped);
        const auto whole = static_cast<float>(static_cast<int32_t>(magnitude));
        outside |=
            static_cast<uint32_t>(whole != magnitude) | static_cast<uint32_t>(clamped == Limit);
    }
    return outside;
}

bool SmallIntegers(const float* samples, int64_t count) {
    constexpr int64_t Run = 256;
    uint32_t outside = 0;
    int64_t i = 0;
    for (; i + Run <= count; i += Run)
        outside |= NotSmallIntegers<Run>(samples + i, Run);
    return (outside | NotSmallIntegers<0>(samples + i, count - i)) == 0;
}

// The sum in double, for records whose every window sum, and every sum on the
// way from one window to the next, is a multiple of the record's finest bit
// below 2^53 of it: then each addition is exact.
struct Exact53 {
    double sum;

    void Add(float v) { sum += v; }
    void Sub(float v) { sum -= v; }
    // The difference of two samples is exact too, so the window moves with one
    // addition on the critical path.
    void Move(float enter, float leave) {
        sum += static_cast<double>(enter) - static_cast<double>(leave);
    }
    double Value() const { return sum; }
};

// The sum in integer units of 2^unitExponent, 64 bits wide. Converting a
// sample is a multiplication by a power of two and a conversion of an
// integer-valued double: both exact while the units fit.
struct Units64 {
    int64_t units;
    double toUnits;    // 2^-unitExponent
    double fromUnits;  // 2^unitExponent

    int64_t ToUnits(float v) const {
        return static_cast<int64_t>(static_cast<double>(v) * toUnits);
    }
    void Add(float v) { units += ToUnits(v); }
    void Sub(float v) { units -= ToUnits(v); }
    void Move(float enter, float leave) { units += ToUnits(enter) - ToUnits(leave); }
    double Value() const { return static_cast<double>(units) * fromUnits; }
};

struct Units128 {
    Int128 units;
    int32_t unitPosition;
    double fromUnits;

    Int128 ToUnits(float v) const {
        const FloatParts parts = Split(v);
        const int32_t shift = parts.position - unitPosition;
        // A negative shift only drops zero bits: the unit is the record's finest
        // bit. Only a zero lies further below it than a shift can reach.
        const Int128 magnitude = shift >= 0    ? static_cast<Int128>(parts.significand) << shift
                                 : shift > -64 ? static_cast<Int128>(parts.significand >> -shift)
                                               : 0;
        return parts.negative ? -magnitude : magnitude;
    }
    void Add(float v) { units += ToUnits(v); }
    void Sub(float v) { units -= ToUnits(v); }
    void Move(float enter, float leave) { units += ToUnits(enter) - ToUnits(leave); }
    double Value() const {
        // Both conversions round to nearest once; the power of two is exact.
        const auto small = static_cast<int64_t>(units);
        if (static_cast<Int128>(small) == units) return static_cast<double>(small) * fromUnits;
        return static_cast<double>(units) * fromUnits;
    }
};

// Ten 32-bit digits from 2^-149 up, each kept in 64 bits without carrying: a
// record of at most 65534 samples puts each into the window once and takes it
// out once, each time adding less than 2^32 to a digit, so no digit comes
// near overflow before the value is read.
struct Wide {
    int64_t* digits;

    void Put(float v, bool subtract) {
        const FloatParts parts = Split(v);
        const uint64_t shifted = parts.significand << (parts.position & 31);
        const int32_t k = parts.position >> 5;
        const auto low = static_cast<int64_t>(shifted & 0xFFFFFFFFu);
        const auto high = static_cast<int64_t>(shifted >> 32);
        if (parts.negative != subtract) {
            digits[k] -= low;
            digits[k + 1] -= high;
        } else {
            digits[k] += low;
            digits[k + 1] += high;
        }
    }
    void Add(float v) { Put(v, false); }
    void Sub(float v) { Put(v, true); }
    void Move(float enter, float leave) {
        Put(enter, false);
        Put(leave, true);
    }

    static void Carry(int64_t (&t)[10]) {
        for (int k = 0; k < 9; ++k) {
            const int64_t carry = t[k] >> 32;  // floor division: the digit ends up in 0 .. 2^32 - 1
            t[k] &= 0xFFFFFFFF;
            t[k + 1] += carry;
        }
    }

    double Value() const {
        int64_t t[10];
        std::copy(digits, digits + 10, t);
        Carry(t);
        const bool negative = t[9] < 0;
        if (negative) {
            for (int64_t& digit : t)
                digit = -digit;
            Carry(t);
        }
        int k = 9;
        while (k >= 0 && t[k] == 0)
            --k;
        if (k < 0) return 0.0;
        // The top 64 bits, with every bit below them folded into the lowest one
        // so that the conversion to double rounds as the whole number would.
        const uint64_t top =
            (static_cast<uint64_t>(t[k]) << 32) | (k >= 1 ? static_cast<uint64_t>(t[k - 1]) : 0u);
        const int lead = std::countl_zero(top);  // < 32: t[k] is not 0
        const uint64_t next = k >= 2 ? static_cast<uint64_t>(t[k - 2]) : 0u;
        uint64_t mantissa = lead == 0 ? top : (top << lead) | (next >> (32 - lead));
        bool sticky = (next & ((uint64_t{1} << (32 - lead)) - 1)) != 0;
        for (int j = 0; j < k - 2; ++j)
            sticky = sticky || t[j] != 0;
        if (sticky) mantissa |= 1u;
        const double magnitude =
            std::ldexp(static_cast<double>(mantissa), 32 * (k - 1) - lead - FinestBit);
        return negative ? -magnitude : magnitude;
    }
};

// Half-width h, width and sample count of a record's windows. Each is an
// integer far below 2^53, and so is every count made from them: exact in
// double, where the scaling below runs on vectors.
struct WindowShape {
    double half;
    double width;
    double count;
};

// sums[k] of output i = from + k, k < n, scaled by width / present, where the
// window of output i holds present = min(i + h - 1, count - 1) - max(i + h -
// width, 0) + 1 samples of the record. The clones for the wider vector units
// do more of the divisions at once, with the same results.
[[gnu::target_clones("avx512f", "avx2", "default")]] void ScaleWindows(double* sums, int64_t from,
                                                                       int32_t n,
                                                                       WindowShape shape) {
    const auto start = static_cast<double>(from);
    for (int32_t k = 0; k < n; ++k) {
        const double i = start + static_cast<double>(k);
        const double present = std::min(i + shape.half - 1.0, shape.count - 1.0) -
                               std::max(i + shape.half - shape.width, 0.0) + 1.0;
        sums[k] = sums[k] * shape.width / present;
    }
}

}  // namespace

MovingWindowSum::MovingWindowSum(const float* samples, int32_t count, int64_t width)
    : samples_(samples),
      count_(std::max<int64_t>(count, 0)),
      width_(std::max<int64_t>(width, 1)),
      half_((width_ + 1) / 2),
      next_(0) {
    // Integers below 2^24: finest bit 2^0 at the lowest, top 2^24 at the highest.
    const RecordBits bits = SmallIntegers(samples_, count_)
                                ? RecordBits{FinestBit, FinestBit + 24, false}
                                : Scan(samples_, count_);
    specials_ = bits.specials;
    unitExponent_ = bits.finest - FinestBit;
    // A window holds at most min(width, count) samples, and one more while it moves.
    const auto terms = static_cast<uint64_t>(std::min(width_, count_) + 1);
    const int32_t headroom = static_cast<int32_t>(std::bit_width(terms));
    const int32_t span = bits.top - bits.finest;
    if (span + headroom <= 53) {
        method_ = Method::Exact53;
    } else if (span + headroom <= 63) {
        method_ = Method::Units64;
    } else if (span + headroom <= 127) {
        method_ = Method::Units128;
    } else {
        method_ = Method::Wide;
    }
}

template <typename Accumulator, bool Specials>
int32_t MovingWindowSum::Run(Accumulator& accumulator, double* sums, int32_t capacity) {
    auto put = [&](float v, bool subtract) {
        if constexpr (Specials) {
            if (!std::isfinite(v)) {
                const int32_t step = subtract ? -1 : 1;
                if (std::isnan(v)) {
                    nanCount_ += step;
                } else if (v > 0.0f) {
                    plusInfCount_ += step;
                } else {
                    minusInfCount_ += step;
                }
                return;
            }
        }
        if (subtract) {
            accumulator.Sub(v);
        } else {
            accumulator.Add(v);
        }
    };
    auto value = [&]() -> double {
        if constexpr (Specials) {
            if (nanCount_ > 0 || (plusInfCount_ > 0 && minusInfCount_ > 0)) {
                return std::numeric_limits<double>::quiet_NaN();
            }
            if (plusInfCount_ > 0) return std::numeric_limits<double>::infinity();
            if (minusInfCount_ > 0) return -std::numeric_limits<double>::infinity();
        }
        return accumulator.Value();
    };

    if (next_ == 0) {
        const int64_t last = std::min(half_ - 1, count_ - 1);
        for (int64_t j = std::max<int64_t>(half_ - width_, 0); j <= last; ++j) {
            put(samples_[j], false);
        }
    }
    // After output i the sample i + h enters the window while it lies in the
    // record (i < enterEnd), and the sample i + h - width leaves it once it
    // lies in the record (i >= leaveBegin). Between those two bounds the
    // window is whole: one sample in and one out.
    const int64_t leaveBegin = width_ - half_;
    const int64_t enterEnd = count_ - half_;
    const float* entering = samples_ + half_;
    const float* leaving = entering - width_;
    int32_t written = 0;
    while (written < capacity && next_ < count_) {
        if constexpr (!Specials) {
            // Finite samples: every stretch with the same samples entering and
            // leaving runs as its own loop, free of tests.
            const bool enters = next_ < enterEnd;
            const bool leaves = next_ >= leaveBegin;
            int64_t stop = std::min(count_, next_ + (capacity - written));
            if (enters) stop = std::min(stop, enterEnd);
            if (!leaves) stop = std::min(stop, leaveBegin);
            if (enters && leaves) {
                for (; next_ < stop; ++next_) {
                    sums[written++] = accumulator.Value();
                    accumulator.Move(entering[next_], leaving[next_]);
                }
            } else if (enters) {
                for (; next_ < stop; ++next_) {
                    sums[written++] = accumulator.Value();
                    accumulator.Add(entering[next_]);
                }
            } else if (leaves) {
                for (; next_ < stop; ++next_) {
                    sums[written++] = accumulator.Value();
                    accumulator.Sub(leaving[next_]);
                }
            } else {
                for (; next_ < stop; ++next_)
                    sums[written++] = accumulator.Value();
            }
            continue;
        }
        const int64_t lo = next_ + half_ - width_;
        const int64_t hi = next_ + half_ - 1;
        sums[written++] = value();  // scaled below if clipped
        if (hi + 1 < count_) put(samples_[hi + 1], false);
        if (lo >= 0) put(samples_[lo], true);
        ++next_;
    }
    ScaleClipped(sums, next_ - written, written);
    return written;
}

void MovingWindowSum::ScaleClipped(double* sums, int64_t first, int32_t count) const {
    // Output i is clipped when its window starts before the record (i < begin)
    // or ends after it (i > end). The divisions run apart from the window's
    // walk, where they would hold it up.
    const int64_t begin = width_ - half_;
    const int64_t end = count_ - half_;
    const WindowShape shape{static_cast<double>(half_), static_cast<double>(width_),
                            static_cast<double>(count_)};
    auto scale = [&](int64_t from, int64_t to) {
        if (from < to)
            ScaleWindows(sums + (from - first), from, static_cast<int32_t>(to - from), shape);
    };
    const int64_t last = first + count;
    if (begin > end) {
        scale(first, last);  // a window wider than the record: every one is clipped
        return;
    }
    scale(first, std::min(last, begin));
    scale(std::max(first, end + 1), last);
}

int32_t MovingWindowSum::Next(double* sums, int32_t capacity) {
    switch (method_) {
        case Method::Exact53: {
            // The sum is held in a local while it runs: in the member it could
            // alias the sums written, and would go through memory at every step.
            Exact53 accumulator{sum53_};
            const int32_t written = specials_ ? Run<Exact53, true>(accumulator, sums, capacity)
                                              : Run<Exact53, false>(accumulator, sums, capacity);
            sum53_ = accumulator.sum;
            return written;
        }
        case Method::Units64: {
            Units64 accumulator{units64_, std::ldexp(1.0, -unitExponent_),
                                std::ldexp(1.0, unitExponent_)};
            const int32_t written = specials_ ? Run<Units64, true>(accumulator, sums, capacity)
                                              : Run<Units64, false>(accumulator, sums, capacity);
            units64_ = accumulator.units;
            return written;
        }
        case Method::Units128: {
            const Int128 stored =
                static_cast<Int128>((static_cast<UInt128>(units128_[1]) << 64) | units128_[0]);
            Units128 accumulator{stored, unitExponent_ + FinestBit, std::ldexp(1.0, unitExponent_)};
            const int32_t written = specials_ ? Run<Units128, true>(accumulator, sums, capacity)
                                              : Run<Units128, false>(accumulator, sums, capacity);
            const auto raw = static_cast<UInt128>(accumulator.units);
            units128_[0] = static_cast<uint64_t>(raw);
            units128_[1] = static_cast<uint64_t>(raw >> 64);
            return written;
        }
        case Method::Wide:
        default: {
            Wide accumulator{wide_};
            return specials_ ? Run<Wide, true>(accumulator, sums, capacity)
                             : Run<Wide, false>(accumulator, sums, capacity);
        }
    }
}

}  // namespace korvel
