// The tool tips of the main window's control bars.
#pragma once

#include <cstdint>

namespace korvel {

enum class Bar { Top, Bottom };

// The tip of a control, in the language of the run, or nullptr for a control
// without one. An id can mean different controls in the two bars.
const char* TipText(Bar bar, int32_t id);

}  // namespace korvel
