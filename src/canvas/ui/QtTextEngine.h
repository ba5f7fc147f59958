// The program's text engine on the installed fonts: "Courier" is Liberation
// Mono (Courier's metrics), or the system's fixed-pitch face where that is
// missing; "Symbol" takes the micro and delta signs from the same face.
#pragma once

#include "canvas/TextEngine.h"

namespace korvel::ui {

class QtTextEngine : public TextEngine {
  public:
    // Needs the QGuiApplication. Each character is rendered once, in the
    // largest pixel size whose ascent + descent fit the cell, grey-scale
    // anti-aliased on white; the rows left over go above the ascent.
    bool MakeFont(const char* face, int32_t cellHeight, Font& font) override;
};

}  // namespace korvel::ui
