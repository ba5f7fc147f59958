// The widget that shows the oscillogram's canvas. It stands for the main
// window's client area between the control bars: a resize (and the first
// show) resizes the canvas and redraws the plots; a paint only shows the
// canvas as the core left it. Its mouse events go to the plot's mouse
// handlers in the canvas's pixels.
#pragma once

#include <QWidget>

#include "canvas/ui/CanvasImage.h"

namespace korvel::ui {

class PlotWidget : public QWidget {
    Q_OBJECT

  public:
    explicit PlotWidget(QWidget* parent = nullptr);

    // The core has drawn into the canvas: show it.
    void ShowCanvas();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    CanvasImage view_;
};

}  // namespace korvel::ui
