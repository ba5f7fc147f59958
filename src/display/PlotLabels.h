// Choosing and drawing the axis labels of the two plots: as many labels as
// were asked for, fewer while they would touch.
#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"

namespace korvel {

// Where the voltage labels go: a trace area's vertical scale.
struct VoltageAxis {
    int32_t zeroY = 0;
    int32_t height = 0;
    float range = 1.0f;
    int32_t cellHeight = 0;  // c: the label font's cell height
};

// Voltage labels from `wanted` down to 2 until the labels, each c high, keep
// gap pixels apart; texts measured in the canvas's font. With fewer than 2
// wanted no set is computed (count < 0). When TickRange gives fewer than 2
// intervals the set of that call stands. When the labels of the set chosen
// still come closer, only ticks 0, stride, 2 x stride... get one, the stride
// the first of 1, 2, 5, 10, 20... that keeps them apart. widest is measured on
// the whole set chosen.
LabelTicks FitVoltageLabels(const Canvas& canvas, int32_t wanted, int32_t gap,
                            const VerticalScale& scale, const VoltageAxis& axis);

// Tick marks from (axisX - 3, y) to (axisX, y) with the canvas's pen and, at
// every stride-th tick, the value, centred widest / 2 + 4 left of the axis,
// bottom at y + c / 2.
void DrawVoltageLabels(Canvas& canvas, const LabelTicks& ticks, int32_t axisX,
                       const VoltageAxis& axis);

// Time labels over the samples of area (its first..last, axis and width),
// widths estimated as characters x spaceWidth: from `wanted` down to 2 until
// they keep 1.5 spaces apart. Fewer than 2 wanted: no labels (count < 0).
LabelTicks FitTimeLabels(int32_t wanted, int32_t spaceWidth, const PlotArea& area);

// How one plot marks its time ticks.
struct TimeTickStyle {
    Pen pen;  // the tick mark, from (x, markTop) to (x, markBottom)
    int32_t markTop = 0;
    int32_t markBottom = 0;
    bool grid = false;  // a GridPen line from (x, gridTop) to (x, gridBottom)
    int32_t gridTop = 0;
    int32_t gridBottom = 0;
    int32_t labelBottom = 0;  // bottom of the label cells
    int32_t frameRight = 0;   // right edge of the plot's frame
};

// The time ticks and labels; the last label carries the unit "us", its "u"
// overwritten by the micro sign of the label symbol font when there is one.
void DrawTimeLabels(Canvas& canvas, const LabelTicks& ticks, const PlotArea& area,
                    int32_t spaceWidth, const TimeTickStyle& style);

}  // namespace korvel
