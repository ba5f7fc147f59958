// A horizontal slider with tick marks at chosen positions, not only at an
// even interval: the Settings dialog marks round times, which lie at uneven
// slider positions.
#pragma once

#include <QSlider>
#include <vector>

namespace korvel::ui {

class TickSlider : public QSlider {
    Q_OBJECT
  public:
    explicit TickSlider(QWidget* parent = nullptr);

    void ClearTicks();
    void AddTick(int position);
    const std::vector<int>& Ticks() const { return ticks_; }

    // The x of a slider position within the widget: where the handle's
    // middle stands at that position.
    int TickX(int position) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<int> ticks_;
};

}  // namespace korvel::ui
