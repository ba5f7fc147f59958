#include "display/PlotCopy.h"

#include "canvas/BitmapSize.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "model/OscState.h"
#include "ports/Ports.h"

namespace korvel {

bool CopyPlotBitmap(const Canvas& canvas, PlotBitmap& bitmap) {
    const Rect& s = PlotState.SubWindowRect;
    const int32_t w = s.right - s.left - 3;
    const int32_t h = s.bottom - s.top - 3;
    if (w < 1 || h < 1) return false;
    bitmap.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    canvas.CopyRect(s.left + 1, s.top + 1, w, h, bitmap.pixels.data(), w);
    bitmap.width = w;
    bitmap.height = h;
    bitmap.widthTenthMm = TenthsOfMm(w, Ports.clipboard->DpiX());
    bitmap.heightTenthMm = TenthsOfMm(h, Ports.clipboard->DpiY());
    return true;
}

void CopyPlotToClipboard() {
    if (PeriodicCaptureOwnsDisplay()) return;
    PlotBitmap bitmap;
    if (!CopyPlotBitmap(PlotCanvas, bitmap)) return;
    Ports.clipboard->SetBitmap(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.width,
                               bitmap.widthTenthMm, bitmap.heightTenthMm);
}

}  // namespace korvel
