#include "ports/ui/QtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScreen>
#include <cmath>

namespace korvel::ui {

bool QtClipboard::SetBitmap(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
                            int32_t widthTenthMm, int32_t heightTenthMm) {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard == nullptr || pixels == nullptr || width <= 0 || height <= 0) return false;
    // A deep copy: the canvas goes on changing after the copy.
    QImage image = QImage(reinterpret_cast<const uchar*>(pixels), width, height,
                          static_cast<qsizetype>(stride) * 4, QImage::Format_RGB32)
                       .copy();
    // Dots per metre from the physical size: 1 m = 10000 tenths of a millimetre.
    if (widthTenthMm > 0)
        image.setDotsPerMeterX(static_cast<int>(std::lround(width * 10000.0 / widthTenthMm)));
    if (heightTenthMm > 0)
        image.setDotsPerMeterY(static_cast<int>(std::lround(height * 10000.0 / heightTenthMm)));
    clipboard->setImage(image);
    return true;
}

namespace {
int32_t Dpi(qreal (QScreen::*dpi)() const) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 96 : static_cast<int32_t>(std::lround((screen->*dpi)()));
}
}  // namespace

int32_t QtClipboard::DpiX() const {
    return Dpi(&QScreen::logicalDotsPerInchX);
}

int32_t QtClipboard::DpiY() const {
    return Dpi(&QScreen::logicalDotsPerInchY);
}

}  // namespace korvel::ui
