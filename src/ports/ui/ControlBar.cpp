#include "ports/ui/ControlBar.h"

#include <QApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace korvel::ui {

QFont BarFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

QSizeF DialogUnit(const QFont& font) {
    const QFontMetricsF metrics(font);
    // The average over the 52 letters, as dialog units have always been measured.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth = std::round(metrics.horizontalAdvance(letters) / letters.size());
    return QSizeF(averageWidth / 4.0, std::round(metrics.height()) / 8.0);
}

QSize DialogSize(int widthUnits, int heightUnits) {
    const QSizeF unit = DialogUnit(BarFont());
    return QSize(static_cast<int>(std::lround(widthUnits * unit.width())),
                 static_cast<int>(std::lround(heightUnits * unit.height())));
}

ControlBar::ControlBar(int widthUnits, int heightUnits, QWidget* parent, Narrow narrow)
    : QWidget(parent), widthUnits_(widthUnits), heightUnits_(heightUnits), narrow_(narrow) {
    setFont(BarFont());
    const QSizeF unit = DialogUnit(font());
    unitX_ = unit.width();
    unitY_ = unit.height();
    if (narrow_ == Narrow::Clip) {
        setFixedHeight(static_cast<int>(std::lround(heightUnits_ * unitY_)));
    } else {
        // As high as its rows: the layout asks heightForWidth and gives the
        // rest of the window to the plot, which alone stretches. A fixed
        // policy would hold the bar to the one row of its size hint.
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
}

void ControlBar::Place(QWidget* child, int x, int y, int cx, int cy, Keep keep) {
    const int height =
        cy > 0 ? static_cast<int>(std::lround(cy * unitY_)) : child->sizeHint().height();
    const QRect rect(static_cast<int>(std::lround(x * unitX_)),
                     static_cast<int>(std::lround(y * unitY_)),
                     static_cast<int>(std::lround(cx * unitX_)), height);
    placed_.push_back({child, rect, keep});
    std::vector<QPoint> at;
    Flow(width(), &at);
    child->setGeometry(QRect(at.back(), rect.size()));
    updateGeometry();
}

// Each control that may stand apart opens a group with the ones kept with
// it. Groups stay on the row of the one before while their right edge fits;
// the first that does not begins a new row at the template's left margin,
// and those after it keep their template distances from it. A bar wide
// enough for its template therefore shows exactly the template.
int ControlBar::Flow(int width, std::vector<QPoint>* at) const {
    if (at != nullptr) at->assign(placed_.size(), QPoint());
    if (placed_.empty()) return 1;
    const int rowHeight = sizeHint().height();
    const int margin = placed_.front().rect.left();
    int row = 0;
    int shift = 0;
    for (size_t first = 0, end = 0; first < placed_.size(); first = end) {
        int left = placed_[first].rect.left();
        int right = placed_[first].rect.x() + placed_[first].rect.width();
        for (end = first + 1; end < placed_.size() && placed_[end].keep == Keep::WithPrevious;
             ++end) {
            left = std::min(left, placed_[end].rect.left());
            right = std::max(right, placed_[end].rect.x() + placed_[end].rect.width());
        }
        if (narrow_ == Narrow::Wrap && right + shift > width && left + shift > margin) {
            ++row;
            shift = margin - left;
        }
        for (size_t k = first; at != nullptr && k < end; ++k)
            (*at)[k] = placed_[k].rect.topLeft() + QPoint(shift, row * rowHeight);
    }
    return row + 1;
}

int ControlBar::heightForWidth(int width) const {
    return Flow(width, nullptr) * sizeHint().height();
}

void ControlBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    std::vector<QPoint> at;
    Flow(width(), &at);
    for (size_t k = 0; k < placed_.size(); ++k)
        placed_[k].widget->move(at[k]);
}

QSize ControlBar::sizeHint() const {
    return QSize(static_cast<int>(std::lround(widthUnits_ * unitX_)),
                 static_cast<int>(std::lround(heightUnits_ * unitY_)));
}

}  // namespace korvel::ui
