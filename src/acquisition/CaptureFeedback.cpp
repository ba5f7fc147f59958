#include "acquisition/CaptureFeedback.h"

#include <cstdio>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

RecordReadyHandler RecordReady = nullptr;

}  // namespace

void SetRecordReadyHandler(RecordReadyHandler handler) {
    RecordReady = handler;
}

void NotifyRecordReady() {
    OscState.RecordsReady = static_cast<int32_t>(static_cast<uint32_t>(OscState.RecordsReady) + 1);
    if (RecordReady != nullptr) RecordReady();
}

void Beep(int32_t type) {
    if (OscSettings.Sound == 1) Ports.frame->Beep(type);
}

bool Quiet() {
    return PeriodicCaptureOwnsDisplay();
}

void WriteAccumulator(int32_t count) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", count);
    Ports.topBar->SetText(top::Accumulator, text);
}

void ShowProgressInsteadOfExternal(int32_t records) {
    Controls& bar = *Ports.topBar;
    bar.Show(top::External, false);
    bar.Show(top::Progress, true);
    bar.SetProgressRange(top::Progress, 0, records);
    bar.SetProgressPos(top::Progress, 0);
    bar.Repaint();
}

void ShowExternalInsteadOfProgress() {
    Controls& bar = *Ports.topBar;
    bar.Show(top::Progress, false);
    bar.Show(top::External, true);
    bar.Repaint();
}

}  // namespace korvel
