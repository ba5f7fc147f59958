#include "display/Plot.h"

#include <algorithm>
#include <cstdio>

#include "acquisition/Source.h"
#include "display/PlotLabels.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/PlotTrace.h"
#include "display/SubWindowFields.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingsBounds.h"
#include "model/Texts.h"
#include "numeric/Ticks.h"
#include "ports/ControlIds.h"
#include "ports/Ports.h"

namespace korvel {

Canvas PlotCanvas;

namespace {

// The fields hold at most this many characters.
constexpr size_t FieldSize = 50;

// Samples of the record; held within the buffers whatever Num_Data says.
int32_t RecordLength() {
    return std::clamp(OscSettings.Num_Data, 1, MaxData);
}

// The last start that leaves three samples to show; 0 for shorter records,
// which are shown whole.
int32_t LastStart() {
    return std::max(RecordLength() - 3, 0);
}

int32_t ClampInto(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Writes value into an empty field or one that holds another number; a field
// that does not begin with a number is the user's and stays.
void WriteField(int32_t id, float value) {
    char text[FieldSize];
    Ports.bottomBar->GetText(id, text, sizeof text);
    float scanned = 0.0f;
    const bool write =
        text[0] == '\0' || (std::sscanf(text, "%g", &scanned) == 1 && scanned != value);
    if (!write) return;
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    Ports.bottomBar->SetText(id, text);
}

// Repaints what lies around the two frames: the margins, the gap between the
// plots and the read-out column, so a full redraw covers the whole canvas.
void EraseAroundFrames(Canvas& canvas) {
    const Rect& o = PlotState.OverviewRect;
    const Rect& s = PlotState.SubWindowRect;
    const int32_t w = canvas.Width();
    const int32_t h = canvas.Height();
    canvas.FillRect(0, 0, w, o.top, White);
    canvas.FillRect(0, o.top, o.left, o.bottom - o.top, White);
    canvas.FillRect(o.right - 1, o.top, w - o.right + 1, o.bottom - o.top, White);
    canvas.FillRect(0, o.bottom - 1, w, s.top - o.bottom + 1, White);
    canvas.FillRect(0, s.top, s.left, h - s.top, White);
    canvas.FillRect(s.right - 1, s.top, w - s.right + 1, h - s.top, White);
    canvas.FillRect(0, s.bottom - 1, w, h - s.bottom + 1, White);
}

void DrawMarker(Canvas& canvas, int32_t start, int32_t end) {
    PlotStateRecord& ps = PlotState;
    const PlotArea& o = OverviewArea;
    canvas.SetBrush(MarkerBrush);
    canvas.SetPen(MarkerPen);
    const int32_t top = o.top - 2;
    const int32_t bottom = o.bottom + 4;
    if (ps.MarkerShown == 1) canvas.Rectangle(ps.MarkerX1, top, ps.MarkerX2, bottom);
    if (o.span == 0) {
        ps.MarkerShown = 0;
        canvas.SetBrush(WhiteBrush);
        return;
    }
    const int32_t x1 = o.axisX + static_cast<int32_t>(int64_t{start} * o.width / o.span);
    const int32_t x2 = o.axisX + static_cast<int32_t>(int64_t{end} * o.width / o.span);
    canvas.Rectangle(x1, top, x2, bottom);
    canvas.SetBrush(WhiteBrush);
    ps.MarkerX1 = x1;
    ps.MarkerX2 = x2;
    ps.MarkerShown = 1;

    // Grab zones 3 pixels each side of an edge; on a narrow marker they give
    // way to each other, keep one pixel apart at least, and when fewer than
    // five pixels remain between them (for grabbing the whole marker) move
    // outwards.
    Zone left{x1 - 3, x1 + 3};
    Zone right{x2 - 3, x2 + 3};
    for (int32_t i = 0; i < 3; ++i) {
        if (right.lo <= left.hi) {
            --left.hi;
            ++right.lo;
        }
    }
    if (right.lo <= left.hi) right.lo = left.hi + 1;
    if (right.lo - left.hi < 5) {
        left.lo -= 2;
        left.hi -= 2;
        right.lo += 2;
        right.hi += 2;
    }
    ps.LeftZone = left;
    ps.RightZone = right;
}

}  // namespace

void LayOutPlots(const Canvas& canvas) {
    const int32_t clientLeft = 0;
    const int32_t clientRight = canvas.Width();
    const int32_t upperBarBottom = 0;  // exclusive edge of the upper bar
    const int32_t lowerBarTop = canvas.Height();
    const int32_t upper = upperBarBottom + 1;
    const int32_t avail = (lowerBarTop - 1) - upper;

    Rect& o = PlotState.OverviewRect;
    o = {clientLeft + 4, upper + 2, clientRight - 2, upper + avail / 5 - 2};

    // The read-out column keeps 20 read-out characters; a window too narrow
    // for that gives the plot two thirds of its width.
    const int32_t left = clientLeft + 4;
    const int32_t w = (clientRight - 2) - left;
    const int32_t space = MessageFont.Advance(' ');
    const int32_t right = w - 20 * space >= 0 ? left + (w - 20 * space) : left + (2 * w) / 3;
    PlotState.SubWindowRect = {left, o.bottom + 4, right, lowerBarTop - 3};
}

void RefreshPlot() {
    RefreshConversion();
    Canvas& canvas = PlotCanvas;
    LayOutPlots(canvas);
    EraseAroundFrames(canvas);

    // A record from a file always opens on its first quarter; a captured one
    // shows what the fields say, the stored span where they hold no number.
    int32_t start = 0;
    int32_t end = 0;
    if (OscState.FileView == 1) {
        OscSettings.Data_S = 0;
        OscSettings.Data_E = OscState.LoadedLength / 4;
        end = OscSettings.Data_E;
    } else {
        float value = 0.0f;
        start = OscSettings.Data_S;
        if (ScanSubWindowField(bottom::Min, value)) {
            const double fromFirst = static_cast<double>(value) - OscState.TimeOffset;
            start = SaturatedTrunc(TimeToIndex(fromFirst));
        }
        end = OscSettings.Data_E;
        if (ScanSubWindowField(bottom::Width, value)) {
            end = SaturatedTrunc(TimeToIndex(value)) + start;
        }
    }
    DrawOverview(canvas, start, end);
    Ports.frame->ShowPlot();
}

void DrawOverview(Canvas& canvas, int32_t start, int32_t end) {
    PlotStateRecord& ps = PlotState;
    // Everything is about to be painted over: no mark is on the screen.
    ps.ReadoutsDirty = 1;
    ps.MarkerShown = 0;
    ps.OverviewCursorShown = 0;
    ps.CursorShown = 0;
    ps.DragStarted = 0;

    canvas.SetRasterMode(RasterMode::Copy);
    canvas.SetFont(&LabelFont);
    const int32_t cx = canvas.TextExtent(" ").width;
    const RangeView range = VerticalRange();
    const VerticalScale scale = WidenRange(range.lower, range.upper);

    const Rect& o = ps.OverviewRect;
    const Rect& s = ps.SubWindowRect;
    canvas.SetBrush(WhiteBrush);
    canvas.SetPen(OverviewFramePen);
    canvas.Rectangle(o.left, o.top, o.right, o.bottom);
    canvas.SetPen(SubWindowFramePen);
    canvas.Rectangle(s.left, s.top, s.right, s.bottom);

    const int32_t c = LabelFont.Height();
    const int32_t height = o.bottom - o.top - c - 18;
    const int32_t top = o.top + 6;
    const int32_t bottom = top + height;
    const int32_t zeroY = ZeroY(top, height, scale);
    canvas.SetTextAlign(AlignCenter | AlignBottom);
    canvas.SetTextColor(WindowTextColor);

    const VoltageAxis axis{zeroY, height, scale.range, c};
    const LabelTicks voltage = FitVoltageLabels(canvas, 10, 2, scale, axis);
    const int32_t axisX = o.left + 2 + voltage.widest + 10;
    const int32_t right = o.right - 7;
    const int32_t width = right - axisX;

    const int32_t zeroLine = ClampInto(zeroY, top, top + height);
    canvas.SetPen(AxisPen);
    canvas.MoveTo(axisX - 2, zeroLine);
    canvas.LineTo(right + 2, zeroLine);

    const int32_t count = RecordLength();
    OverviewArea = {axisX, top,    right, bottom,    0,          count - 1,
                    zeroY, height, width, count - 1, scale.range};

    const int32_t h = MessageFont.Height();
    ps.ReadoutX = (s.right + o.right) / 2;
    ps.ReadoutY[0] = o.bottom + 2 * h;
    ps.ReadoutY[1] = o.bottom + 4 * h;
    ps.ReadoutY[2] = o.bottom + 7 * h;
    ps.ReadoutY[3] = o.bottom + 9 * h;

    canvas.SetPen(TracePen);
    DrawVoltageLabels(canvas, voltage, axisX, axis);

    const LabelTicks time = FitTimeLabels(10, cx, OverviewArea);
    TimeTickStyle style;
    style.pen = OverviewTickPen;
    style.markTop = top - 2;
    style.markBottom = bottom + 4;
    style.labelBottom = bottom + c + 6;
    style.frameRight = o.right;
    DrawTimeLabels(canvas, time, OverviewArea, cx, style);

    canvas.SetPen(TracePen);
    DrawTrace(canvas, OverviewArea, scale, OscState.Record, count);

    // On a full redraw of a captured record the fields are the source of the
    // span, not its target: zero spans tell DrawSubWindow not to write them.
    if (OscState.FileView == 0) {
        OscSettings.Data_S = 0;
        OscSettings.Data_E = 0;
    }
    if (OscState.AutoNormPending == 1) {
        SetParam(ParamViewMin, OscSettings.D_min);
        SetParam(ParamViewMax, OscSettings.D_max);
        OscState.AutoNormPending = 0;
    }
    ps.LabelsDirty = 1;

    start = ClampInto(start, 0, LastStart());
    if (end < start) end = start + 1;
    end = std::min(end, count - 1);
    DrawSubWindow(canvas, start, end);
}

void DrawSubWindow(Canvas& canvas, int32_t start, int32_t end) {
    PlotStateRecord& ps = PlotState;
    if (ps.DrawBusy == 1) return;
    ps.DrawBusy = 1;
    const int32_t count = RecordLength();
    start = ClampInto(start, 0, count - 1);
    end = ClampInto(end, start, count - 1);

    const float startTime = static_cast<float>(ShownTime(start));
    const float widthTime = static_cast<float>(IndexToTime(end - start));
    if ((OscSettings.Data_S != 0 || OscSettings.Data_E != 0) && ps.EditsLive == 0) {
        WriteField(bottom::Min, startTime);
        WriteField(bottom::Width, widthTime);
        Ports.bottomBar->Repaint();
    }
    ps.EditsLive = 1;
    OscSettings.Data_S = start;
    OscSettings.Data_E = end;
    ps.CursorShown = 0;

    const RangeView range = ViewRange();
    const VerticalScale scale = WidenRange(range.lower, range.upper);
    canvas.SetRasterMode(RasterMode::Copy);
    canvas.SetFont(&LabelFont);
    const TextSize space = canvas.TextExtent(" ");
    const int32_t cx = space.width;
    const int32_t c = space.height;
    const Rect& s = ps.SubWindowRect;
    const int32_t top = s.top + 6;
    const int32_t bottom = s.bottom - 9 - c;
    const int32_t height = bottom - top;
    const int32_t zeroY = ZeroY(top, height, scale);
    const int32_t xL = s.left + 2;
    const int32_t xR = s.right - 2;
    canvas.SetTextAlign(AlignCenter | AlignBottom);
    canvas.SetTextColor(WindowTextColor);

    // The voltage labels are recomputed only when asked (a new layout or
    // vertical range); a pan keeps them. Fewer than two wanted labels keep
    // the set of the drawing before.
    const VoltageAxis axis{zeroY, height, scale.range, c};
    const bool labelsDirty = ps.LabelsDirty != 0;
    if (labelsDirty && OscSettings.Labels_Y >= 2) {
        const int32_t wanted = std::min(OscSettings.Labels_Y, MaxLabels);
        ps.SubWindowLabels = FitVoltageLabels(canvas, wanted, 1, scale, axis);
    }
    const LabelTicks voltage = ps.SubWindowLabels;
    const int32_t axisX = xL + voltage.widest + 10;
    if (labelsDirty) {
        canvas.FillRect(s.left + 1, s.top + 1, axisX - s.left - 1, s.bottom - s.top - 3, White);
    }

    const int32_t right = xR - 5;
    const int32_t width = right - axisX;
    const int32_t span = end - start;
    SubWindowArea = {axisX, top,    right, bottom, start,      end,
                     zeroY, height, width, span,   scale.range};

    canvas.FillRect(axisX, s.top + 2, width + 2, s.bottom - s.top - 4, White);
    canvas.FillRect(s.left + 1, bottom, s.right - s.left - 3, s.bottom - bottom - 2, White);

    if (labelsDirty) {
        canvas.SetPen(TracePen);
        DrawVoltageLabels(canvas, voltage, axisX, axis);
    }
    if (OscSettings.Grid != 0 && voltage.count > 0) {
        canvas.SetPen(GridPen);
        for (int32_t i = 0; i <= voltage.count; ++i) {
            const float v = TickValue(voltage.low, voltage.high, i, voltage.count);
            const int32_t y = ValueY(zeroY, height, v, scale.range);
            canvas.MoveTo(axisX, y);
            canvas.LineTo(right, y);
        }
    }
    const int32_t zeroLine = ClampInto(zeroY, top, top + height);
    canvas.SetPen(AxisPen);
    canvas.MoveTo(xL, zeroLine);
    canvas.LineTo(xR, zeroLine);

    // One wanted time label has no second one to make a step with: the time
    // axis then goes without labels.
    const int32_t wantedTimes = std::min(OscSettings.Labels_X, MaxLabels);
    const LabelTicks time = FitTimeLabels(wantedTimes, cx, SubWindowArea);
    TimeTickStyle style;
    style.pen = TracePen;
    style.markTop = bottom;
    style.markBottom = bottom + 4;
    style.grid = OscSettings.Grid != 0;
    style.gridTop = top;
    style.gridBottom = bottom;
    style.labelBottom = bottom + c + 6;
    style.frameRight = s.right;
    DrawTimeLabels(canvas, time, SubWindowArea, cx, style);

    canvas.SetPen(TracePen);
    const int32_t clip = DrawTrace(canvas, SubWindowArea, scale, OscState.Record + start, span + 1);
    DrawClipMarks(canvas, SubWindowArea, clip);

    // Marks are exclusive-or drawings: the overview cursor is taken off before
    // the marker moves under it.
    const RasterMode before = canvas.SetRasterMode(RasterMode::NotXor);
    if (ps.OverviewCursorShown == 1) {
        canvas.SetPen(CursorPen);
        canvas.MoveTo(ps.OverviewCursorX, OverviewArea.top - 2);
        canvas.LineTo(ps.OverviewCursorX, OverviewArea.bottom + 2);
        ps.OverviewCursorShown = 0;
    }
    DrawMarker(canvas, start, end);
    canvas.SetRasterMode(before);

    // The read-outs were of a sample under the cursor of the plot as it was:
    // the cursor is gone, and so are they, till the next move shows new ones.
    const Rect& o = ps.OverviewRect;
    if (o.right > s.right)
        canvas.FillRect(s.right, s.top, o.right - s.right, s.bottom - s.top, White);

    ps.DrawBusy = 0;
    Ports.frame->PlotRangeChanged();
    ps.LabelsDirty = 0;
    // The plot under these marks was repainted. The reference goes with it, so
    // its dT/dV lines are out of date: the next read-out clears the column.
    if (ps.DeltaShown == 1) ps.ReadoutsDirty = 1;
    ps.DeltaShown = 0;
    ps.ZoomArmed = 0;
    ps.BandShown = 0;
    ps.RefShown = 0;
}

void SetSubWindow(int32_t start, int32_t end) {
    start = ClampInto(start, 0, LastStart());
    if (end < start) end = start + 2;
    end = std::min(end, RecordLength() - 1);
    if (PeriodicCaptureOwnsDisplay()) return;
    DrawSubWindow(PlotCanvas, start, end);
    Ports.frame->ShowPlot();
}

}  // namespace korvel
