// The Frame port on the main window: pointer, beeps, title, showing the plot.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "ports/Ports.h"

namespace korvel::ui {

class QtFrame : public Frame {
  public:
    QtFrame(QWidget* window, QWidget* plot);
    ~QtFrame() override;

    void SetPointer(Pointer shape) override;
    void Beep(int32_t type) override;
    void SetTitle(const char* title) override;
    void ShowPlot() override;
    bool ShowSpectrumWindow() override;
    void PlotRangeChanged() override;

    Pointer CurrentPointer() const { return pointer_; }

  private:
    QPointer<QWidget> window_;
    QPointer<QWidget> plot_;
    QTimer spectrumFollows_;  // one paint of the spectrum window for many range changes
    Pointer pointer_ = Pointer::Arrow;
    bool overriding_ = false;
};

}  // namespace korvel::ui
