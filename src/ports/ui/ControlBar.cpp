#include "ports/ui/ControlBar.h"

#include <QApplication>
#include <QFontMetricsF>
#include <cmath>

namespace korvel::ui {

QFont BarFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

QSizeF DialogUnit(const QFont& font) {
    const QFontMetricsF metrics(font);
    // The average over the 52 letters, as dialog units have always been measured.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth = std::round(metrics.horizontalAdvance(letters) / letters.size());
    return QSizeF(averageWidth / 4.0, std::round(metrics.height()) / 8.0);
}

QSize DialogSize(int widthUnits, int heightUnits) {
    const QSizeF unit = DialogUnit(BarFont());
    return QSize(static_cast<int>(std::lround(widthUnits * unit.width())),
                 static_cast<int>(std::lround(heightUnits * unit.height())));
}

ControlBar::ControlBar(int widthUnits, int heightUnits, QWidget* parent)
    : QWidget(parent), widthUnits_(widthUnits), heightUnits_(heightUnits) {
    setFont(BarFont());
    const QSizeF unit = DialogUnit(font());
    unitX_ = unit.width();
    unitY_ = unit.height();
    setFixedHeight(static_cast<int>(std::lround(heightUnits_ * unitY_)));
}

void ControlBar::Place(QWidget* child, int x, int y, int cx, int cy) {
    const int height =
        cy > 0 ? static_cast<int>(std::lround(cy * unitY_)) : child->sizeHint().height();
    child->setGeometry(static_cast<int>(std::lround(x * unitX_)),
                       static_cast<int>(std::lround(y * unitY_)),
                       static_cast<int>(std::lround(cx * unitX_)), height);
}

QSize ControlBar::sizeHint() const {
    return QSize(static_cast<int>(std::lround(widthUnits_ * unitX_)),
                 static_cast<int>(std::lround(heightUnits_ * unitY_)));
}

}  // namespace korvel::ui
