// The "Min" and "Width" fields of the lower control bar: the sub-window's
// start time and width in microseconds, typed by the user or written by the
// plot (while EditsLive is 0, see DrawSubWindow).
#pragma once

#include <cstdint>

namespace korvel {

// The text of field id (bottom::Min or bottom::Width, at most 49 characters)
// scanned with "%g"; false, value untouched, when it does not begin with a number.
bool ScanSubWindowField(int32_t id, float& value);

// The text-changed handling of either field. Ignored while EditsLive is 0
// (the plot is writing the fields itself); otherwise the span the fields
// name, a field without a number standing for the stored span, goes to
// SetSubWindow, so every keystroke redraws the plot.
void SubWindowFieldChanged();

}  // namespace korvel
