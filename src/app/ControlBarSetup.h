// Filling the main window's control bars when the window is made.
#pragma once

#include <cstddef>

namespace korvel {

// Fills both bars from the settings, in the order the window has always done
// it: frequency list (which also selects the frequency index and so sets
// SamplePeriod), progress bar hidden, Start/Stop face, sub-window fields, the
// check boxes, then the oscillograph frequency, Accumulator and Average over
// fields, and finally the window title. Writing a field raises its handling,
// so the oscillograph frequency comes back as the field shows it.
void SetUpControlBars();

// The same without the list's standard entries and the title: the bars show
// the settings again after something else (a data file's settings) changed them.
void ShowSettingsInBars();

// Rewrites the four entries of the frequency list from BaseFreq and the
// dividers, keeping the selected entry.
void RebuildFrequencyList();

// "KORVEL Oscillograph Release 1.05" in the language of the run.
void FormatMainTitle(char* text, size_t size);

}  // namespace korvel
