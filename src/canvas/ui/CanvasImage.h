// A QImage over a canvas's own pixels, so that a widget shows what the core
// drew without a copy. It is remade only when the canvas's memory or size
// has changed since the last look.
#pragma once

#include <QImage>

#include "canvas/Canvas.h"

namespace korvel::ui {

class CanvasImage {
  public:
    // The image of canvas as it is now; null while the canvas is empty.
    const QImage& Of(const Canvas& canvas);

  private:
    QImage view_;
};

}  // namespace korvel::ui
