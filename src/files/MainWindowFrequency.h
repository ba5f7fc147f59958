// The main window's frequency list as the Settings dialog drives it.
#pragma once

#include <cstdint>

namespace korvel {

// Selects entry k of the main window's frequency list and runs the list's
// selection handling: the frequency index becomes k and the sub-window's
// start and width fields show the new time scale.
void SelectMainFrequency(int32_t k);

// Fills the main window's frequency list from BaseFreq and the dividers,
// keeping entry Korv_Freq selected.
void RebuildMainFrequencyList();

}  // namespace korvel
