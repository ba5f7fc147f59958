// The tool tips of the spectrum window's bars.
#pragma once

#include <cstdint>

namespace korvel {

enum class SpectrumBar { Top, Bottom };

// The tip of a control in the language of the run, or nullptr for a control
// without one. The run counter has its tip only while a run goes on.
const char* SpectrumTipText(SpectrumBar bar, int32_t id);

}  // namespace korvel
