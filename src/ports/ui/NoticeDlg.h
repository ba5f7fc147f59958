// The notice: a small frameless box with two centred lines. The main window
// uses it once, to say that the simulated source delivers the data.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvel::ui {

class CNoticeDlg : public QDialog {
    Q_OBJECT
  public:
    // What exec() returns for each button.
    enum Result { Ok = 1, Cancel = 2, RestartNow = 1025 };

    explicit CNoticeDlg(QWidget* parent = nullptr);

    // Line 1 holds at most 50 characters, line 2 at most 30; longer lines are cut.
    void SetLines(const QString& line1, const QString& line2);
    // With the restart layout: "Restart now" and "Cancel"; without: "OK" alone.
    void SetRestartLayout(bool restart);

    QLabel* Line1() const { return line1_; }
    QLabel* Line2() const { return line2_; }
    QPushButton* RestartButton() const { return restart_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void reject() override;

  private:
    QLabel* line1_;
    QLabel* line2_;
    QPushButton* restart_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace korvel::ui
