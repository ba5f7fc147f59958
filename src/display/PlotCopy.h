// The copy of the sub-window plot to the clipboard: the pixels inside its
// frame, as they are on the screen, with their physical size.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas/Canvas.h"

namespace korvel {

struct PlotBitmap {
    std::vector<uint32_t> pixels;  // width x height, rows packed, 0xFFRRGGBB
    int32_t width = 0;
    int32_t height = 0;
    int32_t widthTenthMm = 0;  // physical size, tenths of a millimetre
    int32_t heightTenthMm = 0;
};

// The inside of SubWindowRect (its frame mostly left out): width - 3 by
// height - 3 pixels from (left + 1, top + 1), with the marks shown at this
// moment. The physical size comes from the screen's pixels per inch. False
// when the frame leaves nothing to copy.
bool CopyPlotBitmap(const Canvas& canvas, PlotBitmap& bitmap);

// The lower bar's copy button: puts the bitmap on the clipboard. Does
// nothing while a periodic capture or the spectrum's run owns the display.
void CopyPlotToClipboard();

}  // namespace korvel
