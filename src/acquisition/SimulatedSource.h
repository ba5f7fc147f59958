// The acquisition source. No card is driven: a built-in simulator produces a
// noisy square wave (period 1000 samples, low for 800 at -40..-10 codes, high
// for 200 at 100..130), the same in every run.
#pragma once

#include <cstdint>

namespace korvel {

enum AcquireAction : int32_t {
    AcquireCapture = 0,    // one record, summed into AccBuffer (manual start)
    AcquireTriggered = 1,  // one record of an external-start run, counted in AccCount
    AcquireReset = 2,      // start a new external-start run
    AcquireQuery = 3,      // how many records the external-start run holds
};

// One step of the source; counter is the caller's record count. Leaves a shown
// data file first. Capture returns 1 when counter has reached Acc_Over (tested
// for equality: a counter already past it never completes); the rest return 0.
int32_t AcquireRecord(int32_t action, int32_t& counter);

// Polls the external trigger: 2 when no run is armed, else captures one record
// (the simulated trigger fires at every poll) and returns AccDone.
int32_t PollTrigger(int32_t& counter);

// The device's set-up, at the main window's first show: RefreshConversion,
// and the first call also clears Record and returns true (the device has just
// been set up); later calls return false.
bool DeviceSetup();

// The source's noise generator as at program start (state 1).
void ResetSimulatedSource();

}  // namespace korvel
