// A capture from an instrument: its records one at a time through the
// instrument port, each started at once and collected on a later tick of the
// CaptureTick timer, so the window stays live while the device works. The
// records are summed apart from AccBuffer, which takes them only when the
// capture is complete: a capture that fails or is cancelled leaves the last
// good record as it was, to be shown, processed again and saved.
#pragma once

#include <cstdint>

namespace korvel {

// Starts a capture of records records; with trigger, each record waits for
// the device's own trigger. quiet: leave the bar and the pointer alone (a
// periodic capture). A device that cannot start ends it at once, told.
void StartInstrumentCapture(int32_t records, bool quiet, bool trigger);

// Timer CaptureTick: takes a finished record, starts the next, or ends the
// capture (processed and shown when complete; told when the device failed).
void CaptureTick();

// Stops the capture under way (Start/Stop pressed again, Escape, the
// oscillograph stopped) and waits for the device to stop. Nothing is told.
void CancelTickedCapture();

// How often the engine looks for an instrument's record.
inline constexpr int32_t CaptureTickMs = 20;

}  // namespace korvel
