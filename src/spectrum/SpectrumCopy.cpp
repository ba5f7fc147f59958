#include "spectrum/SpectrumCopy.h"

#include <cstdint>

#include "app/OscState.h"
#include "app/Ports.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

namespace {

// pixels at dpi pixels per inch in tenths of a millimetre, truncated. A
// screen that reports no resolution is taken as the usual 96.
int32_t TenthsOfMm(int32_t pixels, int32_t dpi) {
    if (dpi < 1) dpi = 96;
    return static_cast<int32_t>(int64_t{pixels} * 254 / dpi);
}

}  // namespace

void CopySpectrum() {
    if (OscState.SpectrumRunning == 1) return;
    const SpectrumViewRecord& v = SpectrumView;
    const Canvas& canvas = SpectrumCanvas;
    const int32_t w = canvas.Width();
    const int32_t h = canvas.Height() - v.TopBarHeight - v.BottomBarHeight;
    // A window squeezed to its bars has no bitmap to give.
    if (w < 1 || h < 1 || v.TopBarHeight < 0) return;
    // The rows are copied straight out of the canvas: the port takes its copy.
    const uint32_t* first = canvas.Pixels() + static_cast<size_t>(v.TopBarHeight) * w;
    Ports.clipboard->SetBitmap(first, w, h, w, TenthsOfMm(w, Ports.clipboard->DpiX()),
                               TenthsOfMm(h, Ports.clipboard->DpiY()));
}

}  // namespace korvel
