// The mouse on the oscillogram: measurement cursors and read-outs, the zoom
// band, panning, zooming out, the reference cross and the drags of the
// marker on the overview. Positions are the plot canvas's pixels; the ui
// only translates its events into these calls.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"

namespace korvel {

// The buttons and keys held during a mouse move, or-ed. Only the left button
// alone drags; any other button or key held with it makes a move a hover.
enum MouseFlag : uint32_t {
    MouseLeft = 0x01,
    MouseRight = 0x02,
    MouseShift = 0x04,
    MouseControl = 0x08,
    MouseMiddle = 0x10,
    MouseExtra1 = 0x20,  // the side buttons
    MouseExtra2 = 0x40,
};

void PlotMouseMove(uint32_t flags, int32_t x, int32_t y);
void PlotLeftDown(int32_t x, int32_t y);
void PlotLeftUp();
void PlotLeftDoubleClick();
void PlotRightDown(int32_t x, int32_t y);
void PlotRightDoubleClick();

// Escape: an armed zoom band goes, a pan or a drag of the marker under way
// puts back the stretch shown when the button went down (the button's moves
// do nothing more until it is released). Nothing else changes. True when
// there was something to cancel.
bool PlotCancel();

// A move without the left button alone: takes the cursors off, then draws
// the zoom band while one is armed, or the cursor of the area under (x, y)
// with the pointer shape of the marker's grab zones. True when the
// read-outs are to show index and valueMv.
bool HoverMove(Canvas& canvas, int32_t x, int32_t y, int32_t& index, float& valueMv);

// A move with the left button alone: pans an armed sub-window plot, or
// resizes, moves or redraws the marker on the overview. True when the
// read-outs are to show index and valueMv (the overview position).
bool DragMove(Canvas& canvas, int32_t x, int32_t y, int32_t& index, float& valueMv);

}  // namespace korvel
