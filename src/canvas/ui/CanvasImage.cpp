#include "canvas/ui/CanvasImage.h"

namespace korvel::ui {

const QImage& CanvasImage::Of(const Canvas& canvas) {
    const auto* pixels = reinterpret_cast<const uchar*>(canvas.Pixels());
    if (view_.constBits() != pixels || view_.width() != canvas.Width() ||
        view_.height() != canvas.Height()) {
        view_ = canvas.Width() > 0 && canvas.Height() > 0
                    ? QImage(pixels, canvas.Width(), canvas.Height(), canvas.Width() * 4,
                             QImage::Format_RGB32)
                    : QImage();
    }
    return view_;
}

}  // namespace korvel::ui
