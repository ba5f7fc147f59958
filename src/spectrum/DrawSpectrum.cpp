#include "spectrum/DrawSpectrum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/PlotScale.h"
#include "display/PlotStyle.h"
#include "numeric/Ticks.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

// Most labels the axis tries: ten intervals, eleven ticks.
constexpr int32_t MostIntervals = 10;

// Room for "%g kHz" of any float.
constexpr size_t LabelSize = 32;

// Where the frequency axis lies on the canvas.
struct FrequencyAxis {
    int32_t left;
    int32_t width;  // W: the last shown bin stands at left + W
    float low;      // VisLowFreq
    float high;     // VisHighFreq
};

int32_t TickX(const FrequencyAxis& axis, float value) {
    const double offset = (static_cast<double>(value) - axis.low) * axis.width /
                          (static_cast<double>(axis.high) - axis.low);
    return axis.left + SaturatedTrunc(offset);
}

void FormatTick(char* text, float value, bool last) {
    std::snprintf(text, LabelSize, last ? "%g kHz" : "%g", static_cast<double>(value));
}

// Labels as wide as their characters in spaces, centred under their ticks,
// at least one and a half spaces apart; the first may not start left of the
// axis.
bool LabelsClash(const FrequencyAxis& axis, const TickSet& ticks, int32_t cw) {
    const int32_t n = ticks.count;
    const int32_t gap = (3 * cw) / 2;
    int32_t edge = axis.left;
    char text[LabelSize];
    for (int32_t i = 0; i <= n; ++i) {
        const float t = TickValue(ticks.low, ticks.high, i, n);
        FormatTick(text, t, i == n);
        const int32_t w = static_cast<int32_t>(std::strlen(text)) * cw;
        int32_t s = TickX(axis, t) - w / 2;
        if (i == 0) {
            s = std::max(s, edge);
        } else if (s < edge) {
            return true;
        }
        edge = s + w + gap;
    }
    return false;
}

// Fewer intervals while the labels clash.
TickSet ChooseTicks(const FrequencyAxis& axis, int32_t cw) {
    TickSet ticks;
    for (int32_t limit = MostIntervals; limit >= 2; --limit) {
        ticks = TickRange(axis.low, axis.high, limit);
        if (ticks.count < 2 || !LabelsClash(axis, ticks, cw)) break;
    }
    return ticks;
}

void DrawTicks(Canvas& canvas, const FrequencyAxis& axis, const TickSet& ticks, int32_t right,
               int32_t bottom, int32_t cw) {
    const int32_t n = ticks.count;
    if (n == 0) return;
    char text[LabelSize];
    int32_t prevRight = axis.left;
    canvas.SetPen(TracePen);
    for (int32_t i = 0; i <= n; ++i) {
        const float t = TickValue(ticks.low, ticks.high, i, n);
        const int32_t x = TickX(axis, t);
        canvas.MoveTo(x, bottom + 1);
        canvas.LineTo(x, bottom + 6);
        FormatTick(text, t, i == n);
        const int32_t chars = static_cast<int32_t>(std::strlen(text));
        if (i < n) {
            canvas.SetTextAlign(AlignCenter | AlignTop);
            canvas.TextOut(x, bottom + 5, text);
            prevRight = x + ((chars + 2) * cw) / 2;
            continue;
        }
        // The last label carries the unit and may not pass the plot's end by
        // more than 3 pixels; where it would crowd the label before it, the
        // unit stands alone.
        const int32_t w = chars * cw;
        const int32_t unitRight = std::min(x + w / 2, right + 3);
        canvas.SetTextAlign(AlignRight | AlignTop);
        if (unitRight - w >= prevRight) {
            canvas.TextOut(unitRight, bottom + 5, text);
        } else {
            canvas.TextOut(std::min(x + (3 * cw) / 2, right + 3), bottom + 5, "kHz");
        }
    }
}

// y of the top of a bin's line. A bin at the peak (an infinite one too)
// reaches top + 1; zero, negative or NaN bins draw no line.
int32_t BinTop(float value, float peak, int32_t top, int32_t bottom) {
    if (!(value > 0.0f)) return bottom;
    if (value >= peak) return top + 1;
    const double yScale = -static_cast<double>(bottom - top - 1) / peak;
    return bottom + SaturatedTrunc(value * yScale);
}

void DrawBins(Canvas& canvas, int32_t first, int32_t end, int32_t left, int32_t top, int32_t bottom,
              int32_t width) {
    const float* bins = SpectrumView.Bins;
    float peak = 0.0f;
    for (int32_t k = first; k < end; ++k)
        peak = std::max(peak, bins[k]);
    // All shown bins 0 (a constant record): no scale, and no line to draw.
    if (!(peak > 0.0f)) return;
    // x in integers: the exact truncation of (k - first) x W / (end - first - 1),
    // so the last bin stands at left + W whatever the rounding.
    const int64_t span = end - first - 1;
    canvas.SetPen(AxisPen);
    for (int32_t k = first; k < end; ++k) {
        const int32_t x = left + static_cast<int32_t>(int64_t{k - first} * width / span);
        canvas.MoveTo(x, bottom);
        canvas.LineTo(x, BinTop(bins[k], peak, top, bottom));
    }
}

}  // namespace

void DrawSpectrum(int32_t first, int32_t end) {
    SpectrumViewRecord& v = SpectrumView;
    Canvas& canvas = SpectrumCanvas;
    const bool spreads = SpectrumSpreads();
    if (spreads) {
        HoldRange(first, end);
        v.VisLowFrac = static_cast<float>(static_cast<double>(first) / (v.BinCount - 1));
        v.VisHighFrac = static_cast<float>(static_cast<double>(end - 1) / (v.BinCount - 1));
    }

    // The area between the bars; its fill wipes the selection band too.
    const int32_t areaTop = v.TopBarHeight;
    const int32_t areaBottom = canvas.Height() - v.BottomBarHeight;
    const int32_t areaRight = canvas.Width();
    canvas.SetRasterMode(RasterMode::Copy);
    canvas.FillRect(0, areaTop, areaRight, areaBottom - areaTop, White);
    v.SelectionShown = 0;

    canvas.SetFont(&LabelFont);
    canvas.SetTextColor(WindowTextColor);
    const TextSize space = canvas.TextExtent(" ");
    const int32_t cw = space.width;
    Rect& plot = v.PlotRect;
    plot = {6, areaTop + 5, areaRight - 5, areaBottom - 8 - space.height};

    canvas.SetPen(TracePen);
    canvas.MoveTo(plot.left, plot.top);
    canvas.LineTo(plot.left, plot.bottom);
    canvas.LineTo(plot.right, plot.bottom);

    if (!spreads) {
        v.ShownFirst = v.ShownEnd = 0;
        v.VisLowFreq = v.VisHighFreq = v.FreqLow;
        return;
    }
    v.ShownFirst = first;
    v.ShownEnd = end;
    const int32_t width = plot.right - plot.left - 1;
    DrawBins(canvas, first, end, plot.left, plot.top, plot.bottom, width);

    v.VisLowFreq = BinFrequency(first);
    v.VisHighFreq = BinFrequency(end - 1);
    const FrequencyAxis axis{plot.left, width, v.VisLowFreq, v.VisHighFreq};
    // Two bins so close that their frequencies are one float have no ticks:
    // TickRange finds none between equal bounds.
    DrawTicks(canvas, axis, ChooseTicks(axis, cw), plot.right, plot.bottom, cw);
}

}  // namespace korvel
