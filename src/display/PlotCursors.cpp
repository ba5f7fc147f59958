#include "display/PlotCursors.h"

#include <algorithm>

#include "display/Plot.h"
#include "display/PlotScale.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/Ports.h"

namespace korvel {

int32_t IndexAt(const PlotArea& area, int32_t x) {
    // A plot squeezed to nothing maps every x to its first sample instead of
    // dividing by zero.
    if (area.width == 0) return area.first;
    const int64_t offset = (int64_t{x} - area.axisX) * area.span / area.width;
    return SaturatedTrunc(static_cast<double>(area.first + offset));
}

bool InsideArea(const PlotArea& area, int32_t x, int32_t y) {
    return x >= area.axisX && x < area.right && y >= area.top && y < area.bottom;
}

float SampleValue(int32_t index) {
    const int32_t count = std::clamp(OscSettings.Num_Data, 1, MaxData);
    return RecordValue(std::clamp(index, 0, count - 1));
}

float ValueAtY(int32_t y) {
    const PlotArea& a = SubWindowArea;
    return static_cast<float>(a.zeroY - y) * a.range / static_cast<float>(a.height);
}

int32_t TraceY(float valueMv) {
    const PlotArea& a = SubWindowArea;
    const int32_t y = ValueY(a.zeroY, a.height, valueMv, a.range);
    return std::max(a.top, std::min(y, a.bottom));
}

void EraseCursors(Canvas& canvas) {
    if (RemoveCursorMarks(canvas)) Ports.frame->ShowPlot();
}

bool RemoveCursorMarks(Canvas& canvas) {
    PlotStateRecord& ps = PlotState;
    const bool shown = ps.OverviewCursorShown == 1 || ps.CursorShown == 1;
    canvas.SetPen(CursorPen);
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    if (ps.OverviewCursorShown == 1) {
        canvas.MoveTo(ps.OverviewCursorX, OverviewArea.top - 2);
        canvas.LineTo(ps.OverviewCursorX, OverviewArea.bottom + 2);
        ps.OverviewCursorShown = 0;
    }
    if (ps.CursorShown == 1) {
        const PlotArea& a = SubWindowArea;
        canvas.MoveTo(ps.CursorX, a.top - 2);
        canvas.LineTo(ps.CursorX, a.bottom + 2);
        canvas.MoveTo(a.axisX - 2, ps.CursorY);
        canvas.LineTo(a.right + 2, ps.CursorY);
        ps.CursorShown = 0;
    }
    canvas.SetRasterMode(before);
    return shown;
}

void DrawReferenceCross(Canvas& canvas) {
    const PlotStateRecord& ps = PlotState;
    const PlotArea& a = SubWindowArea;
    canvas.SetPen(ReferencePen);
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    canvas.MoveTo(a.axisX, ps.RefY);
    canvas.LineTo(a.right, ps.RefY);
    canvas.MoveTo(ps.RefX, a.top);
    canvas.LineTo(ps.RefX, a.bottom);
    canvas.SetRasterMode(before);
}

void EraseReference() {
    PlotStateRecord& ps = PlotState;
    if (ps.RefShown == 1) {
        DrawReferenceCross(PlotCanvas);
        Ports.frame->ShowPlot();
    }
    ps.RefShown = 0;
    ps.ReadoutsDirty = 1;
}

void DrawBand(Canvas& canvas) {
    const Rect& b = PlotState.Band;
    // The white brush leaves the inside as it is in this mode: a red outline.
    canvas.SetPen(AxisPen);
    canvas.SetBrush(WhiteBrush);
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    canvas.Rectangle(b.left, b.top, b.right, b.bottom);
    canvas.SetRasterMode(before);
}

}  // namespace korvel
