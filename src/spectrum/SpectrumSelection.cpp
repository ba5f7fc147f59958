#include "spectrum/SpectrumSelection.h"

#include <algorithm>
#include <cstdio>

#include "display/PlotStyle.h"
#include "model/OscState.h"
#include "ports/Ports.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

bool Running() {
    return OscState.SpectrumRunning == 1;
}

// The band from the first click to the moving edge, a little taller than
// the plot, in the raster mode that a second drawing undoes. The white brush
// leaves the inside as it is.
void DrawBand() {
    const SpectrumViewRecord& v = SpectrumView;
    Canvas& canvas = SpectrumCanvas;
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    canvas.SetPen(GridPen);
    canvas.SetBrush(WhiteBrush);
    canvas.Rectangle(v.AnchorX, v.PlotRect.top - 4, v.CurrentX, v.PlotRect.bottom + 5);
    canvas.SetRasterMode(before);
}

void EraseBand() {
    if (SpectrumView.SelectionShown == 1) {
        DrawBand();
        SpectrumView.SelectionShown = 0;
    }
}

// The fields follow a range that the mouse chose; their change is no typed input.
void ShowChosenRange(int32_t first, int32_t end) {
    SpectrumViewRecord& v = SpectrumView;
    // The fields say what DrawSpectrum will show.
    HoldRange(first, end);
    v.EditsActive = 0;
    char text[32];
    const float low = BinFrequency(first);
    std::snprintf(text, sizeof text, "%4.1f", static_cast<double>(low));
    Ports.spectrumBottomBar->SetText(spectrumBottom::Min, text);
    std::snprintf(text, sizeof text, "%4.1f", static_cast<double>(BinFrequency(end - 1) - low));
    Ports.spectrumBottomBar->SetText(spectrumBottom::Width, text);
    DrawSpectrum(first, end);
    v.EditsActive = 1;
}

// The frequency under column x of the last drawing.
float FrequencyAt(int32_t x) {
    const SpectrumViewRecord& v = SpectrumView;
    const double span = static_cast<double>(v.VisHighFreq) - v.VisLowFreq;
    return static_cast<float>(v.VisLowFreq +
                              (x - v.PlotRect.left) * span / (v.PlotRect.right - v.PlotRect.left));
}

// Second click: the range between the two clicks, 3 pixels wide at least.
void FinishSelection(int32_t x) {
    SpectrumViewRecord& v = SpectrumView;
    EraseBand();
    v.CurrentX = x;
    v.Selecting = 0;
    // A plot squeezed to nothing by a tiny window has no pixel scale; nor
    // has a spectrum without two bins a bin scale.
    if (v.PlotRect.right <= v.PlotRect.left || !SpectrumSpreads()) return;
    int32_t lo = std::min(x, v.AnchorX);
    int32_t hi = std::max(x, v.AnchorX);
    lo = std::max(lo, v.PlotRect.left);
    hi = std::min(hi, v.PlotRect.right);
    if (hi < lo + 3) hi = lo + 3;
    const int32_t first = NearestBin(FrequencyAt(lo));
    const int32_t end = std::min(NearestBin(FrequencyAt(hi)) + 1, v.BinCount);
    ShowChosenRange(first, end);
}

}  // namespace

void SpectrumLeftDown(int32_t x) {
    SpectrumViewRecord& v = SpectrumView;
    if (Running()) return;
    if (v.Selecting == 0) {
        v.Selecting = 1;
        v.AnchorX = x;
        return;
    }
    FinishSelection(x);
}

void SpectrumMouseMove(int32_t x) {
    SpectrumViewRecord& v = SpectrumView;
    if (Running() || v.Selecting == 0) return;
    EraseBand();
    v.CurrentX = std::clamp(x, v.PlotRect.left, std::max(v.PlotRect.left, v.PlotRect.right));
    DrawBand();
    v.SelectionShown = 1;
}

void SpectrumRightDown(int32_t x) {
    SpectrumViewRecord& v = SpectrumView;
    if (Running() || v.Selecting == 0) return;
    EraseBand();
    v.Selecting = 0;
    v.CurrentX = x;
}

bool SpectrumCancelSelection() {
    if (Running() || SpectrumView.Selecting == 0) return false;
    SpectrumRightDown(SpectrumView.CurrentX);
    return true;
}

void SpectrumDoubleClick(int32_t /*x*/) {
    SpectrumViewRecord& v = SpectrumView;
    if (Running()) return;
    EraseBand();
    v.Selecting = 0;
    if (!SpectrumSpreads()) return;
    const float width = v.VisHighFreq - v.VisLowFreq;
    const float centre = (v.VisHighFreq + v.VisLowFreq) / 2;
    const int32_t first = std::max(NearestBin(static_cast<double>(centre) - width), 0);
    const int32_t end = std::min(NearestBin(static_cast<double>(centre) + width) + 1, v.BinCount);
    ShowChosenRange(first, end);
}

}  // namespace korvel
