#include "spectrum/SpectrumWindow.h"

#include <cmath>
#include <cstdio>

#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotState.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/ComputeSpectrum.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

// The fields hold at most this many characters.
constexpr size_t FieldSize = 50;

void WriteFrequency(Controls& bar, int32_t id, double freqKHz) {
    char text[FieldSize];
    std::snprintf(text, sizeof text, "%4.1f", freqKHz);
    bar.SetText(id, text);
}

// A field that holds a finite number first ("%g" of formatted input, as
// typed: "12abc" is 12); "nan" and "inf" are no frequencies.
bool ScanFrequency(int32_t id, double& freqKHz) {
    char text[FieldSize];
    Ports.spectrumBottomBar->GetText(id, text, sizeof text);
    float value = 0.0f;
    if (std::sscanf(text, "%g", &value) != 1 || !std::isfinite(value)) return false;
    freqKHz = value;
    return true;
}

}  // namespace

void ShowSpectrum() {
    if (PeriodicCaptureOwnsDisplay()) return;
    // The main plot's marks go: the window about to come up may cover them.
    EraseCursors(PlotCanvas);
    EraseReference();
    if (!Ports.frame->ShowSpectrumWindow()) {
        Ports.dialogs->Message(Text(TextId::SpectrumCannotCreate), nullptr);
    }
}

void SpectrumWindowCreated() {
    SpectrumViewRecord& v = SpectrumView;
    v.EditsActive = 0;
    v.RefreshEdits = 1;
    v.Selecting = 0;
    v.SelectionShown = 0;
}

void PaintSpectrum(int32_t topBarHeight, int32_t bottomBarHeight) {
    SpectrumViewRecord& v = SpectrumView;
    TakeSpectrum(ComputeSpectrum(SubWindowArea.first, SubWindowArea.last, ModeCached));
    if (v.Bins == nullptr) {
        Ports.dialogs->Message(Text(TextId::SpectrumNoMemory),
                               Text(TextId::SpectrumNoMemoryCaption));
        return;
    }
    v.EditsActive = 0;
    if (v.RefreshEdits == 1) {
        Controls& bar = *Ports.spectrumBottomBar;
        const double span = static_cast<double>(v.FreqHigh) - v.FreqLow;
        WriteFrequency(bar, spectrumBottom::Min, v.FreqLow + span * v.VisLowFrac);
        WriteFrequency(bar, spectrumBottom::Width,
                       (static_cast<double>(v.VisHighFrac) - v.VisLowFrac) * span);
        char text[FieldSize];
        std::snprintf(text, sizeof text, Text(TextId::SpectrumMaxFormat),
                      static_cast<double>(v.FreqHigh));
        bar.SetText(spectrumBottom::MaxFreq, text);
        v.RefreshEdits = 0;
    }
    v.BottomBarHeight = bottomBarHeight + 1;
    v.TopBarHeight = topBarHeight + 1;
    // With no bins (a range of one sample) BinCount - 1 is -1: the range
    // comes out as bin 0 alone, and DrawSpectrum reads no bin of it.
    const double last = v.BinCount - 1;
    DrawSpectrum(Nearest(last * v.VisLowFrac), Nearest(last * v.VisHighFrac) + 1);
    v.EditsActive = 1;
}

bool SpectrumOutdated() {
    return OscState.SpectrumValid == 0 || SpectrumData.CachedFirst != SubWindowArea.first ||
           SpectrumData.CachedLast != SubWindowArea.last;
}

void SpectrumFieldChanged(int32_t /*id*/) {
    const SpectrumViewRecord& v = SpectrumView;
    if (OscState.SpectrumRunning == 1 || v.EditsActive == 0 || !SpectrumSpreads()) return;
    double minKHz = 0.0;
    double widthKHz = 0.0;
    if (!ScanFrequency(spectrumBottom::Min, minKHz)) return;
    if (!ScanFrequency(spectrumBottom::Width, widthKHz)) return;
    int32_t first = NearestBin(minKHz);
    if (first >= v.BinCount) return;
    if (first < 0) first = 0;
    int32_t end = NearestBin(minKHz + widthKHz) + 1;
    if (end > v.BinCount) end = v.BinCount;
    if (end >= first + 2) DrawSpectrum(first, end);
}

void SpectrumWindowDestroyed() {
    if (OscState.SpectrumRunning == 1) {
        Ports.timers->Kill(TimerId::SpectrumRun);
        OscState.SpectrumRunning = 0;
    }
}

}  // namespace korvel
