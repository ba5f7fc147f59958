#include "app/ui/TickSlider.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace korvel::ui {

namespace {
constexpr int TickLength = 4;
}  // namespace

TickSlider::TickSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // The marks are drawn here, below the groove; the style draws none.
    setTickPosition(QSlider::NoTicks);
}

void TickSlider::ClearTicks() {
    ticks_.clear();
    update();
}

void TickSlider::AddTick(int position) {
    ticks_.push_back(position);
    update();
}

int TickSlider::TickX(int position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), position, span, option.upsideDown);
}

QSize TickSlider::sizeHint() const {
    const QSize hint = QSlider::sizeHint();
    return QSize(hint.width(), hint.height() + TickLength + 1);
}

void TickSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int bottom = height() - 1;
    for (const int position : ticks_) {
        if (position < minimum() || position > maximum()) continue;
        const int x = TickX(position);
        painter.drawLine(x, bottom - TickLength + 1, x, bottom);
    }
}

}  // namespace korvel::ui
