// The spectrum window's display state and its canvas. Both outlive the
// window, so a reopened window shows the same part of the frequency range.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "display/PlotState.h"
#include "spectrum/ComputeSpectrum.h"

namespace korvel {

struct SpectrumViewRecord {
    const float* Bins = nullptr;  // the bins last returned by ComputeSpectrum, bin 0 first
    int32_t BinCount = 0;
    float FreqLow = 0.0f;  // frequency of the first and last bin, kHz
    float FreqHigh = 0.0f;
    int32_t Averaged = 0;  // spectra averaged into Bins: AverageCount for the average, else 1

    float VisLowFrac = 0.0f;   // first shown bin as a fraction of BinCount - 1
    float VisHighFrac = 1.0f;  // last shown bin, likewise
    float VisLowFreq = 0.0f;   // frequency at the plot's left and right end, kHz
    float VisHighFreq = 0.0f;
    int32_t ShownFirst = 0;  // bins first .. end - 1 of the last drawing
    int32_t ShownEnd = 0;
    Rect PlotRect;  // the plot rectangle of the last drawing

    int32_t TopBarHeight = 0;  // each bar's window height + 1, measured at every paint
    int32_t BottomBarHeight = 0;

    int32_t EditsActive = 0;   // 1 while typed Min/Width values are honoured
    int32_t RefreshEdits = 0;  // 1: the next paint writes Min, Width and the maximum

    int32_t Selecting = 0;       // between the first and the second click of a selection
    int32_t SelectionShown = 0;  // the selection band is on the canvas
    int32_t AnchorX = 0;         // x of the first click
    int32_t CurrentX = 0;        // x of the band's moving edge

    int32_t Accumulate = 0;  // the Accumulate box as a continuous run started
    int32_t RunCount = 0;    // ticks counted by the current run with Accumulate
};

extern SpectrumViewRecord SpectrumView;

// The spectrum window's client area, bars included: rows 0 .. TopBarHeight - 1
// lie under the upper bar and the last BottomBarHeight rows under the lower
// one; the plot is drawn between them. The ui sizes it with the window.
extern Canvas SpectrumCanvas;

// The state as at program start, and a canvas of 0 x 0.
void ResetSpectrumView();

// Keeps a result of ComputeSpectrum as the bins the window shows.
void TakeSpectrum(const SpectrumResult& result);

// Whether the bins can be spread over a frequency axis: at least two bins
// over a positive, finite frequency span. Every conversion between pixels,
// frequencies and bins divides by BinCount - 1 and by that span.
bool SpectrumSpreads();

// Holds a range of bins first .. end - 1 within a spectrum that spreads,
// two bins wide at least: a single bin has no width to scale the plot by,
// nor a centre and width for a double click to widen.
void HoldRange(int32_t& first, int32_t& end);

// Frequency of bin k, kHz: FreqLow + k x (FreqHigh - FreqLow) / (BinCount - 1).
float BinFrequency(int32_t k);

// nearest(x) = trunc(x + 0.5), held within int32 limits (a NaN gives 0).
int32_t Nearest(double x);

// Bin index of a frequency, nearest(x) = trunc(x + 0.5) of
// (freqKHz - FreqLow) x (BinCount - 1) / (FreqHigh - FreqLow), held within
// int32 limits. Only for a spectrum that spreads.
int32_t NearestBin(double freqKHz);

}  // namespace korvel
