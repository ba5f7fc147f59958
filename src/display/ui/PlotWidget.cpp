#include "display/ui/PlotWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "display/Plot.h"
#include "display/PlotMouse.h"

namespace korvel::ui {

namespace {

// The buttons and keys of a move as the plot's handlers know them. Alt and
// the other keys do not count: only Shift and Control stop a drag.
uint32_t MoveFlags(const QMouseEvent& event) {
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers keys = event.modifiers();
    uint32_t flags = 0;
    if (buttons & Qt::LeftButton) flags |= MouseLeft;
    if (buttons & Qt::RightButton) flags |= MouseRight;
    if (buttons & Qt::MiddleButton) flags |= MouseMiddle;
    if (buttons & Qt::XButton1) flags |= MouseExtra1;
    if (buttons & Qt::XButton2) flags |= MouseExtra2;
    if (keys & Qt::ShiftModifier) flags |= MouseShift;
    if (keys & Qt::ControlModifier) flags |= MouseControl;
    return flags;
}

QPoint At(const QMouseEvent& event) {
    return event.position().toPoint();
}

}  // namespace

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the canvas: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The cursors follow the pointer without a button held.
    setMouseTracking(true);
}

void PlotWidget::ShowCanvas() {
    update();
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& view = view_.Of(PlotCanvas);
    if (view.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, view);
    if (view.width() < width() || view.height() < height()) {
        painter.fillRect(view.width(), 0, width() - view.width(), height(), Qt::white);
        painter.fillRect(0, view.height(), width(), height() - view.height(), Qt::white);
    }
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlotCanvas.Resize(width(), height());
    RefreshPlot();
    update();
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = At(*event);
    PlotMouseMove(MoveFlags(*event), p.x(), p.y());
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = At(*event);
    if (event->button() == Qt::LeftButton) {
        PlotLeftDown(p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        PlotRightDown(p.x(), p.y());
    }
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) PlotLeftUp();
}

// The second press of a double click arrives as this event alone, as the
// plot's handlers expect.
void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        PlotLeftDoubleClick();
    } else if (event->button() == Qt::RightButton) {
        PlotRightDoubleClick();
    }
}

}  // namespace korvel::ui
