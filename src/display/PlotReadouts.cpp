#include "display/PlotReadouts.h"

#include <cstdio>
#include <cstring>

#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscState.h"

namespace korvel {

namespace {

// The read-outs are always written with two decimals; the digit settings of
// the labels do not apply here.
constexpr const char* TimeFormat = "T = %9.2f us";
constexpr const char* ValueFormat = "V = %9.2f mv";
constexpr const char* TimeDeltaFormat = "dT = %9.2f us";
constexpr const char* ValueDeltaFormat = "dV = %9.2f mv";

// A line of the column: a label, a number of up to 9 characters and a unit.
// Numbers far beyond the screen's range still fit.
constexpr size_t LineSize = 64;

int32_t Length(const char* text) {
    return static_cast<int32_t>(std::strlen(text));
}

}  // namespace

void ShowReadouts(Canvas& canvas, float index, float valueMv) {
    PlotStateRecord& ps = PlotState;
    const Rect& o = ps.OverviewRect;
    const Rect& s = ps.SubWindowRect;
    const int32_t columnWidth = o.right - s.right;
    canvas.SetFont(&MessageFont);
    canvas.SetTextAlign(AlignLeft | AlignBaseline);
    canvas.SetTextColor(WindowTextColor);
    if (ps.ReadoutsDirty == 1)
        canvas.FillRect(s.right, s.top, columnWidth, s.bottom - s.top, White);

    // Times as the reference keeps them: 32-bit floats, so the same sample
    // gives a difference of exactly 0.
    const float time = static_cast<float>(IndexToTime(index));
    char line[LineSize];
    std::snprintf(line, sizeof line, TimeFormat, static_cast<double>(time + OscState.TimeOffset));
    const int32_t characters = Length(line);
    const TextSize extent = canvas.TextExtent(line);
    const int32_t cw = extent.width / characters;
    const int32_t x = ps.ReadoutX - extent.width / 2;
    canvas.TextOut(x, ps.ReadoutY[0], line);
    std::snprintf(line, sizeof line, ValueFormat, static_cast<double>(valueMv));
    canvas.TextOut(x, ps.ReadoutY[1], line);
    if (MessageSymbolFont.Exists()) {
        canvas.SetFont(&MessageSymbolFont);
        canvas.TextOut(x + (characters - 2) * cw, ps.ReadoutY[0], "m");
        canvas.SetFont(&MessageFont);
    }
    ps.ReadoutsDirty = 0;

    if (ps.RefShown == 1) {
        std::snprintf(line, sizeof line, TimeDeltaFormat, static_cast<double>(time - ps.RefTime));
        const int32_t characters3 = Length(line);
        const int32_t w3 = canvas.TextExtent(line).width;
        const int32_t cw3 = w3 / characters3;
        const int32_t x3 = ps.ReadoutX - w3 / 2;
        canvas.TextOut(x3, ps.ReadoutY[2], line);
        std::snprintf(line, sizeof line, ValueDeltaFormat,
                      static_cast<double>(valueMv - ps.RefValue));
        canvas.TextOut(x3, ps.ReadoutY[3], line);
        if (MessageSymbolFont.Exists()) {
            // The deltas land on the "d"s when the number takes its nine
            // characters; a longer one pushes the text right of them.
            const int32_t u = x3 + (characters3 - 2) * cw3;
            canvas.SetFont(&MessageSymbolFont);
            canvas.TextOut(u, ps.ReadoutY[2], "m");
            canvas.TextOut(u - 15 * cw3, ps.ReadoutY[2], "D");
            canvas.TextOut(u - 15 * cw3, ps.ReadoutY[3], "D");
            canvas.SetFont(&MessageFont);
        }
        ps.DeltaShown = 1;
    } else if (ps.DeltaShown == 1) {
        const int32_t h = extent.height;
        canvas.FillRect(s.right, ps.ReadoutY[2] - h, columnWidth,
                        ps.ReadoutY[3] - ps.ReadoutY[2] + 2 * h, White);
        ps.DeltaShown = 0;
    }
}

}  // namespace korvel
