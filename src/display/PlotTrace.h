// The trace of a record over a trace area: at most one line segment per pixel
// column, the samples chosen by exact integer stepping (no min/max folding).
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"

namespace korvel {

// The points of a trace of `count` samples over `width` pixel columns, in
// order: visit(x offset from the axis, sample index). The first point is
// (0, 0); every later one ends a segment. With more samples than columns + 1
// each column takes one sample (the index advances by (count - 1) / width
// or one more); otherwise each sample takes (width / (count - 1)) columns or
// one more, the last one ending on the right edge. Nothing is visited for
// count < 2 or width < 1.
template <class Visit>
void WalkTrace(int32_t count, int32_t width, Visit&& visit) {
    if (count < 2 || width < 1) return;
    const int32_t last = count - 1;
    visit(0, 0);
    if (width + 1 < count) {
        const int32_t q = last / width;
        const int32_t r = last % width;
        int32_t acc = 0;
        int32_t p = 0;
        for (int32_t column = 1; column <= width; ++column) {
            p += q;
            acc += r;
            if (acc >= width) {
                ++p;
                acc -= width;
            }
            visit(column, p);
        }
    } else {
        const int32_t q = width / last;
        const int32_t r = width % last;
        int32_t acc = 0;
        int32_t x = 0;
        for (int32_t j = 1; j <= last; ++j) {
            x += q;
            acc += r;
            if (acc >= last) {
                ++x;
                acc -= last;
            }
            visit(x, j);
        }
    }
}

// Where a trace left its area: a drawn sample above the vertical range, one
// below it (or both: ClippedAbove | ClippedBelow).
enum TraceClip : int32_t { ClippedNone = 0, ClippedAbove = 1, ClippedBelow = 2 };

// Draws values[0 .. count - 1] over area with the canvas's pen; y as the
// area's vertical scale puts it, clamped into the area. Skipped when scale
// says there is no data yet. Returns where samples drawn were clamped.
int32_t DrawTrace(Canvas& canvas, const PlotArea& area, const VerticalScale& scale,
                  const float* values, int32_t count);

// A small red wedge in the area's right corner at each side the trace was
// clamped at, pointing out of the area: the signal goes on beyond the range
// shown (Auto Norm off, or a zoom), where a flat line alone would hide it.
void DrawClipMarks(Canvas& canvas, const PlotArea& area, int32_t clip);

}  // namespace korvel
