#include "app/ui/QtFrame.h"

#include <QApplication>

#include "ports/ui/Bitmaps.h"
#include "spectrum/ui/CSpectrum.h"

namespace korvel::ui {

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

}  // namespace korvel::ui
