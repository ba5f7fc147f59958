#include "spectrum/SpectrumRun.h"

#include <cstdio>

#include "acquisition/CaptureEngine.h"
#include "acquisition/TickedCapture.h"
#include "display/PlotState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/Ports.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/ComputeSpectrum.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

// A capture that runs on ticks (an instrument's, a long one of the card)
// brings its record on a later tick than the one that started it: the
// spectrum is taken at the first tick that finds it there, and the next
// capture starts at the tick after. A capture that ended without a record
// (the device failed and the user was told, or Escape) ends the run.
bool RecordAwaited = false;
int32_t ReadyBefore = 0;

// True when this tick has no new record to take the spectrum of.
bool RecordNotYet() {
    if (OscState.CaptureBusy == 1) return true;
    if (RecordAwaited) {
        RecordAwaited = false;
        if (OscState.RecordsReady != ReadyBefore) return false;
        ToggleSpectrumRun();
        return true;
    }
    ReadyBefore = OscState.RecordsReady;
    CaptureStep();
    RecordAwaited = OscState.CaptureBusy == 1;
    return RecordAwaited;
}

}  // namespace

void ToggleSpectrumRun() {
    SpectrumViewRecord& v = SpectrumView;
    Controls& bar = *Ports.spectrumTopBar;
    if (OscState.SpectrumRunning == 1) {
        Ports.timers->Kill(TimerId::SpectrumRun);
        CancelTickedCapture();
        bar.SetFace(spectrumTop::Run, Face::SpectrumIdle);
        OscState.SpectrumRunning = 0;
        return;
    }
    // The period as the oscillograph takes it from the same rate.
    const int32_t periodMs = RunPeriodMsOrExplain(TextId::SpectrumRateNotPositive);
    if (periodMs == 0) return;
    v.Accumulate = bar.IsChecked(spectrumTop::Accumulate) ? 1 : 0;
    if (v.Accumulate == 1) {
        TakeSpectrum(ComputeSpectrum(SubWindowArea.first, SubWindowArea.last, ModeResetAverage));
    }
    v.RunCount = 0;
    RecordAwaited = false;
    bar.SetFace(spectrumTop::Run, Face::Wait);
    bar.Repaint();
    Ports.timers->Start(TimerId::SpectrumRun, periodMs);
    OscState.SpectrumRunning = 1;
}

void SpectrumRunTick() {
    SpectrumViewRecord& v = SpectrumView;
    if (OscState.SpectrumRunning == 0) return;
    if (RecordNotYet()) return;
    if (v.Accumulate == 1) {
        ++v.RunCount;
        char text[64];
        std::snprintf(text, sizeof text, Text(TextId::SpectrumCounterFormat), v.RunCount);
        Ports.spectrumTopBar->SetText(spectrumTop::Counter, text);
        Ports.spectrumTopBar->Repaint();
    }
    const SpectrumMode mode = v.Accumulate == 1 ? ModeAccumulate : ModeFresh;
    TakeSpectrum(ComputeSpectrum(SubWindowArea.first, SubWindowArea.last, mode));
    const double last = v.BinCount - 1;
    DrawSpectrum(Nearest(last * v.VisLowFrac), Nearest(last * v.VisHighFrac) + 1);
}

}  // namespace korvel
