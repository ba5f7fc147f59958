// The spectrum window's continuous run: capture, spectrum and drawing again
// at every tick of timer 3, at the oscillograph's rate, the spectra averaged
// while the run goes on when Accumulate was checked as it started.
#pragma once

namespace korvel {

// The run button: starts a run, or stops the one that goes on. A rate of
// 0 Hz or less has no period: the run does not start, and the user is told.
void ToggleSpectrumRun();

// Timer 3: one capture step of the main window, then the spectrum of the
// main plot's range (or the running average of the run's spectra) drawn over
// the same fraction of the spectrum as before. The ui shows the canvas
// afterwards.
void SpectrumRunTick();

}  // namespace korvel
