// Automatic measurements of a record: its extremes, mean and RMS values, and
// the frequency of its strongest spectral line. Plain functions on a run of
// samples in millivolts, for the command-line companion and for anything else
// that reports figures rather than pictures.
#pragma once

#include <cstdint>

namespace korvel {

struct RecordMeasurements {
    int32_t samples = 0;
    float minimumMv = 0.0f;
    float maximumMv = 0.0f;
    double peakToPeakMv = 0.0;
    double meanMv = 0.0;
    double rmsMv = 0.0;    // of the values as they are
    double acRmsMv = 0.0;  // of the values less their mean: the RMS of what varies
    // The strongest line of the power spectrum over bins 1 .. N/2 - 1, where
    // N is the record's length padded to a power of two, as the spectrum
    // window pads it. The mean is removed and the samples are weighted with
    // a Hann window first: without it, a tone that falls between two bins
    // loses up to 60 % of its bin's power and its own harmonics can outgrow
    // it (the simulated square wave's second harmonic would). The frequency
    // is refined between bins by a parabola through the logarithms of the
    // three powers around the peak. No line when the record has fewer than
    // four samples, no energy outside bin 0, or no usable time step.
    bool hasLine = false;
    int32_t lineBin = 0;       // the bin of the peak
    double binWidthKHz = 0.0;  // 1000 / (samplePeriodUs x N): the spectrum's resolution
    double lineKHz = 0.0;      // the refined frequency, within half a bin of lineBin's
    double periodUs = 0.0;     // 1000 / lineKHz
};

// Extremes, mean, RMS and AC RMS of values[0 .. count - 1]; sums in double,
// the AC RMS from the deviations from the mean (two passes), so a small
// signal on a large offset keeps its figures. count < 1 gives all zeros.
RecordMeasurements MeasureLevels(const float* values, int32_t count);

// Everything: the levels, and the strongest spectral line of the samples
// taken samplePeriodUs apart. At most MaxData samples are measured.
RecordMeasurements MeasureRecord(const float* values, int32_t count, float samplePeriodUs);

}  // namespace korvel
