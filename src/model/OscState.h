// The run-time state of the oscilloscope: the three record buffers and the
// flags of capture, file view, spectrum and language. Never saved.
#pragma once

#include <cstdint>

namespace korvel {

// Capacity of each record buffer in samples.
inline constexpr int32_t MaxData = 65534;

// Everything but the buffers, so that a reset copies a few dozen bytes.
struct OscStateFlags {
    int32_t Russian = 0;             // 1: every text the user sees is the Russian one
    int32_t LoadedLength = MaxData;  // samples available; upper bound of Num_Data
    float SamplePeriod = 0.0125f;    // time between samples, us
    float TimeOffset = 0.0f;         // time of sample 0, us (a data file's first time stamp)
    float DataMin = 0.0f;            // smallest value of Record after the last processing
    float DataMax = 0.0f;            // largest value of Record after the last processing
    float ViewMin = 0.0f;            // vertical range of the sub-window plot, mV
    float ViewMax = 0.0f;
    int32_t AutoNormPending = 1;  // 1: the next drawing copies D_min/D_max into ViewMin/ViewMax
    int32_t FileView = 0;         // 1 while Record comes from FileData
    int32_t PrevBaseAddr = 0;     // BaseAddr before its last change
    int32_t DeviceReady = 0;      // 1 once the acquisition source has been set up
    int32_t DeviceVersion = 255;  // 255 stands for the simulated source
    double SourceRateHz = 0.0;  // the instrument's sample rate; 0 while the simulated card is used
    int32_t CaptureBusy = 0;    // 1 while an instrument's capture is under way
    int32_t RecordsReady = 0;   // captures completed since start (counts on, wraps)
    int32_t AccCount = 0;       // records accumulated so far by an external-start run
    int32_t AccDone = 0;        // 1 when AccCount has reached Acc_Over
    int32_t ExtCount = 0;       // records accumulated by the capture under way
    int32_t ExtStart = 0;       // 1: the next start is an external start
    int32_t ExtArmed = 0;       // 1 while an external-start run waits for triggers
    int32_t StepIdle = 1;       // 1 when no capture step is under way
    int32_t OscRunning = 0;     // 1 while the oscillograph (periodic) mode runs
    int32_t OscPeriodMs = 0;    // oscillograph timer period
    int32_t SavedAutoNorm = 0;  // AutoNorm when the oscillograph mode started
    int32_t OscToggleBusy = 0;  // re-entry guard of the "Oscillograf" box
    int32_t SpectrumRunning = 0;  // 1 while the spectrum window captures periodically
    int32_t SpectrumValid = 0;    // 1 while the last spectrum describes the current Record
};

// Static storage: the buffers are never allocated, so they cannot fail.
struct OscStateRecord : OscStateFlags {
    float FileData[MaxData];   // record read from a data file, mV
    float AccBuffer[MaxData];  // sum of the raw codes of the accumulated records
    float Record[MaxData];     // the processed record, mV: what everything shows
};

extern OscStateRecord OscState;

// A periodic capture (the oscillograph or the spectrum window's run) owns the
// display: whatever would draw, change the shown stretch or start another
// capture waits until it ends, and its steps leave the bar and pointer alone.
inline bool PeriodicCaptureOwnsDisplay() {
    return OscState.OscRunning == 1 || OscState.SpectrumRunning == 1;
}

// Puts every field to its start value and the buffers to zero. The language
// flag is kept: it is chosen once per run.
void ResetOscState();

}  // namespace korvel
