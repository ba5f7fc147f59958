// The two data-file formats as both the reader and the writer see them.
//
// Text (*.ktf): lines "time_us value_mV"; a line that does not begin with two
// numbers is not a sample. Lines are read in pieces of at most
// TextPieceChars - 1 characters and every piece counts as a line.
// Binary (*.kbf): little-endian; magic, float period (us), float first time
// (us), then the body of the magic: "KDRF" float Conversion, float ZeroLevel,
// int8 codes; "KDRU" float Conversion, uint8 codes; "KFRF" float samples (mV).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvel {

inline constexpr int32_t TextPieceChars = 500;
inline constexpr int32_t BinaryHeaderBytes = 12;

enum class BinaryKind { None, SignedCodes, UnsignedCodes, Floats };

inline BinaryKind BinaryKindOf(const char magic[4]) {
    if (std::memcmp(magic, "KDRF", 4) == 0) return BinaryKind::SignedCodes;
    if (std::memcmp(magic, "KDRU", 4) == 0) return BinaryKind::UnsignedCodes;
    if (std::memcmp(magic, "KFRF", 4) == 0) return BinaryKind::Floats;
    return BinaryKind::None;
}

// The time step of a text file: the span from the first sample's time to the
// last time stamp read, divided by the sample count (not the count less one),
// in float arithmetic. The writer evaluates the very same expression to choose
// the time stamp that gives its period back.
inline float PeriodOfSpan(float lastTimeUs, float firstTimeUs, int32_t count) {
    return (lastTimeUs - firstTimeUs) / static_cast<float>(count);
}

// No float time stamp can give every step back through PeriodOfSpan, so this
// program's writer also notes the step itself: "t step P" after the samples,
// t ending a span of count steps, or, when the samples fill every line the
// reader examines, "t v step P" on the last sample's own line, t ending a span
// of count - 1 steps. The note is taken only when it agrees with the step the
// time stamps give over their span (computedUs, over `steps` steps) to within
// what float time stamps can resolve, so a file whose lines were edited
// afterwards still gets the step its time stamps give.
inline bool StepNoteAgrees(float notedUs, float computedUs, float lastTimeUs, float firstTimeUs,
                           int32_t steps) {
    if (steps < 1) return false;
    if (!(std::isfinite(notedUs) && notedUs > 0.0f && std::isfinite(computedUs))) return false;
    auto ulp = [](float x) {
        const float a = std::fabs(x);
        return static_cast<double>(std::nextafter(a, INFINITY)) - a;
    };
    const double slack = 2.0 * (ulp(lastTimeUs) + ulp(firstTimeUs)) / steps + 2.0 * ulp(computedUs);
    return std::fabs(static_cast<double>(notedUs) - computedUs) <= slack;
}

}  // namespace korvel
