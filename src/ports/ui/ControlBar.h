// A control bar laid out as a dialog template: controls placed in dialog
// units of the bar's font, docked across the whole width of the window.
#pragma once

#include <QWidget>
#include <vector>

namespace korvel::ui {

class ControlBar : public QWidget {
    Q_OBJECT
  public:
    // What a bar narrower than its template does: a dialog's body keeps its
    // one layout; a docked bar carries the controls that do not fit on to
    // further rows below, so that every control stays within reach.
    enum class Narrow { Clip, Wrap };
    // Whether a control may begin a new row of a wrapping bar, or stays on
    // the row of the one placed before it (a field's label, unit or arrows).
    enum class Keep { Apart, WithPrevious };

    // A bar of the template's size in dialog units.
    ControlBar(int widthUnits, int heightUnits, QWidget* parent = nullptr,
               Narrow narrow = Narrow::Clip);

    // Places a child at x, y with size cx, cy in dialog units. A height of 0
    // keeps the child's own height (drop-down lists: the template's height is
    // that of the open list).
    void Place(QWidget* child, int x, int y, int cx, int cy, Keep keep = Keep::Apart);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }
    // A wrapping bar is as high as its rows at that width.
    bool hasHeightForWidth() const override { return narrow_ == Narrow::Wrap; }
    int heightForWidth(int width) const override;

    double UnitX() const { return unitX_; }
    double UnitY() const { return unitY_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Placed {
        QWidget* widget;
        QRect rect;  // in the template, pixels
        Keep keep;
    };
    // Where each placed control goes at a width (its template place on the
    // first row when everything fits); returns the number of rows.
    int Flow(int width, std::vector<QPoint>* at) const;

    int widthUnits_, heightUnits_;
    double unitX_, unitY_;
    Narrow narrow_;
    std::vector<Placed> placed_;
};

// The font of the bars and dialogs: the system's sans-serif face at 8 points.
QFont BarFont();

// Pixels per dialog unit of a font: a quarter of its average letter width
// across, an eighth of its height down.
QSizeF DialogUnit(const QFont& font);

// A size in dialog units of the bar font, in pixels.
QSize DialogSize(int widthUnits, int heightUnits);

}  // namespace korvel::ui
