#include "display/Plot.h"

namespace korvel {

// Drawing arrives with the canvas; until then a refresh has nothing to draw on.
void RefreshPlot() {}

}  // namespace korvel
