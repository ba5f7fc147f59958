// The storage of the spectrum computation: the transform's work area, the
// running average and what the last computation found. Static, so a
// computation never allocates and cannot run out of memory.
#pragma once

#include <cstdint>

#include "numeric/Fft.h"

namespace korvel {

struct SpectrumDataRecord {
    // Transform of size N: real parts in Work[0..N-1], imaginary parts right
    // after them in Work[N..2N-1]. After a computation Work[0..N/2-1] hold
    // the bin powers, mV².
    alignas(64) float Work[2 * MaxFftSize];
    alignas(64) float Average[MaxFftSize];  // running average of power spectra, bin by bin
    int32_t FftSize;                        // N, a power of two
    int32_t FftLog2;                        // log2 N
    int32_t LastBin;       // last bin kept, where 99 % of the energy is reached; -1: none
    float BinWidth;        // frequency step between bins, kHz
    int32_t AverageCount;  // spectra folded into Average since its last reset
    int32_t CachedFirst;   // sample range of the last computation, inclusive
    int32_t CachedLast;
};

// One instance for the whole run, zero at start. It outlives the spectrum
// window, so a reopened window repaints without a transform.
extern SpectrumDataRecord SpectrumData;

// Every field back to zero.
void ResetSpectrumData();

}  // namespace korvel
