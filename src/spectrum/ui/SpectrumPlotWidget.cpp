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
    const QImage& view = view_.Of(SpectrumCanvas);
    painter.fillRect(rect(), Qt::white);
    if (!view.isNull()) {
        // This widget's place in the client area is its part of the canvas.
        painter.drawImage(QPoint(0, 0), view, QRect(x(), y(), width(), height()));
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
