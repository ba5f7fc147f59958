#include "display/PlotScale.h"

#include <cmath>

#include "model/Conversions.h"
#include "model/OscState.h"

namespace korvel {

namespace {
constexpr double SaturationLimit = 536870912.0;  // 2^29
}  // namespace

int32_t SaturatedTrunc(double value) {
    if (std::isnan(value)) return 0;
    if (value >= SaturationLimit) return static_cast<int32_t>(SaturationLimit);
    if (value <= -SaturationLimit) return -static_cast<int32_t>(SaturationLimit);
    return static_cast<int32_t>(value);
}

VerticalScale WidenRange(float lo, float hi) {
    VerticalScale scale;
    scale.noData = lo == 0.0f && hi == 0.0f;
    if (lo == hi) {
        float wideLo = lo - 50.0f;
        float wideHi = hi + 50.0f;
        const float limitedLo = wideLo < -128.0f ? -128.0f : wideLo;
        const float limitedHi = wideHi > 127.0f ? 127.0f : wideHi;
        if (limitedHi > limitedLo) {
            wideLo = limitedLo;
            wideHi = limitedHi;
        }
        lo = wideLo;
        hi = wideHi;
    }
    float range = hi - lo;
    if (range == 0.0f || !std::isfinite(range)) {
        lo = -128.0f;
        hi = 127.0f;
        range = hi - lo;
    }
    scale.lo = lo;
    scale.hi = hi;
    scale.range = range;
    return scale;
}

int32_t ZeroY(int32_t top, int32_t height, const VerticalScale& scale) {
    const float offset = static_cast<float>(height) * scale.hi / scale.range;
    return top + SaturatedTrunc(offset);
}

int32_t ValueY(int32_t zeroY, int32_t height, float valueMv, float range) {
    const float offset = static_cast<float>(height) * valueMv / range;
    return zeroY - SaturatedTrunc(offset);
}

int32_t TimeX(const PlotArea& area, double timeUs) {
    if (area.span == 0) return area.axisX;
    const double t0 = ShownTime(area.first);
    const double scaled = (timeUs - t0) * area.width / area.span;
    return area.axisX + SaturatedTrunc(TimeToIndex(scaled));
}

double ShownTime(int32_t index) {
    return IndexToTime(index) + static_cast<double>(OscState.TimeOffset);
}

}  // namespace korvel
