// The physical size of a bitmap put on the clipboard, so that a document it
// is pasted into shows it as large as it was on the screen.
#pragma once

#include <cstdint>

namespace korvel {

// pixels at dpi pixels per inch in tenths of a millimetre, truncated. A
// screen that reports no resolution is taken as the usual 96.
int32_t TenthsOfMm(int32_t pixels, int32_t dpi);

}  // namespace korvel
