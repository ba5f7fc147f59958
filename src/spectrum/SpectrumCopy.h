// The spectrum window's copy button: the plot to the clipboard.
#pragma once

namespace korvel {

// Puts the whole width of the window between its two bars (plot, labels and
// margins, as they are on the screen) on the clipboard as a bitmap with its
// physical size from the screen's resolution. Does nothing while the
// continuous run draws.
void CopySpectrum();

}  // namespace korvel
