// What a capture tells the user and the window while it runs and when it
// ends: the Accumulator field, the progress bar in place of the "External"
// box, the beeps, and the record-ready handler the window redraws in.
#pragma once

#include <cstdint>

namespace korvel {

// Told when a capture has put a new record in place, after processing and
// the vertical range's request: the main window redraws its plots there (and
// the spectrum's run draws on top). The engine itself never draws; without a
// handler a capture only fills the records.
using RecordReadyHandler = void (*)();
void SetRecordReadyHandler(RecordReadyHandler handler);
void NotifyRecordReady();

// The system sound of a message-box type (0, 64, 48) when Sound is 1.
void Beep(int32_t type);

// While a periodic capture runs, a step leaves the top bar and the pointer
// alone: a blinking progress bar and an hourglass at every tick would only get
// in the user's way.
bool Quiet();

void WriteAccumulator(int32_t count);
void ShowProgressInsteadOfExternal(int32_t records);
void ShowExternalInsteadOfProgress();

}  // namespace korvel
