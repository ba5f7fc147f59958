#include "display/PlotTrace.h"

namespace korvel {

void DrawTrace(Canvas& canvas, const PlotArea& area, const VerticalScale& scale,
               const float* values, int32_t count) {
    if (scale.noData) return;
    const int32_t top = area.top;
    const int32_t bottom = area.bottom;
    auto y = [&](float v) {
        const int32_t raw = ValueY(area.zeroY, area.height, v, scale.range);
        return raw < top ? top : (raw > bottom ? bottom : raw);
    };
    WalkTrace(count, area.width, [&](int32_t dx, int32_t index) {
        if (dx == 0 && index == 0) {
            canvas.MoveTo(area.axisX, y(values[0]));
        } else {
            canvas.LineTo(area.axisX + dx, y(values[index]));
        }
    });
}

}  // namespace korvel
