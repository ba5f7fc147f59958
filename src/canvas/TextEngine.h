// The canvas's one way to the platform's fonts: a text engine makes a font of a
// face at a character cell height. The ui's engine renders the installed
// fonts; the fixed-cell engine draws the same pictures on every machine, so
// pixel tests do not depend on what fonts a machine has.
#pragma once

#include <cstdint>

#include "canvas/Font.h"

namespace korvel {

class TextEngine {
  public:
    virtual ~TextEngine() = default;
    // Makes font in face at a cell height of cellHeight pixels (ascent +
    // descent). Faces: "Courier" (the fixed-pitch face of the labels), ""
    // (the platform's own fixed-pitch face, the retry when "Courier" cannot be
    // made) and "Symbol", whose letter "m" is the micro sign and "D" the
    // capital delta, in the same cell as the fixed-pitch face's letters.
    // Returns false, leaving font absent, when the face cannot be made.
    virtual bool MakeFont(const char* face, int32_t cellHeight, Font& font) = 0;
};

// The engine in use; nullptr until the ui or a test installs one. Without an
// engine no font can be made: the plots are drawn without texts.
TextEngine* InstalledTextEngine();
void InstallTextEngine(TextEngine* engine);

}  // namespace korvel
