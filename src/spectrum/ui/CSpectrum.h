// The spectrum window: a top-level window with the upper bar (save, run,
// Accumulate, run counter, copy), the spectrum plot and the lower bar (Min,
// Width, maximum frequency). At most one exists; closing it destroys it and
// ends a continuous run. Its handlers call the spectrum's core and show the
// canvas afterwards.
#pragma once

#include <QWidget>

#include "ports/ui/QtControls.h"

namespace korvel::ui {

class ControlBar;
class SpectrumPlotWidget;

class CSpectrum : public QWidget {
    Q_OBJECT

  public:
    // Builds the window and its bars and points the spectrum's bar ports at
    // them. Shown by ShowSpectrumWindow.
    CSpectrum();
    // The destroy handling: the run ends, the ports and SpectrumWnd forget
    // the window.
    ~CSpectrum() override;

    // The paint: the spectrum computed where needed, drawn and shown.
    void PaintNow();
    // The core has drawn into the canvas: show it.
    void ShowCanvas();

    QtControls& TopControls() { return topControls_; }
    QtControls& BottomControls() { return bottomControls_; }
    ControlBar* TopBar() const { return topBar_; }
    ControlBar* BottomBar() const { return bottomBar_; }
    SpectrumPlotWidget* Plot() const { return plot_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildTopBar();
    void BuildBottomBar();

    QtControls topControls_;
    QtControls bottomControls_;
    ControlBar* topBar_ = nullptr;
    ControlBar* bottomBar_ = nullptr;
    SpectrumPlotWidget* plot_ = nullptr;
};

// The one spectrum window, or nullptr while none exists.
extern CSpectrum* SpectrumWnd;

// Opens the spectrum window, or restores and raises the open one, and paints
// it at once. False when the window could not be made.
bool ShowSpectrumWindow();

// Timer 3: the continuous run's tick, then its drawing shown.
void SpectrumRunTickShown();

}  // namespace korvel::ui
