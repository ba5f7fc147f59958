// The measurement marks of the oscillogram: the crosshair on the sub-window
// plot, the cursor line on the overview and the reference cross. All are
// drawn in not-exclusive-or, so drawing a mark again takes it off, and each
// has its shown-flag in PlotState.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "display/PlotState.h"

namespace korvel {

// The sample under x on an area: first + (x - axisX) * span / width,
// truncated toward zero, not clamped. An area of width 0 gives first.
int32_t IndexAt(const PlotArea& area, int32_t x);

// (x, y) on the area's trace: left and top inclusive, right and bottom exclusive.
bool InsideArea(const PlotArea& area, int32_t x, int32_t y);

// The value of sample index of Record, the index held within the record.
float SampleValue(int32_t index);

// The voltage at height y of the sub-window plot, mV: follows the pixel grid.
float ValueAtY(int32_t y);

// y of the trace at a value on the sub-window plot, clamped into its area
// (how Follow Mode snaps the crosshair and the reference to the trace).
int32_t TraceY(float valueMv);

// Takes both cursor marks off and shows the canvas when one was there (for
// the commands that change what the plot shows). Leaves CursorPen selected.
void EraseCursors(Canvas& canvas);

// The same without showing the canvas: for the mouse handlers, which show
// it once when they are done. True when a mark was taken off.
bool RemoveCursorMarks(Canvas& canvas);

// Takes the reference cross off the plot canvas; the reference is gone and
// the read-out column is cleared at the next read-out, in every case.
void EraseReference();

// Draws (or, drawn again, removes) the reference cross at RefX, RefY.
void DrawReferenceCross(Canvas& canvas);

// Draws (or removes) the zoom band of PlotState.Band.
void DrawBand(Canvas& canvas);

}  // namespace korvel
