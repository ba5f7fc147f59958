// An up-down control without a buddy field: two small arrow buttons, and the
// arrow keys while it has the focus. It proposes a change of its position and
// leaves the rest to its owner, as a control of the default range (from 100
// down to 0) does: the up arrow proposes -1, the down arrow +1.
#pragma once

#include <QWidget>

class QToolButton;

namespace korvel::ui {

class UpDownControl : public QWidget {
    Q_OBJECT
  public:
    explicit UpDownControl(QWidget* parent = nullptr);

    // The field beside the arrows: its Up and Down keys step it as the
    // arrows do.
    void TakeKeysOf(QWidget* field);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

  signals:
    void deltaProposed(int delta);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace korvel::ui
