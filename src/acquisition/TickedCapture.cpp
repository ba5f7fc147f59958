#include "acquisition/TickedCapture.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "acquisition/CaptureEngine.h"
#include "acquisition/CaptureFeedback.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/Source.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Texts.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

float Incoming[MaxData];  // one record as the instrument delivered it, mV
float Sum[MaxData];       // this capture's records summed so far

struct Run {
    int32_t records = 0;  // records to sum
    int32_t length = 0;   // samples per record
    bool quiet = false;
    bool trigger = false;
} Capture;

void RestoreBar() {
    if (Capture.quiet) return;
    if (Capture.records > 1 || Capture.trigger) ShowExternalInsteadOfProgress();
    Controls& bar = *Ports.topBar;
    bar.SetFace(top::StartStop, Face::Start);
    bar.Repaint();
    Ports.frame->SetPointer(Pointer::Arrow);
}

// The end of a capture that brings no record: the device stopped, the bar as
// before, the engine idle; a failure is told (and ends a periodic capture,
// which would only fail again at every tick).
void End(const std::string& why) {
    Ports.timers->Kill(TimerId::CaptureTick);
    Ports.instrument->Cancel();
    OscState.CaptureBusy = 0;
    OscState.ExtArmed = 0;
    RestoreBar();
    OscState.StepIdle = 1;
    if (why.empty()) return;
    if (OscState.OscRunning == 1) StopOscillograph();
    Beep(48);
    char text[1024];
    std::snprintf(text, sizeof text, Text(TextId::DeviceCaptureFailed), why.c_str());
    Ports.dialogs->Message(text, nullptr);
}

bool StartRecord() {
    std::string error;
    if (Ports.instrument->Start(Capture.length, Capture.trigger, error)) return true;
    End(error);
    return false;
}

}  // namespace

void StartInstrumentCapture(int32_t records, bool quiet, bool trigger) {
    LeaveFileView();
    Capture = {records, std::clamp(OscSettings.Num_Data, 1, MaxData), quiet, trigger};
    OscState.StepIdle = 0;
    OscState.CaptureBusy = 1;
    OscState.ExtCount = 0;
    OscState.ExtArmed = trigger ? 1 : 0;
    if (!quiet) {
        Ports.frame->SetPointer(Pointer::Hourglass);
        if (trigger && records < 2) ShowProgressInsteadOfExternal(records);
        Ports.topBar->SetFace(top::StartStop, Face::Wait);
        Ports.topBar->Repaint();
    }
    if (!StartRecord()) return;
    Ports.timers->Start(TimerId::CaptureTick, CaptureTickMs);
}

void CaptureTick() {
    if (OscState.CaptureBusy != 1) {
        Ports.timers->Kill(TimerId::CaptureTick);
        return;
    }
    std::string error;
    const InstrumentPoll poll = Ports.instrument->Poll(Incoming, error);
    if (poll == InstrumentPoll::Running) return;
    if (poll == InstrumentPoll::Failed) {
        End(error.empty() ? std::string("?") : error);
        return;
    }
    const int32_t n = Capture.length;
    if (OscState.ExtCount == 0) {
        std::copy(Incoming, Incoming + n, Sum);
    } else {
        for (int32_t i = 0; i < n; ++i)
            Sum[i] += Incoming[i];
    }
    OscState.ExtCount += 1;
    if (!Capture.quiet && Capture.records > 1) {
        Ports.topBar->SetProgressPos(top::Progress, OscState.ExtCount);
    }
    if (OscState.ExtCount < Capture.records) {
        StartRecord();
        return;
    }
    Ports.timers->Kill(TimerId::CaptureTick);
    std::copy(Sum, Sum + n, OscState.AccBuffer);
    OscState.CaptureBusy = 0;
    OscState.ExtArmed = 0;
    // Millivolts already: a binary file opened since may have left its own conversion.
    RefreshConversion();
    ProcessRecord();
    if (!Capture.quiet && (Capture.records > 1 || Capture.trigger)) Beep(0);
    RestoreBar();
    RequestAutoNorm();
    NotifyRecordReady();
    OscState.StepIdle = 1;
}

void CancelTickedCapture() {
    if (OscState.CaptureBusy == 1) End({});
}

}  // namespace korvel
