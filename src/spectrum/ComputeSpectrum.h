// The one-sided power spectrum of a stretch of Record, with a running average
// of successive spectra and a cache of the last result.
#pragma once

#include <cstdint>

namespace korvel {

enum SpectrumMode : int32_t {
    ModeCached = 0,        // the stored result while it still describes Record and the range
    ModeResetAverage = 1,  // clear the running average; no transform
    ModeFresh = 2,         // compute; return the power spectrum
    ModeAccumulate = 3,    // compute; fold it into the running average; return the average
};

// Bins 0..BinCount-1, bin 0 at 0 kHz. Bins points into SpectrumData (Work or
// Average) and stays valid until the next call.
struct SpectrumResult {
    const float* Bins = nullptr;
    int32_t BinCount = 0;
    float FreqLow = 0.0f;   // kHz, always 0
    float FreqHigh = 0.0f;  // kHz of the last bin kept
};

// Power spectrum of Record[first..last] (inclusive), mean removed, zero-padded
// to the next power of two N, scaled by 1/N, in mV² per bin; the bins kept end
// where 99 % of the energy is reached. Sets SpectrumValid.
//
// Ranges too short for a spectrum: a single sample has no bin at all
// (N = 1): BinCount 0, FreqHigh 0, and LastBin -1 in SpectrumData. Two
// samples have one bin, bin 0, which is 0 once the mean is removed: BinCount
// 1, FreqHigh 0. A range with first > last or outside 0..MaxData-1 gives
// BinCount 0 and changes nothing. Bins is never null, but nothing may be read
// from it beyond BinCount; a caller that spreads bins over an axis needs
// BinCount >= 2.
SpectrumResult ComputeSpectrum(int32_t first, int32_t last, SpectrumMode mode);

}  // namespace korvel
