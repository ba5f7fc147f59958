#include "acquisition/MovingWindowSum.h"

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

RecordBits Scan(const float* samples, int64_t count) {
    int32_t finest = std::numeric_limits<int32_t>::max();
    int32_t top = 0;
    bool specials = false;
    for (int64_t i = 0; i < count; ++i) {
        const uint32_t bits = std::bit_cast<uint32_t>(samples[i]);
        if ((bits & 0x7F800000u) == 0x7F800000u) {
            specials = true;
            continue;
        }
        if ((bits & 0x7FFFFFFFu) == 0) continue;
        const FloatParts parts = Split(samples[i]);
        finest = std::min(finest, parts.position + std::countr_zero(parts.significand));
        top = std::max(top, parts.position + 24);
    }
    if (finest == std::numeric_limits<int32_t>::max()) finest = top = 0;  // nothing but zeros
    return {finest, top, specials};
}

// The sum in integer units of 2^unitExponent, 64 bits wide. Converting a
// sample is a multiplication by a power of two and a conversion of an
// integer-valued double: both exact while the units fit.
struct Units64 {
    int64_t& units;
    double toUnits;    // 2^-unitExponent
    double fromUnits;  // 2^unitExponent

    void Add(float v) { units += static_cast<int64_t>(static_cast<double>(v) * toUnits); }
    void Sub(float v) { units -= static_cast<int64_t>(static_cast<double>(v) * toUnits); }
    double Value() const { return static_cast<double>(units) * fromUnits; }
};

struct Units128 {
    Int128 units;
    int32_t unitPosition;
    double fromUnits;

    Int128 ToUnits(float v) const {
        const FloatParts parts = Split(v);
        const int32_t shift = parts.position - unitPosition;
        // A negative shift only drops zero bits: the unit is the record's finest bit.
        const Int128 magnitude = shift >= 0 ? static_cast<Int128>(parts.significand) << shift
                                            : static_cast<Int128>(parts.significand >> -shift);
        return parts.negative ? -magnitude : magnitude;
    }
    void Add(float v) { units += ToUnits(v); }
    void Sub(float v) { units -= ToUnits(v); }
    double Value() const {
        // Both conversions round to nearest once; the power of two is exact.
        const auto small = static_cast<int64_t>(units);
        if (static_cast<Int128>(small) == units) return static_cast<double>(small) * fromUnits;
        return static_cast<double>(units) * fromUnits;
    }
};

// Ten 32-bit digits from 2^-149 up, each kept in 64 bits without carrying:
// one record moves at most 2 * 65535 samples through the window, each adding
// less than 2^32 to a digit, so no digit can overflow before the value is read.
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

}  // namespace

MovingWindowSum::MovingWindowSum(const float* samples, int32_t count, int64_t width)
    : samples_(samples),
      count_(std::max<int64_t>(count, 0)),
      width_(std::max<int64_t>(width, 1)),
      half_((width_ + 1) / 2),
      next_(0) {
    const RecordBits bits = Scan(samples_, count_);
    specials_ = bits.specials;
    unitExponent_ = bits.finest - FinestBit;
    // A window holds at most min(width, count) samples, and one more while it moves.
    const auto terms = static_cast<uint64_t>(std::min(width_, count_) + 1);
    const int32_t headroom = static_cast<int32_t>(std::bit_width(terms));
    const int32_t span = bits.top - bits.finest;
    if (span + headroom <= 63) {
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
    const auto width = static_cast<double>(width_);
    int32_t written = 0;
    for (; written < capacity && next_ < count_; ++written, ++next_) {
        const int64_t lo = next_ + half_ - width_;
        const int64_t hi = next_ + half_ - 1;
        const int64_t present = std::min(hi, count_ - 1) - std::max<int64_t>(lo, 0) + 1;
        double sum = value();
        if (present != width_) sum = sum * width / static_cast<double>(present);
        sums[written] = sum;
        if (hi + 1 < count_) put(samples_[hi + 1], false);
        if (lo >= 0) put(samples_[lo], true);
    }
    return written;
}

int32_t MovingWindowSum::Next(double* sums, int32_t capacity) {
    switch (method_) {
        case Method::Units64: {
            Units64 accumulator{units64_, std::ldexp(1.0, -unitExponent_),
                                std::ldexp(1.0, unitExponent_)};
            return specials_ ? Run<Units64, true>(accumulator, sums, capacity)
                             : Run<Units64, false>(accumulator, sums, capacity);
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
