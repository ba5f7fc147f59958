#include "acquisition/TickedCapture.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "acquisition/CaptureEngine.h"
#include "acquisition/CaptureFeedback.h"
#include "acquisition/ProcessRecord.h"
#include "acquisition/SimulatedSource.h"
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
// The capture's records summed so far, apart from AccBuffer, which keeps the
// record shown (and processed again, say, when Average over is typed) until
// the capture is complete.
float Sum[MaxData];

// The card's records are worth this many samples at a tick: a few
// milliseconds' work, so the window answers between them.
constexpr int64_t CardSamplesPerTick = int64_t{1} << 21;
constexpr int64_t LongCardCaptureSamples = int64_t{1} << 24;

struct Run {
    int32_t records = 0;  // records to sum
    int32_t length = 0;   // samples per record
    bool quiet = false;
    bool trigger = false;
    bool card = false;  // the simulated card's long capture
} Capture;

// The bar as before the capture; a complete one of several records (or a
// triggered one) beeps once the progress bar has gone, as the card's own does.
void RestoreBar(bool complete) {
    if (Capture.quiet) return;
    const bool progressShown = Capture.records > 1 || Capture.trigger;
    if (progressShown) ShowExternalInsteadOfProgress();
    if (complete && progressShown) Beep(0);
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
    if (!Capture.card) Ports.instrument->Cancel();
    OscState.CaptureBusy = 0;
    OscState.ExtArmed = 0;
    RestoreBar(false);
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

// The end of a capture that has all its records: processed and shown.
void Finish() {
    Ports.timers->Kill(TimerId::CaptureTick);
    OscState.CaptureBusy = 0;
    OscState.ExtArmed = 0;
    // Millivolts already: a binary file opened since may have left its own conversion.
    if (!Capture.card) RefreshConversion();
    ProcessRecord();
    RestoreBar(true);
    RequestAutoNorm();
    NotifyRecordReady();
    OscState.StepIdle = 1;
}

void ShowProgress() {
    if (!Capture.quiet && Capture.records > 1) {
        Ports.topBar->SetProgressPos(top::Progress, OscState.ExtCount);
    }
}

// A share of the card's records, then the end when all are there. The card
// sums into AccBuffer itself: the sums so far take its place for the tick,
// and the record shown comes back between ticks.
void CardTick() {
    const int64_t perTick = std::max<int64_t>(1, CardSamplesPerTick / Capture.length);
    std::swap_ranges(Sum, Sum + Capture.length, OscState.AccBuffer);
    for (int64_t k = 0; k < perTick; ++k) {
        if (AcquireRecord(AcquireCapture, OscState.ExtCount) == 1) {
            Finish();
            return;
        }
    }
    std::swap_ranges(Sum, Sum + Capture.length, OscState.AccBuffer);
    ShowProgress();
}

void BeginTicks(int32_t records, bool quiet, bool trigger, bool card) {
    LeaveFileView();
    Capture = {records, std::clamp(OscSettings.Num_Data, 1, MaxData), quiet, trigger, card};
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
}

}  // namespace

bool CardCaptureIsLong(int32_t records) {
    // A shown file is left first, for records of the full length.
    const int32_t length =
        OscState.FileView == 1 ? MaxData : std::clamp(OscSettings.Num_Data, 1, MaxData);
    return static_cast<int64_t>(records) * length > LongCardCaptureSamples;
}

void StartLongCardCapture(int32_t records, bool quiet) {
    BeginTicks(records, quiet, false, true);
    Ports.timers->Start(TimerId::CaptureTick, CaptureTickMs);
}

void StartInstrumentCapture(int32_t records, bool quiet, bool trigger) {
    BeginTicks(records, quiet, trigger, false);
    if (!StartRecord()) return;
    Ports.timers->Start(TimerId::CaptureTick, CaptureTickMs);
}

void CaptureTick() {
    if (OscState.CaptureBusy != 1) {
        Ports.timers->Kill(TimerId::CaptureTick);
        return;
    }
    if (Capture.card) {
        CardTick();
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
    ShowProgress();
    if (OscState.ExtCount < Capture.records) {
        StartRecord();
        return;
    }
    std::copy(Sum, Sum + n, OscState.AccBuffer);
    Finish();
}

void CancelTickedCapture() {
    if (OscState.CaptureBusy == 1) End({});
}

}  // namespace korvel
