#include "app/ui/QtFrame.h"

#include <QApplication>

#include "model/OscState.h"
#include "ports/ui/Bitmaps.h"
#include "spectrum/ui/CSpectrum.h"

namespace korvel::ui {

QtFrame::QtFrame(QWidget* window, QWidget* plot) : window_(window), plot_(plot) {
    spectrumFollows_.setSingleShot(true);
    spectrumFollows_.setInterval(0);
    QObject::connect(&spectrumFollows_, &QTimer::timeout, [] {
        if (SpectrumWnd != nullptr && SpectrumWnd->isVisible() && !PeriodicCaptureOwnsDisplay())
            SpectrumWnd->PaintNow();
    });
}

QtFrame::~QtFrame() {
    if (overriding_) QApplication::restoreOverrideCursor();
}

// The hourglass covers the whole program while a capture holds it; the shapes
// of the mouse's work on the plot belong to the plot alone.
void QtFrame::SetPointer(Pointer shape) {
    pointer_ = shape;
    if (shape == Pointer::Hourglass) {
        if (overriding_) {
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            overriding_ = true;
        }
        return;
    }
    if (overriding_) {
        QApplication::restoreOverrideCursor();
        overriding_ = false;
    }
    if (plot_.isNull()) return;
    switch (shape) {
        case Pointer::SizeWE:
            plot_->setCursor(Qt::SizeHorCursor);
            break;
        case Pointer::Hand:
            plot_->setCursor(ClosedHandCursor());
            break;
        default:
            plot_->setCursor(Qt::ArrowCursor);
            break;
    }
}

// The desktop has one system sound; every message-box type sounds it.
void QtFrame::Beep(int32_t /*type*/) {
    QApplication::beep();
}

void QtFrame::SetTitle(const char* title) {
    if (!window_.isNull()) window_->setWindowTitle(QString::fromUtf8(title));
}

void QtFrame::ShowPlot() {
    if (!plot_.isNull()) plot_->repaint();
}

// The main window opens the spectrum window, or brings it to the front.
bool QtFrame::ShowSpectrumWindow() {
    return ui::ShowSpectrumWindow();
}

// A zoom, a pan, a marker drag, typed fields or a new record: the open
// spectrum window shows the spectrum of what the main plot now shows. The
// paint waits for the event loop, so a drag's many steps cost one spectrum
// each time the window gets to draw; the spectrum's own run draws itself.
void QtFrame::PlotRangeChanged() {
    if (SpectrumWnd != nullptr && !PeriodicCaptureOwnsDisplay()) spectrumFollows_.start();
}

}  // namespace korvel::ui
