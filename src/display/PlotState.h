// The oscillogram's display state: where the two plots lie, the geometry of
// their trace areas as last drawn, and the flags and marks of the display and
// of the mouse. One process-wide instance of each, read and written directly.
#pragma once

#include <cstdint>

#include "numeric/Ticks.h"

namespace korvel {

// Integer rectangle, window client coordinates (the plot canvas's pixels).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// An x interval, both ends inclusive.
struct Zone {
    int32_t lo = 0;
    int32_t hi = 0;
};

// The geometry of one trace area as last drawn. The mouse maps positions
// with it, so it stays valid between drawings. axisX, top, right, bottom are
// also the area's hit rectangle.
struct PlotArea {
    int32_t axisX = 0;   // x of the voltage axis: sample `first` is drawn here
    int32_t top = 0;     // y of the top of the trace area
    int32_t right = 0;   // x of the right edge of the trace (axisX + width)
    int32_t bottom = 0;  // y of the bottom of the trace area
    int32_t first = 0;   // first sample shown (0 for the overview)
    int32_t last = 0;    // last sample shown
    int32_t zeroY = 0;   // y of 0 mV, not clamped: it may lie outside the area
    int32_t height = 0;  // bottom - top
    int32_t width = 0;   // right - axisX
    int32_t span = 0;    // samples shown - 1
    float range = 0.0f;  // upper - lower bound of the vertical range, mV
};

extern PlotArea OverviewArea;
extern PlotArea SubWindowArea;

// A chosen set of axis labels: ticks 0..count from low to high, none when
// count < 0.
struct LabelTicks : TickSet {
    int32_t widest = 0;  // voltage labels: the widest label's width, pixels
    int32_t stride = 1;  // voltage labels: a value at ticks 0, stride, 2 x stride...
};

// Where the pointer was last seen.
enum class HoverArea : int32_t { Outside, Overview, SubWindow };

// What a left-button drag on the overview moves.
enum class DragMode : int32_t { NewSpan, LeftEdge, WholeMarker, RightEdge };

struct PlotStateRecord {
    // Frames of the two plots, recomputed by every full redraw.
    Rect OverviewRect;
    Rect SubWindowRect;

    int32_t LabelsDirty = 1;  // the next sub-window drawing recomputes its voltage labels
    int32_t EditsLive = 0;    // 0: the next sub-window drawing writes the Min/Width fields
    int32_t DrawBusy = 0;     // re-entry guard of DrawSubWindow
    int32_t MarkerShown = 0;  // the marker is on the overview, from MarkerX1 to MarkerX2
    int32_t MarkerX1 = 0;
    int32_t MarkerX2 = 0;
    Zone LeftZone;               // grabs the marker's left edge
    Zone RightZone;              // grabs its right edge; between the two the whole marker
    int32_t ReadoutX = 0;        // centre of the read-out column
    int32_t ReadoutY[4] = {};    // baselines of the four read-out lines
    int32_t ReadoutsDirty = 0;   // 1: clear the read-out column before the next read-out
    LabelTicks SubWindowLabels;  // voltage labels of the sub-window plot, kept for a pan

    // The mouse: zoom band, pan, cursors, reference, overview drags.
    int32_t ZoomArmed = 0;  // a left press in the sub-window armed the zoom band
    int32_t Panned = 0;     // the plot was dragged since the last left press
    int32_t BandShown = 0;  // the zoom band is on the screen
    Rect Band;
    Point Anchor;             // press that armed the zoom
    int32_t PanX = 0;         // x of the last pan step
    int32_t CursorShown = 0;  // the sub-window crosshair
    int32_t CursorX = 0;
    int32_t CursorY = 0;
    int32_t OverviewCursorShown = 0;  // the overview cursor line
    int32_t OverviewCursorX = 0;
    int32_t RefShown = 0;  // the reference cross; 1 also means a reference is set
    int32_t RefX = 0;
    int32_t RefY = 0;
    float RefTime = 0.0f;   // time of the reference sample, us, without TimeOffset
    float RefValue = 0.0f;  // voltage of the reference point, mV
    int32_t LastX = 0;      // the last move handled by the overview logic
    int32_t LastY = 0;
    int32_t DragStarted = 0;  // the first move of a left-button drag has happened
    HoverArea Hover = HoverArea::Outside;
    DragMode Drag = DragMode::NewSpan;
    int32_t SpanAnchor = 0;  // x where a new-span drag started
    int32_t MoveX1 = 0;      // the marker's edges while it is moved
    int32_t MoveX2 = 0;
    int32_t ShapeSet = 0;    // a special pointer shape is set
    int32_t DeltaShown = 0;  // the dT/dV read-outs are on the screen
    int32_t TrackingOn = 1;  // 0 while a file dialog is open: moves are ignored
    // The left button: held since its press, the stretch shown at that
    // press, and a drag that Escape ended (its moves do nothing till release).
    int32_t LeftHeld = 0;
    int32_t PressedS = 0;
    int32_t PressedE = 0;
    int32_t DragCancelled = 0;
};

extern PlotStateRecord PlotState;

// Everything of the display as at program start: state, areas, tick results,
// fonts absent, no text engine, a canvas of 0 x 0.
void ResetPlotState();

}  // namespace korvel
