#include "display/ui/PlotWidget.h"

#include <QPainter>
#include <QResizeEvent>

#include "display/Plot.h"

namespace korvel::ui {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the canvas: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotWidget::ShowCanvas() {
    update();
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas& canvas = PlotCanvas;
    const auto* pixels = reinterpret_cast<const uchar*>(canvas.Pixels());
    if (view_.constBits() != pixels || view_.width() != canvas.Width() ||
        view_.height() != canvas.Height()) {
        // The canvas was resized elsewhere: look at its new memory.
        view_ = canvas.Width() > 0 && canvas.Height() > 0
                    ? QImage(pixels, canvas.Width(), canvas.Height(), canvas.Width() * 4,
                             QImage::Format_RGB32)
                    : QImage();
    }
    if (view_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, view_);
    if (view_.width() < width() || view_.height() < height()) {
        painter.fillRect(view_.width(), 0, width() - view_.width(), height(), Qt::white);
        painter.fillRect(0, view_.height(), width(), height() - view_.height(), Qt::white);
    }
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_ = QImage();
    PlotCanvas.Resize(width(), height());
    RefreshPlot();
    update();
}

}  // namespace korvel::ui
