// The oscillogram: the overview of the whole record above the sub-window plot.
//
// Everything is drawn into PlotCanvas, which stands for the main window's
// client area between its two control bars: row 0 is the first row below the
// upper bar, the lower bar begins at row Height(). The ui sizes the canvas
// with the window and shows it; the core tells it to through
// Ports.frame->ShowPlot() after every drawing.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"

namespace korvel {

extern Canvas PlotCanvas;

// Full redraw of both plots with a new layout (paint, resize, new record, new
// settings), after bringing the device's conversion back (RefreshConversion).
// A canvas of 0 x 0 or missing fonts draw nothing, but the state
// (sub-window, vertical range, fields) moves on as it would on a screen.
void RefreshPlot();

// The frames of both plots from the canvas's size and the read-out font.
void LayOutPlots(const Canvas& canvas);

// The overview of samples 0 .. Num_Data - 1, then the sub-window plot of
// start .. end (sample indices, limited to the record here).
void DrawOverview(Canvas& canvas, int32_t start, int32_t end);

// The sub-window plot of samples start .. end and the marker on the
// overview; sets Data_S = start, Data_E = end. Callers limit start and end to
// the record (SetSubWindow does); indices outside it are held within it.
// Does nothing while a drawing of it is under way (DrawBusy).
void DrawSubWindow(Canvas& canvas, int32_t start, int32_t end);

// The way in for a new sub-window: start limited to 0 .. Num_Data - 3 (0 for
// a record shorter than 3 samples), an end before start made start + 2, end
// at most Num_Data - 1; then drawn and shown, unless a periodic capture or
// the spectrum's run owns the display: then nothing is drawn or stored.
void SetSubWindow(int32_t start, int32_t end);

}  // namespace korvel
