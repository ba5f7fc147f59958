// The About box of the Help menu.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvel::ui {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* Description() const { return description_; }
    QLabel* Version() const { return version_; }

  private:
    QLabel* description_;
    QLabel* version_;
};

}  // namespace korvel::ui
