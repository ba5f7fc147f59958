// The mouse on the spectrum plot: two left clicks mark a frequency range to
// show, the band between them following the mouse; a right click cancels the
// marking; a double click doubles the shown width around its centre. x is in
// the window's client coordinates, SpectrumCanvas's columns. Nothing happens
// while the continuous run goes on. The ui shows the canvas afterwards.
#pragma once

#include <cstdint>

namespace korvel {

void SpectrumLeftDown(int32_t x);
void SpectrumMouseMove(int32_t x);
void SpectrumRightDown(int32_t x);
void SpectrumDoubleClick(int32_t x);

// Escape: a marking under way goes, as with a right click. True when there was one.
bool SpectrumCancelSelection();

}  // namespace korvel
