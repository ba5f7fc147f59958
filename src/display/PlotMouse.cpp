#include "display/PlotMouse.h"

#include <algorithm>
#include <utility>

#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotReadouts.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "ports/Ports.h"

namespace korvel {

namespace {

bool InZone(const Zone& zone, int32_t x) {
    return x >= zone.lo && x <= zone.hi;
}

// Special pointer shapes are remembered in ShapeSet, the ones of the drags
// too, so the next move that sets no shape brings the arrow back.
void SetShape(Pointer shape) {
    Ports.frame->SetPointer(shape);
    PlotState.ShapeSet = shape == Pointer::Arrow ? 0 : 1;
}

// The limits of a new span from the overview: at least three samples, all
// within the record.
void LimitSpan(int32_t& start, int32_t& end) {
    const int32_t count = std::clamp(OscSettings.Num_Data, 1, MaxData);
    start = std::min(std::max(start, 0), std::max(count - 3, 0));
    end = std::min(std::max(end, start + 2), count - 1);
}

void DrawSpan(Canvas& canvas, int32_t start, int32_t end) {
    LimitSpan(start, end);
    PlotState.EditsLive = 0;
    DrawSubWindow(canvas, start, end);
}

// Takes the zoom band off the screen if it is there.
void RemoveBand(Canvas& canvas) {
    if (PlotState.BandShown == 1) DrawBand(canvas);
    PlotState.BandShown = 0;
}

// The plot follows the pointer: dragging to the right shows earlier samples.
// Each move shifts by its own truncated number of samples, so moves shorter
// than a sample's width do not move the plot.
void Pan(Canvas& canvas, int32_t x) {
    PlotStateRecord& ps = PlotState;
    ps.Panned = 1;
    SetShape(Pointer::Hand);
    RemoveBand(canvas);
    const PlotArea a = SubWindowArea;
    int32_t shift = 0;
    if (a.width != 0) {
        shift = SaturatedTrunc(static_cast<double>(a.span) * (int64_t{x} - ps.PanX)) / a.width;
    }
    int32_t start = a.first - shift;
    int32_t end = a.last - shift;
    if (start > end) std::swap(start, end);
    ps.PanX = x;
    ps.EditsLive = 0;
    SetSubWindow(start, end);
    ps.ZoomArmed = 1;  // the drawing disarmed it; the drag goes on
}

// The drag on the overview, once its mode is known.
void DragOnOverview(Canvas& canvas, int32_t x) {
    PlotStateRecord& ps = PlotState;
    const PlotArea& o = OverviewArea;
    const int32_t a = o.axisX;
    const int32_t r = o.right;
    const int32_t f = SubWindowArea.first;
    const int32_t l = SubWindowArea.last;
    switch (ps.Drag) {
        case DragMode::LeftEdge: {  // held 3 pixels left of the right one
            const int32_t edge = std::max(std::min(x, ps.MarkerX2 - 3), a);
            if (o.width == 0) return;
            DrawSpan(canvas, std::min(IndexAt(o, edge), l - 2), l);
            SetShape(Pointer::SizeWE);
            return;
        }
        case DragMode::RightEdge: {  // held 3 pixels right of the left one
            const int32_t edge = std::min(std::max(x, ps.MarkerX1 + 3), r);
            if (o.width == 0) return;
            DrawSpan(canvas, f, std::max(IndexAt(o, edge), f + 2));
            SetShape(Pointer::SizeWE);
            return;
        }
        case DragMode::WholeMarker: {  // its width kept, inside the overview
            const int32_t w = ps.MoveX2 - ps.MoveX1;
            const int32_t p1 = std::max(ps.MoveX1 + x - ps.LastX, a);
            const int32_t p2 = std::min(p1 + w, r);
            ps.MoveX1 = p2 - w;
            ps.MoveX2 = p2;
            if (o.width == 0) return;
            const int32_t start = IndexAt(o, std::clamp(ps.MoveX1, a, std::max(a, r)));
            const int32_t end = IndexAt(o, std::clamp(ps.MoveX2, a, std::max(a, r)));
            DrawSpan(canvas, start, end);
            SetShape(Pointer::Hand);
            return;
        }
        case DragMode::NewSpan:  // a new span from where the drag began
            if (x < ps.SpanAnchor) {
                DrawSpan(canvas, IndexAt(o, std::max(x, a)), IndexAt(o, ps.SpanAnchor));
            } else {
                DrawSpan(canvas, IndexAt(o, ps.SpanAnchor), IndexAt(o, std::min(x, r)));
            }
            SetShape(Pointer::Arrow);
            return;
    }
}

// The second click of a zoom: the band's columns become the new span and its
// rows the new vertical range.
void ApplyBand(Canvas& canvas) {
    PlotStateRecord& ps = PlotState;
    RemoveBand(canvas);
    ps.LabelsDirty = 1;
    const PlotArea& a = SubWindowArea;
    int32_t start = IndexAt(a, ps.Band.left);
    int32_t end = IndexAt(a, ps.Band.right);
    if (start > end) std::swap(start, end);
    ps.EditsLive = 0;
    const int32_t upper = std::min(ps.Band.top, ps.Band.bottom);
    const int32_t lower = std::max(ps.Band.top, ps.Band.bottom);
    SetParam(ParamViewMax, ValueAtY(upper));
    SetParam(ParamViewMin, ValueAtY(lower));
    SetSubWindow(start, end);
}

}  // namespace

bool HoverMove(Canvas& canvas, int32_t x, int32_t y, int32_t& index, float& valueMv) {
    PlotStateRecord& ps = PlotState;
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    RemoveCursorMarks(canvas);
    if (ps.Panned == 1) ps.ZoomArmed = 0;
    ps.Panned = 0;

    const PlotArea& s = SubWindowArea;
    if (ps.ZoomArmed == 1) {
        // Outside the plot the band stays where the pointer left it, and the
        // read-outs are of no sample: the pointer is on its way elsewhere.
        if (!InsideArea(s, x, y)) {
            canvas.SetRasterMode(before);
            return false;
        }
        // Follow Mode zooms time only: the band spans the whole height.
        const int32_t free = OscSettings.Follow_Mode != 0 ? s.bottom : y;
        RemoveBand(canvas);
        ps.Band = {ps.Anchor.x, ps.Anchor.y, x, std::max(s.top, std::min(free, s.bottom))};
        DrawBand(canvas);
        ps.BandShown = 1;
        canvas.SetRasterMode(before);
        return false;
    }

    ps.Hover = HoverArea::Outside;
    if (ps.ShapeSet == 1) SetShape(Pointer::Arrow);
    bool show = false;
    const PlotArea& o = OverviewArea;
    canvas.SetPen(CursorPen);
    if (InsideArea(o, x, y)) {
        index = IndexAt(o, x);
        valueMv = SampleValue(index);
        canvas.MoveTo(x, o.top - 2);
        canvas.LineTo(x, o.bottom + 2);
        ps.OverviewCursorShown = 1;
        ps.OverviewCursorX = x;
        if (InZone(ps.LeftZone, x) || InZone(ps.RightZone, x)) SetShape(Pointer::SizeWE);
        if (x > ps.LeftZone.hi && x < ps.RightZone.lo) SetShape(Pointer::Hand);
        ps.Hover = HoverArea::Overview;
        show = true;
    }
    if (InsideArea(s, x, y)) {
        index = IndexAt(s, x);
        valueMv = SampleValue(index);
        ps.CursorShown = 1;
        ps.CursorX = x;
        ps.CursorY = OscSettings.Follow_Mode != 0 ? TraceY(valueMv) : y;
        valueMv = ValueAtY(ps.CursorY);
        canvas.MoveTo(ps.CursorX, s.top - 2);
        canvas.LineTo(ps.CursorX, s.bottom + 2);
        canvas.MoveTo(s.axisX - 2, ps.CursorY);
        canvas.LineTo(s.right + 2, ps.CursorY);
        ps.Hover = HoverArea::SubWindow;
        show = true;
    }
    canvas.SetRasterMode(before);
    ps.LastX = x;
    ps.LastY = y;
    ps.DragStarted = 0;
    return show;
}

bool DragMove(Canvas& canvas, int32_t x, int32_t y, int32_t& index, float& valueMv) {
    PlotStateRecord& ps = PlotState;
    if (ps.DragCancelled == 1) return false;
    RemoveCursorMarks(canvas);
    if (ps.ZoomArmed == 1) {
        Pan(canvas, x);
        return false;
    }

    // The drag's mode comes from where the pointer was before the press.
    const PlotArea& o = OverviewArea;
    bool inside = false;
    if (ps.DragStarted == 0) {
        inside = InsideArea(o, x, y);
        ps.Drag = DragMode::NewSpan;
        if (ps.MarkerShown == 1) {
            if (InZone(ps.LeftZone, ps.LastX)) {
                ps.Drag = DragMode::LeftEdge;
            } else if (ps.LastX > ps.LeftZone.hi && ps.LastX < ps.RightZone.lo) {
                ps.Drag = DragMode::WholeMarker;
                ps.MoveX1 = ps.MarkerX1;
                ps.MoveX2 = ps.MarkerX2;
            } else if (InZone(ps.RightZone, ps.LastX)) {
                ps.Drag = DragMode::RightEdge;
            }
        }
        if (ps.Drag == DragMode::NewSpan) ps.SpanAnchor = ps.LastX;
    } else {
        inside = x >= o.axisX && x <= o.right;
    }

    bool show = false;
    if (ps.Hover == HoverArea::Overview && inside) {
        index = IndexAt(o, x);
        valueMv = SampleValue(index);
        DragOnOverview(canvas, x);
        show = true;
    }
    ps.LastX = x;
    ps.LastY = y;
    ps.DragStarted = 1;
    return show;
}

void PlotMouseMove(uint32_t flags, int32_t x, int32_t y) {
    if (PlotState.TrackingOn == 0) return;
    Canvas& canvas = PlotCanvas;
    int32_t index = 0;
    float value = 0.0f;
    const bool show = flags == MouseLeft ? DragMove(canvas, x, y, index, value)
                                         : HoverMove(canvas, x, y, index, value);
    if (show) ShowReadouts(canvas, static_cast<float>(index), value);
    Ports.frame->ShowPlot();
}

void PlotLeftDown(int32_t x, int32_t y) {
    PlotStateRecord& ps = PlotState;
    ps.Panned = 0;
    ps.LeftHeld = 1;
    ps.DragCancelled = 0;
    ps.PressedS = OscSettings.Data_S;
    ps.PressedE = OscSettings.Data_E;
    if (ps.ZoomArmed == 0) {
        const PlotArea& s = SubWindowArea;
        if (!InsideArea(s, x, y)) return;
        ps.ZoomArmed = 1;
        RemoveCursorMarks(PlotCanvas);
        EraseReference();
        ps.Anchor = {x, OscSettings.Follow_Mode != 0 ? s.top : y};
        ps.PanX = x;
        ps.BandShown = 0;
    } else {
        // Two clicks without a move between them drew no band: nothing changes.
        ps.ZoomArmed = 0;
        if (ps.BandShown == 1) ApplyBand(PlotCanvas);
        ps.BandShown = 0;
    }
    Ports.frame->ShowPlot();
}

void PlotLeftUp() {
    PlotState.LeftHeld = 0;
    PlotState.DragCancelled = 0;
    // A press, drag and release pans and ends; a click alone stays armed
    // for the band.
    if (PlotState.Panned == 1) {
        PlotState.ZoomArmed = 0;
        PlotState.Panned = 0;
    }
}

void PlotLeftDoubleClick() {
    PlotStateRecord& ps = PlotState;
    Canvas& canvas = PlotCanvas;
    ps.EditsLive = 0;
    if (ps.ZoomArmed == 1) {
        ps.ZoomArmed = 0;
        RemoveBand(canvas);
    }
    RemoveCursorMarks(canvas);
    EraseReference();
    ps.LabelsDirty = 1;
    const int32_t first = SubWindowArea.first;
    const int32_t last = SubWindowArea.last;
    if (OscState.ViewMin == OscSettings.D_min && OscState.ViewMax == OscSettings.D_max) {
        // The span doubles around its centre, by one sample at least each way.
        const double middle = (first + last) * 0.5;
        const int32_t length = last - first;
        int32_t start = SaturatedTrunc(middle - length);
        int32_t end = SaturatedTrunc(middle + length);
        if (start == first) --start;
        if (end == last) ++end;
        SetSubWindow(start, end);
    } else {
        // A vertical zoom is undone first, on the same span.
        SetParam(ParamViewMin, OscSettings.D_min);
        SetParam(ParamViewMax, OscSettings.D_max);
        SetSubWindow(first, last);
    }
    Ports.frame->ShowPlot();
}

void PlotRightDown(int32_t x, int32_t y) {
    PlotStateRecord& ps = PlotState;
    Canvas& canvas = PlotCanvas;
    const PlotArea& s = SubWindowArea;
    if (ps.ZoomArmed == 1) {
        ps.ZoomArmed = 0;
        RemoveBand(canvas);
    } else if (InsideArea(s, x, y)) {
        if (ps.RefShown == 1) DrawReferenceCross(canvas);
        ps.RefX = x;
        ps.RefY = y;
        ps.RefShown = 1;
        const int32_t index = IndexAt(s, x);
        ps.RefTime = static_cast<float>(IndexToTime(index));
        if (OscSettings.Follow_Mode != 0) ps.RefY = TraceY(SampleValue(index));
        ps.RefValue = ValueAtY(ps.RefY);
        DrawReferenceCross(canvas);
    }
    Ports.frame->ShowPlot();
}

void PlotRightDoubleClick() {
    EraseReference();
}

bool PlotCancel() {
    PlotStateRecord& ps = PlotState;
    Canvas& canvas = PlotCanvas;
    bool cancelled = false;
    if (ps.LeftHeld == 1 && ps.DragCancelled == 0 && (ps.Panned == 1 || ps.DragStarted == 1)) {
        // The stretch of the press, as the drawings before the drag left it.
        RemoveCursorMarks(canvas);
        ps.EditsLive = 0;
        SetSubWindow(ps.PressedS, ps.PressedE);
        ps.DragCancelled = 1;
        cancelled = true;
    }
    if (ps.ZoomArmed == 1) {
        ps.ZoomArmed = 0;
        ps.Panned = 0;
        RemoveBand(canvas);
        cancelled = true;
    }
    if (cancelled) Ports.frame->ShowPlot();
    return cancelled;
}

}  // namespace korvel
