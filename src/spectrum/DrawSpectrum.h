// The spectrum plot: one vertical line per bin over a frequency axis in kHz.
#pragma once

#include <cstdint>

namespace korvel {

// Draws bins first .. end - 1 of SpectrumView.Bins into SpectrumCanvas
// between the two bars and records the shown range (fractions, frequencies,
// plot rectangle). The caller shows the canvas afterwards.
//
// Spectra that cannot be spread over an axis (fewer than two bins, or a
// frequency span that is not a positive number) leave the empty axes, and
// the fractions as they were for the next spectrum that can. A range is held
// within the bins, and one of a single bin is widened to two, so that the
// plot has a width in bins and a double click can widen it again.
void DrawSpectrum(int32_t first, int32_t end);

}  // namespace korvel
