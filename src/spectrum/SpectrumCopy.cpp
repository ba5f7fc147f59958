#include "spectrum/SpectrumCopy.h"

#include <cstdint>

#include "canvas/BitmapSize.h"
#include "model/OscState.h"
#include "ports/Ports.h"
#include "spectrum/SpectrumView.h"

namespace korvel {

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
