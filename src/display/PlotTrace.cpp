#include "display/PlotTrace.h"

#include "display/PlotStyle.h"

namespace korvel {

int32_t DrawTrace(Canvas& canvas, const PlotArea& area, const VerticalScale& scale,
                  const float* values, int32_t count) {
    if (scale.noData) return ClippedNone;
    const int32_t top = area.top;
    const int32_t bottom = area.bottom;
    int32_t clip = ClippedNone;
    auto y = [&](float v) {
        const int32_t raw = ValueY(area.zeroY, area.height, v, scale.range);
        if (raw < top) clip |= ClippedAbove;
        if (raw > bottom) clip |= ClippedBelow;
        return raw < top ? top : (raw > bottom ? bottom : raw);
    };
    WalkTrace(count, area.width, [&](int32_t dx, int32_t index) {
        if (dx == 0 && index == 0) {
            canvas.MoveTo(area.axisX, y(values[0]));
        } else {
            canvas.LineTo(area.axisX + dx, y(values[index]));
        }
    });
    return clip;
}

void DrawClipMarks(Canvas& canvas, const PlotArea& area, int32_t clip) {
    constexpr int32_t Size = 6;
    if (area.width < 3 * Size || area.height < 3 * Size) return;
    canvas.SetPen(ClipPen);
    const int32_t x = area.right - 2 * Size;
    for (int32_t row = 0; row < Size; ++row) {
        // Row 0 is the wedge's point, at the area's edge; each row one pixel wider each way.
        if ((clip & ClippedAbove) != 0) {
            canvas.MoveTo(x - row, area.top + 1 + row);
            canvas.LineTo(x + row + 1, area.top + 1 + row);
        }
        if ((clip & ClippedBelow) != 0) {
            canvas.MoveTo(x - row, area.bottom - 1 - row);
            canvas.LineTo(x + row + 1, area.bottom - 1 - row);
        }
    }
}

}  // namespace korvel
