#include "app/ui/AboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "ports/ui/ControlBar.h"
#include "ports/ui/UiText.h"

namespace korvel::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), description_(nullptr), version_(nullptr) {
    setObjectName("about");
    setFont(BarFont());
    setWindowTitle(UiText(TextId::AboutTitle));

    char version[64];
    std::snprintf(version, sizeof version, Text(TextId::AboutVersionFormat), 1, 5);

    auto* column = new QVBoxLayout(this);
    auto line = [this, column](const QString& text, const char* id) {
        auto* label = new QLabel(text, this);
        label->setObjectName(id);
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label);
        return label;
    };
    line(UiText(TextId::AboutProduct), "product");
    description_ = line(UiText(TextId::AboutDescription), "1038");
    version_ = line(QString::fromUtf8(version), "1026");
    line(UiText(TextId::AboutDriver), "1027");
    column->addStretch();

    auto* ok = new QPushButton(UiText(TextId::DialogOk), this);
    ok->setObjectName("1");
    ok->setDefault(true);
    column->addWidget(ok, 0, Qt::AlignHCenter);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // 212 x 106 dialog units of the 8-point font.
    resize(DialogSize(212, 106));
}

}  // namespace korvel::ui
