// The Device dialog: the simulated card or an instrument as the source of
// records. It scans on a thread of its own (a scan can take seconds), showing
// that it does, and lists "Simulated card" first, then every device found;
// for an instrument the user picks one analog channel and a sample rate from
// the device's own lists. OK makes the choice the source and keeps it for the
// next run (SelectSource).
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "ports/Instrument.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QThread;

namespace korvel::ui {

class CDeviceDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CDeviceDlg(QWidget* parent = nullptr);
    ~CDeviceDlg() override;

    // Looks for devices with the driver and connection typed (none typed:
    // the drivers that need no connection). The list fills when it is done.
    void Scan();
    bool Scanning() const { return scan_ != nullptr; }
    // The choice the dialog's controls make now.
    InstrumentChoice Choice() const;

  protected:
    void accept() override;

  private:
    void ScanDone();
    void SourceChosen();

    QListWidget* sources_;
    QLineEdit* driver_;
    QLineEdit* connection_;
    QPushButton* scanButton_;
    QLabel* status_;
    QComboBox* channel_;
    QComboBox* rate_;
    QPushButton* ok_;
    QThread* scan_ = nullptr;
    std::vector<InstrumentDevice> devices_;
    std::vector<InstrumentDevice> found_;  // written by the scan's thread until it ends
    std::string error_;
};

}  // namespace korvel::ui
