// The widget between the spectrum window's bars: it shows its part of
// SpectrumCanvas (which covers the whole client area, bars included) and
// hands the mouse to the spectrum's selection.
#pragma once

#include <QWidget>

#include "canvas/ui/CanvasImage.h"

namespace korvel::ui {

class SpectrumPlotWidget : public QWidget {
    Q_OBJECT

  public:
    explicit SpectrumPlotWidget(QWidget* parent = nullptr);

    // The core has drawn into the canvas: show it.
    void ShowCanvas() { update(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // x in the window's client coordinates, the canvas's columns.
    int ClientX(const QMouseEvent* event) const;

    CanvasImage view_;
};

}  // namespace korvel::ui
