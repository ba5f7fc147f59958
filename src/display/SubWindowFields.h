// The "Min" and "Width" fields of the lower control bar: the sub-window's
// start time and width in microseconds, typed by the user or written by the
// plot (while EditsLive is 0, see DrawSubWindow).
#pragma once

namespace korvel {

// The text-changed handling of either field. Ignored while EditsLive is 0
// (the plot is writing the fields itself); otherwise the span the fields
// name, a field without a number standing for the stored span, goes to
// SetSubWindow, so every keystroke redraws the plot.
void SubWindowFieldChanged();

}  // namespace korvel
