// Control ids of the spectrum window's two bars and its commands. The ids
// repeat those of the main window's bars with other meanings: the bar decides.
#pragma once

#include <cstdint>

namespace korvel {

// Upper bar of the spectrum window.
namespace spectrumTop {
inline constexpr int32_t Save = 1011;        // Save dialog for a spectrum file
inline constexpr int32_t Run = 1008;         // continuous run on/off
inline constexpr int32_t Accumulate = 1007;  // average the spectra of a run
inline constexpr int32_t Counter = 1026;     // "Accumulated: n"
inline constexpr int32_t Copy = 1043;        // copy the plot to the clipboard
}  // namespace spectrumTop

// Lower bar of the spectrum window.
namespace spectrumBottom {
inline constexpr int32_t MinLabel = 1027;
inline constexpr int32_t Min = 1000;  // first shown frequency, kHz
inline constexpr int32_t WidthLabel = 1038;
inline constexpr int32_t Width = 1006;    // shown frequency span, kHz
inline constexpr int32_t MaxFreq = 1026;  // "(Max = f kHz)"
}  // namespace spectrumBottom

}  // namespace korvel
