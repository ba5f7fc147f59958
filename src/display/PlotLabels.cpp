#include "display/PlotLabels.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "display/PlotStyle.h"
#include "numeric/Ticks.h"

namespace korvel {

namespace {

// "%g" of a tick value; returns the number of characters.
int32_t FormatValue(char (&text)[48], float value) {
    return std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
}

int32_t FormatLastTime(char (&text)[48], float value) {
    return std::snprintf(text, sizeof text, "%g us", static_cast<double>(value));
}

int32_t TickY(const LabelTicks& ticks, int32_t i, const VoltageAxis& axis) {
    const float v = TickValue(ticks.low, ticks.high, i, ticks.count);
    return ValueY(axis.zeroY, axis.height, v, axis.range);
}

int32_t WidestLabel(const Canvas& canvas, const LabelTicks& ticks) {
    int32_t widest = 0;
    char text[48];
    for (int32_t i = 0; i <= ticks.count; ++i) {
        FormatValue(text, TickValue(ticks.low, ticks.high, i, ticks.count));
        widest = std::max(widest, canvas.TextExtent(text).width);
    }
    return widest;
}

// Do the labels drawn, from the top one down, keep gap pixels between their cells?
bool VoltageLabelsFit(const LabelTicks& ticks, int32_t gap, const VoltageAxis& axis) {
    int32_t limit = 0;
    bool first = true;
    for (int32_t i = ticks.count; i >= 0; --i) {
        if (i % ticks.stride != 0) continue;
        const int32_t y = TickY(ticks, i, axis) - axis.cellHeight / 2;
        if (!first && y < limit) return false;
        limit = y + axis.cellHeight + gap;
        first = false;
    }
    return true;
}

// 1, 2, 5, 10, 20, 50...
int32_t NextStride(int32_t stride) {
    int32_t decade = 1;
    while (stride / decade >= 10)
        decade *= 10;
    return stride / decade == 2 ? stride / 2 * 5 : stride * 2;
}

bool TimeLabelsFit(const LabelTicks& ticks, int32_t spaceWidth, const PlotArea& area) {
    char text[48];
    int32_t limit = area.axisX;
    for (int32_t i = 0; i <= ticks.count; ++i) {
        const float t = TickValue(ticks.low, ticks.high, i, ticks.count);
        const int32_t chars = i < ticks.count ? FormatValue(text, t) : FormatLastTime(text, t);
        const int32_t w = chars * spaceWidth;
        int32_t x = TimeX(area, t) - w / 2;
        if (i == 0) {
            x = std::max(x, limit);
        } else if (x < limit) {
            return false;
        }
        limit = x + w + (3 * spaceWidth) / 2;
    }
    return true;
}

}  // namespace

LabelTicks FitVoltageLabels(const Canvas& canvas, int32_t wanted, int32_t gap,
                            const VerticalScale& scale, const VoltageAxis& axis) {
    LabelTicks ticks;
    for (int32_t n = wanted; n >= 2; --n) {
        static_cast<TickSet&>(ticks) = TickRange(scale.lo, scale.hi, n);
        if (ticks.count < 2 || VoltageLabelsFit(ticks, gap, axis)) break;
    }
    // A plot too low for the labels of even two intervals keeps its ticks
    // but names only every second, fifth, tenth... of them; at worst the
    // first alone.
    while (ticks.stride <= ticks.count && !VoltageLabelsFit(ticks, gap, axis))
        ticks.stride = NextStride(ticks.stride);
    ticks.widest = WidestLabel(canvas, ticks);
    return ticks;
}

void DrawVoltageLabels(Canvas& canvas, const LabelTicks& ticks, int32_t axisX,
                       const VoltageAxis& axis) {
    char text[48];
    const int32_t labelX = axisX - ticks.widest / 2 - 4;
    for (int32_t i = 0; i <= ticks.count; ++i) {
        const int32_t y = TickY(ticks, i, axis);
        canvas.MoveTo(axisX - 3, y);
        canvas.LineTo(axisX, y);
        if (i % ticks.stride != 0) continue;
        FormatValue(text, TickValue(ticks.low, ticks.high, i, ticks.count));
        canvas.TextOut(labelX, y + axis.cellHeight / 2, text);
    }
}

LabelTicks FitTimeLabels(int32_t wanted, int32_t spaceWidth, const PlotArea& area) {
    LabelTicks ticks;
    const float tA = static_cast<float>(ShownTime(area.first));
    const float tB = static_cast<float>(ShownTime(area.last));
    for (int32_t n = wanted; n >= 2; --n) {
        static_cast<TickSet&>(ticks) = TickRange(tA, tB, n);
        if (ticks.count < 2 || TimeLabelsFit(ticks, spaceWidth, area)) break;
    }
    return ticks;
}

void DrawTimeLabels(Canvas& canvas, const LabelTicks& ticks, const PlotArea& area,
                    int32_t spaceWidth, const TimeTickStyle& style) {
    char text[48];
    const int32_t cx = spaceWidth;
    const int32_t rightLimit = style.frameRight - 3;
    const Font* labelFont = canvas.CurrentFont();
    int32_t previousEnd = INT_MIN;  // right end of the label before, as estimated
    for (int32_t i = 0; i <= ticks.count; ++i) {
        const float t = TickValue(ticks.low, ticks.high, i, ticks.count);
        const int32_t x = TimeX(area, t);
        canvas.SetPen(style.pen);
        canvas.MoveTo(x, style.markTop);
        canvas.LineTo(x, style.markBottom);
        if (style.grid) {
            canvas.SetPen(GridPen);
            canvas.MoveTo(x, style.gridTop);
            canvas.LineTo(x, style.gridBottom);
        }
        if (i < ticks.count) {
            const int32_t chars = FormatValue(text, t);
            canvas.TextOut(x, style.labelBottom, text);
            previousEnd = x + ((chars + 2) * cx) / 2;
            continue;
        }
        // The last label names the unit; when the whole of it would touch the
        // label before, the unit alone stands at the tick.
        canvas.SetTextAlign(AlignRight | AlignBottom);
        const int32_t chars = FormatLastTime(text, t);
        const int32_t w = canvas.TextExtent(text).width;
        const int32_t xr = std::min(x + w / 2, rightLimit);
        int32_t microRight = 0;
        if (xr - w < previousEnd) {
            const int32_t xr2 = std::min(x + cx, rightLimit);
            canvas.TextOut(xr2, style.labelBottom, "us");
            microRight = xr2 - cx;
        } else {
            canvas.TextOut(xr, style.labelBottom, text);
            microRight = xr - (chars > 0 ? w / chars : 0);
        }
        if (LabelSymbolFont.Exists()) {
            canvas.SetFont(&LabelSymbolFont);
            canvas.TextOut(microRight, style.labelBottom, "m");
            canvas.SetFont(labelFont);
        }
        canvas.SetTextAlign(AlignCenter | AlignBottom);
    }
}

}  // namespace korvel
