// The capture engine of the main window: manual start, external start (a run
// that timer 1 completes record by record) and the oscillograph mode (timer 2
// repeating captures), with the feedback of the top control bar while a
// capture runs. Everything runs on the one user-interface thread; the flags
// StepIdle and ExtArmed of OscState keep ticks out of a step under way.
#pragma once

#include <cstdint>

#include "acquisition/CaptureFeedback.h"
#include "model/Texts.h"

namespace korvel {

// The Start/Stop action (Start/Stop button, Manual start, External start):
// one capture step, or with the "Oscillograf" box ticked, start or stop the
// oscillograph mode. The caller sets ExtStart first.
void StartStop();

// One capture step: a whole manual capture, or arming or cancelling an
// external-start run. Also the step of the spectrum window's continuous run.
// With an instrument as the source the capture runs on (CaptureTick), and
// a step while it runs cancels it.
void CaptureStep();

// Ends the oscillograph mode: its timers stopped, an instrument's capture
// under way cancelled, Start/Stop idle again, AutoNorm as the mode found it.
void StopOscillograph();

// Timer 2: one periodic capture, unless a step is under way.
void OscTimerTick();

// Timer 1: one poll of the external trigger of a waiting run.
void ExtTimerTick();

// The timer period of the oscillograph mode at rateHz: trunc(1000 / rateHz)
// ms, at least 1 ms (a faster rate runs as fast as the timer can) and at most
// the longest period a timer takes. 0 when the rate is not a positive number:
// such a rate has no period, and the mode refuses to start.
int32_t OscillographPeriodMs(float rateHz);

// The period of a run at the oscillograph rate (the oscillograph's own, or
// the spectrum's continuous run). When the rate has none, the user is told
// why with message (a format taking the rate in Hz) and the result is 0.
int32_t RunPeriodMsOrExplain(TextId message);

}  // namespace korvel
