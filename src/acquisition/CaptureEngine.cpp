#include "acquisition/CaptureEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "acquisition/ProcessRecord.h"
#include "acquisition/SimulatedSource.h"
#include "acquisition/Source.h"
#include "acquisition/TickedCapture.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingsBounds.h"
#include "model/Texts.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

constexpr int32_t ExtPollPeriodMs = 100;

// Step 1 of a capture: the counts typed into the two bars.
void ReadCaptureFields() {
    int32_t records = 0;
    if (ReadFieldCount(*Ports.topBar, top::Accumulator, records)) SetParam(ParamAccOver, records);
    // A capture completes when its count of records equals Acc_Over, so a count
    // below 1 (a companion file may bring one) would never complete. A manual
    // capture runs to its end inside one handler, so a count in the billions
    // would freeze the window for days and overflow the exact float sums of
    // AccBuffer. The capture takes the nearest count it can honour, and the
    // field shows the count used (unless the bar is to be left alone, see Quiet).
    const int32_t held = std::clamp(OscSettings.Acc_Over, 1, MaxAccOver);
    if (held != OscSettings.Acc_Over) {
        SetParam(ParamAccOver, held);
        if (!Quiet()) WriteAccumulator(held);
    }
    int32_t width = 0;
    if (ReadFieldCount(*Ports.bottomBar, bottom::Average, width)) SetParam(ParamAvOver, width);
}

// The end of an external run that holds records.
void ProcessAndShow() {
    ProcessRecord();
    RequestAutoNorm();
    NotifyRecordReady();
    OscState.StepIdle = 1;
}

void ManualCapture(int32_t records, bool quiet) {
    if (CardCaptureIsLong(records)) {
        StartLongCardCapture(records, quiet);
        return;
    }
    OscState.StepIdle = 0;
    if (!quiet) Ports.frame->SetPointer(Pointer::Hourglass);
    OscState.ExtCount = 0;
    bool first = true;
    do {
        // Also during the spectrum window's run, when the bar is hidden and the
        // position shows nowhere.
        if (!first && OscState.OscRunning == 0) {
            Ports.topBar->SetProgressPos(top::Progress, OscState.ExtCount);
        }
        first = false;
    } while (AcquireRecord(AcquireCapture, OscState.ExtCount) != 1);
    ProcessRecord();
    if (!quiet) {
        if (records > 1) {
            ShowExternalInsteadOfProgress();
            Beep(0);
        }
        Ports.frame->SetPointer(Pointer::Arrow);
    }
    RequestAutoNorm();
    NotifyRecordReady();
    OscState.StepIdle = 1;
}

void ArmExternalRun(int32_t records, bool quiet) {
    OscState.StepIdle = 0;
    OscState.ExtArmed = 1;
    OscState.ExtCount = 0;
    if (!quiet) {
        Ports.frame->SetPointer(Pointer::Hourglass);
        Beep(64);
        ShowProgressInsteadOfExternal(records);
        Ports.topBar->SetFace(top::StartStop, Face::Wait);
        Ports.topBar->Repaint();
    }
    AcquireRecord(AcquireReset, OscState.ExtCount);
    Ports.timers->Start(TimerId::ExtTrigger, ExtPollPeriodMs);
}

// The next tick of timer 1 finds the run disarmed and ends it.
void CancelExternalRun(bool quiet) {
    if (!quiet) {
        Ports.frame->SetPointer(Pointer::Arrow);
        Ports.topBar->Show(top::External, true);
        Ports.topBar->SetFace(top::StartStop, Face::Start);
    }
    OscState.ExtArmed = 0;
    OscState.StepIdle = 1;
}

}  // namespace

int32_t OscillographPeriodMs(float rateHz) {
    if (!(rateHz > 0.0f)) return 0;  // zero, negative or NaN: no period
    const double periodMs = std::trunc(1000.0 / static_cast<double>(rateHz));
    if (periodMs < 1.0) return 1;
    if (periodMs > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(periodMs);
}

int32_t RunPeriodMsOrExplain(TextId message) {
    const int32_t periodMs = OscillographPeriodMs(OscSettings.Osc_Freq);
    if (periodMs == 0) {
        char text[512];
        std::snprintf(text, sizeof text, Text(message), static_cast<double>(OscSettings.Osc_Freq));
        Ports.dialogs->Message(text, nullptr);
    }
    return periodMs;
}

void StartStop() {
    OscState.StepIdle = 1;
    if (!Ports.topBar->IsChecked(top::Oscillograf)) {
        CaptureStep();
        return;
    }
    if (OscState.OscRunning == 1) {
        StopOscillograph();
        return;
    }
    // The rate field takes any number, but a rate of 0 Hz or less has no period:
    // starting would leave a mode that never captures, or a timer firing without
    // pause. The mode stays off and the user is told why, with the rate in the
    // field's own form.
    const int32_t periodMs = RunPeriodMsOrExplain(TextId::OscRateNotPositive);
    if (periodMs == 0) return;
    Ports.topBar->SetFace(top::StartStop, Face::Wait);
    Ports.topBar->Repaint();
    OscState.OscRunning = 1;
    OscState.OscPeriodMs = periodMs;
    OscState.SavedAutoNorm = OscSettings.AutoNorm;
    Ports.timers->Start(TimerId::Oscillograph, periodMs);
}

void StopOscillograph() {
    Ports.topBar->SetFace(top::StartStop, Face::Start);
    Ports.topBar->Repaint();
    OscState.OscRunning = 0;
    Ports.timers->Kill(TimerId::ExtTrigger);
    Ports.timers->Kill(TimerId::Oscillograph);
    CancelTickedCapture();
    SetParam(ParamAutoNorm, OscState.SavedAutoNorm);
    OscState.StepIdle = 1;
}

void CaptureStep() {
    if (OscState.CaptureBusy == 1) {
        CancelTickedCapture();
        return;
    }
    ReadCaptureFields();
    const int32_t records = OscSettings.Acc_Over;
    const bool quiet = Quiet();
    if (InstrumentInUse() && OscState.ExtStart == 1 && !Source.device.externalTrigger) {
        char text[512];
        std::snprintf(text, sizeof text, Text(TextId::DeviceNoExternalTrigger),
                      SourceName().c_str());
        Ports.dialogs->Message(text, nullptr);
        OscState.StepIdle = 1;
        return;
    }
    if (records >= 2 && !quiet) ShowProgressInsteadOfExternal(records);
    if (InstrumentInUse()) {
        StartInstrumentCapture(records, quiet, OscState.ExtStart == 1);
        return;
    }
    if (OscState.ExtStart == 0) {
        ManualCapture(records, quiet);
    } else if (OscState.ExtArmed == 0) {
        ArmExternalRun(records, quiet);
    } else {
        CancelExternalRun(quiet);
    }
}

void OscTimerTick() {
    // A tick that finds a step under way (an external run waiting, say) is
    // dropped, not queued: the next one comes soon enough.
    if (OscState.StepIdle != 1 || OscState.OscRunning != 1) return;
    OscState.StepIdle = 0;
    CaptureStep();
    // The first record of a run fixes the vertical range; the rest are drawn in it.
    SetParam(ParamAutoNorm, 0);
}

void ExtTimerTick() {
    const int32_t previous = OscState.ExtCount;
    const int32_t result = PollTrigger(OscState.ExtCount);
    const bool oscillograph = OscState.OscRunning == 1;
    Controls& bar = *Ports.topBar;
    if (result == 0) {
        if (oscillograph) return;
        if (OscState.ExtCount != previous) {
            bar.SetProgressPos(top::Progress, OscState.ExtCount);
            WriteAccumulator(OscState.ExtCount);
        }
        Ports.frame->SetPointer(Pointer::Hourglass);
        return;
    }
    Ports.timers->Kill(TimerId::ExtTrigger);
    if (result == 1) {
        if (!oscillograph) {
            Beep(0);
            Ports.frame->SetPointer(Pointer::Arrow);
            ShowExternalInsteadOfProgress();
            bar.SetFace(top::StartStop, Face::Start);
        }
        OscState.ExtArmed = 0;
        OscState.ExtCount += 1;  // now Acc_Over: the poll's count lags one behind
        WriteAccumulator(OscState.ExtCount);
    } else {
        // Cancelled: process what the run holds, if it holds anything.
        AcquireRecord(AcquireQuery, OscState.ExtCount);
        if (!oscillograph) {
            Beep(48);
            ShowExternalInsteadOfProgress();
        }
        if (OscState.ExtCount < 1) {
            OscState.StepIdle = 1;
            return;
        }
        WriteAccumulator(OscState.ExtCount);
    }
    // ProcessRecord divides by Acc_Over: it must be the number of records summed.
    SetParam(ParamAccOver, OscState.ExtCount);
    ProcessAndShow();
}

}  // namespace korvel
