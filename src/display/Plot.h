// The oscillogram: the overview of the whole record above the sub-window plot.
#pragma once

#include <cstdint>

namespace korvel {

// Full redraw of both plots with a new layout (paint, resize, new record, new settings).
void RefreshPlot();

}  // namespace korvel
