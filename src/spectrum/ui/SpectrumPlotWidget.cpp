#include "spectrum/ui/SpectrumPlotWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "spectrum/SpectrumSelection.h"
#include "spectrum/SpectrumView.h"

namespace korvel::ui {

SpectrumPlotWidget::SpectrumPlotWidget(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the canvas: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The selection band follows the mouse with no button held.
    setMouseTracking(true);
}

int SpectrumPlotWidget::ClientX(const QMouseEvent* event) const {
    return static_cast<int>(event->position().x()) + x();
}

void SpectrumPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas& canvas = SpectrumCanvas;
    const auto* pixels = reinterpret_cast<const uchar*>(canvas.Pixels());
    if (view_.constBits() != pixels || view_.width() != canvas.Width() ||
        view_.height() != canvas.Height()) {
        // The canvas was resized: look at its new memory.
        view_ = canvas.Width() > 0 && canvas.Height() > 0
                    ? QImage(pixels, canvas.Width(), canvas.Height(), canvas.Width() * 4,
                             QImage::Format_RGB32)
                    : QImage();
    }
    painter.fillRect(rect(), Qt::white);
    if (!view_.isNull()) {
        // This widget's place in the client area is its part of the canvas.
        painter.drawImage(QPoint(0, 0), view_, QRect(x(), y(), width(), height()));
    }
}

void SpectrumPlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SpectrumLeftDown(ClientX(event));
    } else if (event->button() == Qt::RightButton) {
        SpectrumRightDown(ClientX(event));
    }
    ShowCanvas();
    QWidget::mousePressEvent(event);
}

void SpectrumPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    SpectrumMouseMove(ClientX(event));
    ShowCanvas();
    QWidget::mouseMoveEvent(event);
}

// The second press of a double click comes here alone: it widens the range
// instead of ending a selection.
void SpectrumPlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SpectrumDoubleClick(ClientX(event));
        ShowCanvas();
    } else if (event->button() == Qt::RightButton) {
        SpectrumRightDown(ClientX(event));
        ShowCanvas();
    }
    event->accept();
}

}  // namespace korvel::ui
