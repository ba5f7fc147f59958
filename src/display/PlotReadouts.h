// The read-out column right of the sub-window plot: the time and voltage under
// the cursor, and their differences to the reference while one is set.
#pragma once

#include "canvas/Canvas.h"

namespace korvel {

// Writes "T = ... us" and "V = ... mv" for a sample index (fractional) and a
// value in mV, and "dT"/"dV" to the reference when one is set, with the
// micro and delta signs of the symbol font over the "u" and the "d"s.
// Clears the column first when ReadoutsDirty asks for it, and takes the
// dT/dV lines away once the reference is gone.
void ShowReadouts(Canvas& canvas, float index, float valueMv);

}  // namespace korvel
