// The spectrum window's own handling: opening it from the main window, its
// creation, paint, typed range and destruction. The ui calls these from the
// window's events and shows SpectrumCanvas after each; the mouse is
// SpectrumSelection.h, the run, copy and Save are their own files.
#pragma once

#include <cstdint>

namespace korvel {

// The main window's "Show spectrum" command: opens the spectrum window or
// brings the open one to the front and paints it, through the frame port.
// Does nothing while a periodic capture or the spectrum's run goes on.
void ShowSpectrum();

// A new window's bars exist: the next paint writes its fields, and until
// then the window's own writes into them are no typed input. A new window
// has no selection under way.
void SpectrumWindowCreated();

// The paint: the spectrum of the main plot's sample range (computed again
// only when the record or the range changed), the fields of a new window,
// and the drawing of the shown part. The bar heights are those of the bars'
// windows, in pixels; the plot lies between them on SpectrumCanvas.
void PaintSpectrum(int32_t topBarHeight, int32_t bottomBarHeight);

// Whether the shown spectrum no longer describes the main plot: a new record
// or another sample range since the last computation.
bool SpectrumOutdated();

// Text change of the Min or Width field (typed, or written by the window
// itself while EditsActive is 0): shows the range that they name when it
// lies within the spectrum and covers two bins at least.
void SpectrumFieldChanged(int32_t id);

// The window is going away: a continuous run ends with it.
void SpectrumWindowDestroyed();

}  // namespace korvel
