#include "app/ui/DeviceDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "acquisition/Source.h"
#include "app/SourceCommands.h"
#include "model/Texts.h"
#include "ports/Ports.h"
#include "ports/ui/UiText.h"

namespace korvel::ui {

CDeviceDlg::CDeviceDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("deviceDialog");
    setWindowTitle(UiText(TextId::DeviceTitle));
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(UiText(TextId::DeviceSources), this));
    sources_ = new QListWidget(this);
    sources_->setObjectName("sources");
    column->addWidget(sources_, 1);

    auto* form = new QFormLayout;
    driver_ = new QLineEdit(this);
    driver_->setObjectName("driver");
    driver_->setPlaceholderText("demo, rigol-ds, siglent-sds, hantek-6xxx...");
    connection_ = new QLineEdit(this);
    connection_->setObjectName("connection");
    connection_->setPlaceholderText(UiText(TextId::DeviceConnectionHint));
    scanButton_ = new QPushButton(UiText(TextId::DeviceScan), this);
    scanButton_->setObjectName("scan");
    status_ = new QLabel(this);
    status_->setObjectName("status");
    channel_ = new QComboBox(this);
    channel_->setObjectName("channel");
    rate_ = new QComboBox(this);
    rate_->setObjectName("rate");
    form->addRow(UiText(TextId::DeviceDriver), driver_);
    form->addRow(UiText(TextId::DeviceConnection), connection_);
    form->addRow(scanButton_, status_);
    form->addRow(UiText(TextId::DeviceChannel), channel_);
    form->addRow(UiText(TextId::DeviceRate), rate_);
    column->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(scanButton_, &QPushButton::clicked, this, [this] { Scan(); });
    connect(sources_, &QListWidget::currentRowChanged, this, [this] { SourceChosen(); });

    // The source in use stands in the list until the scan has found the rest.
    sources_->addItem(UiText(TextId::SourceSimulated));
    if (InstrumentInUse()) {
        devices_.push_back(Source.device);
        sources_->addItem(QString::fromStdString(DeviceEntryText(Source.device)));
        driver_->setText(QString::fromStdString(Source.choice.driver));
        connection_->setText(QString::fromStdString(Source.choice.connection));
    }
    sources_->setCurrentRow(InstrumentInUse() ? 1 : 0);
    resize(520, 420);
    Scan();
}

CDeviceDlg::~CDeviceDlg() {
    // A scan cannot be stopped half way; the dialog waits for it.
    if (scan_ != nullptr) {
        scan_->wait();
        delete scan_;
    }
}

void CDeviceDlg::Scan() {
    if (scan_ != nullptr) return;
    scanButton_->setEnabled(false);
    ok_->setEnabled(false);
    status_->setText(UiText(TextId::DeviceScanning));
    found_.clear();
    error_.clear();
    const std::string driver = driver_->text().trimmed().toStdString();
    const std::string connection = connection_->text().trimmed().toStdString();
    scan_ = QThread::create([this, driver, connection] {
        found_ = Ports.instrument->Scan(driver, connection, error_);
    });
    connect(scan_, &QThread::finished, this, [this] { ScanDone(); });
    scan_->start();
}

void CDeviceDlg::ScanDone() {
    scan_->wait();
    delete scan_;
    scan_ = nullptr;
    const InstrumentChoice chosen = Choice();
    devices_ = found_;
    sources_->blockSignals(true);
    sources_->clear();
    sources_->addItem(UiText(TextId::SourceSimulated));
    int row = 0;
    for (size_t k = 0; k < devices_.size(); ++k) {
        sources_->addItem(QString::fromStdString(DeviceEntryText(devices_[k])));
        if (devices_[k].driver == chosen.driver) row = static_cast<int>(k) + 1;
    }
    sources_->blockSignals(false);
    sources_->setCurrentRow(row);
    SourceChosen();
    if (devices_.empty() && !error_.empty()) {
        status_->setText(
            UiText(TextId::DeviceScanFailed).replace("%s", QString::fromStdString(error_)));
    } else {
        status_->setText(
            UiText(TextId::DeviceFoundFormat).replace("%d", QString::number(devices_.size())));
    }
    scanButton_->setEnabled(true);
    ok_->setEnabled(true);
}

void CDeviceDlg::SourceChosen() {
    const int row = sources_->currentRow();
    channel_->clear();
    rate_->clear();
    const bool instrument = row >= 1 && static_cast<size_t>(row) <= devices_.size();
    channel_->setEnabled(instrument);
    rate_->setEnabled(instrument);
    if (!instrument) return;
    const InstrumentDevice& device = devices_[static_cast<size_t>(row - 1)];
    for (const std::string& name : device.channels)
        channel_->addItem(QString::fromStdString(name));
    const bool inUse = device.driver == Source.choice.driver;
    if (inUse) channel_->setCurrentText(QString::fromStdString(Source.choice.channel));
    const uint64_t current = inUse ? Source.choice.sampleRateHz : device.sampleRateHz;
    // First the rate the device is set to already, whatever it is.
    rate_->addItem(UiText(TextId::DeviceRateOwn), QVariant::fromValue<qulonglong>(0));
    for (const uint64_t hz : device.sampleRatesHz) {
        rate_->addItem(QString::fromStdString(RateText(hz)), QVariant::fromValue<qulonglong>(hz));
        if (hz == current) rate_->setCurrentIndex(rate_->count() - 1);
    }
}

InstrumentChoice CDeviceDlg::Choice() const {
    const int row = sources_->currentRow();
    if (row < 1 || static_cast<size_t>(row) > devices_.size()) return {};
    const InstrumentDevice& device = devices_[static_cast<size_t>(row - 1)];
    InstrumentChoice choice;
    choice.driver = device.driver;
    choice.connection =
        device.connection.empty() ? connection_->text().trimmed().toStdString() : device.connection;
    choice.channel = channel_->currentText().toStdString();
    choice.sampleRateHz = rate_->currentData().toULongLong();
    return choice;
}

void CDeviceDlg::accept() {
    if (scan_ != nullptr) return;
    SelectSource(Choice(), true);
    QDialog::accept();
}

}  // namespace korvel::ui
