// A capture that runs on the ticks of the CaptureTick timer, so the window
// stays live, shows its progress and can be stopped while it works:
// - from an instrument: its records one at a time through the instrument
//   port, each started at once and collected on a later tick;
// - a long one of the simulated card (more samples than a moment's work):
//   a share of its records at every tick.
// Until a capture is complete AccBuffer keeps the record shown, so that one
// that fails or is cancelled leaves it as it was, to be shown, processed
// again and saved: the capture's records are summed apart.
#pragma once

#include <cstdint>

namespace korvel {

// Starts a capture of records records; with trigger, each record waits for
// the device's own trigger. quiet: leave the bar and the pointer alone (a
// periodic capture). A device that cannot start ends it at once, told.
void StartInstrumentCapture(int32_t records, bool quiet, bool trigger);

// Starts the simulated card's manual capture of records records on ticks.
void StartLongCardCapture(int32_t records, bool quiet);

// Whether a manual capture of the card of records records of Num_Data
// samples is long enough to run on ticks: beyond some 16 million samples (a
// tenth of a second's work and more), a window frozen for it would be felt.
bool CardCaptureIsLong(int32_t records);

// Timer CaptureTick: takes a finished record, starts the next, or ends the
// capture (processed and shown when complete; told when the device failed).
void CaptureTick();

// Stops the capture under way (Start/Stop pressed again, Escape, the
// oscillograph stopped) and waits for the device to stop. Nothing is told.
void CancelTickedCapture();

// How often the engine looks for an instrument's record.
inline constexpr int32_t CaptureTickMs = 20;

}  // namespace korvel
