#include "canvas/BitmapSize.h"

namespace korvel {

int32_t TenthsOfMm(int32_t pixels, int32_t dpi) {
    if (dpi < 1) dpi = 96;
    return static_cast<int32_t>(int64_t{pixels} * 254 / dpi);
}

}  // namespace korvel
