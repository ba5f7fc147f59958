// A control bar laid out as a dialog template: controls placed in dialog
// units of the bar's font, docked across the whole width of the window.
#pragma once

#include <QWidget>

namespace korvel::ui {

class ControlBar : public QWidget {
    Q_OBJECT
  public:
    // A bar of the template's size in dialog units.
    ControlBar(int widthUnits, int heightUnits, QWidget* parent = nullptr);

    // Places a child at x, y with size cx, cy in dialog units. A height of 0
    // keeps the child's own height (drop-down lists: the template's height is
    // that of the open list).
    void Place(QWidget* child, int x, int y, int cx, int cy);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }

    double UnitX() const { return unitX_; }
    double UnitY() const { return unitY_; }

  private:
    int widthUnits_, heightUnits_;
    double unitX_, unitY_;
};

// The font of the bars and dialogs: the system's sans-serif face at 8 points.
QFont BarFont();

// Pixels per dialog unit of a font: a quarter of its average letter width
// across, an eighth of its height down.
QSizeF DialogUnit(const QFont& font);

// A size in dialog units of the bar font, in pixels.
QSize DialogSize(int widthUnits, int heightUnits);

}  // namespace korvel::ui
