// The radix-2 transform behind the power spectrum.
#pragma once

#include <cstdint>

namespace korvel {

// Largest transform: a whole record of MaxData samples zero-padded to 2^16.
inline constexpr int32_t MaxFftLog2 = 16;
inline constexpr int32_t MaxFftSize = 1 << MaxFftLog2;

// Transforms N = 2^m complex values in place, given as separate real and
// imaginary arrays of N floats each. direction is the sign of the exponent:
// -1 is the forward transform scaled by 1/N, any direction >= 0 is left
// unscaled. The result is in natural order. An m outside 0..MaxFftLog2 leaves
// the arrays as they are.
//
// Every butterfly forms its products and sums in double and stores floats, so
// the result is the same to the last bit whichever vector instructions run it.
void Fft(float* re, float* im, int32_t m, int32_t direction);

// The code paths of the transform for N >= 256. Each gives the same bits; the
// program takes the widest the processor runs. Benchmarks and tests may pin one.
enum class FftKernel : int32_t { Generic, Avx2, Avx512 };

// The widest kernel this processor runs.
FftKernel BestFftKernel();
// Runs every later transform with kernel; one the processor lacks is replaced
// by the best it has. Returns the kernel now in use.
FftKernel UseFftKernel(FftKernel kernel);

}  // namespace korvel
