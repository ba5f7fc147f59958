#include "ports/ui/NoticeDlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ports/ui/ControlBar.h"
#include "ports/ui/UiText.h"

namespace korvel::ui {

CNoticeDlg::CNoticeDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      line1_(new QLabel(this)),
      line2_(new QLabel(this)),
      restart_(new QPushButton(UiText(TextId::NoticeRestartNow), this)),
      ok_(new QPushButton(UiText(TextId::DialogOk), this)),
      cancel_(new QPushButton(UiText(TextId::DialogCancel), this)) {
    setObjectName("notice");
    setFont(BarFont());
    // Without a frame the title is never shown, but it names the window for
    // the desktop's tools.
    setWindowTitle(UiText(TextId::AboutProduct));
    line1_->setObjectName("30001");
    line2_->setObjectName("30002");
    restart_->setObjectName("1025");
    ok_->setObjectName("1");
    cancel_->setObjectName("2");
    for (QLabel* line : {line1_, line2_})
        line->setAlignment(Qt::AlignCenter);
    ok_->setDefault(true);

    // A raised border stands in for the frame the box does not have.
    auto* border = new QFrame(this);
    border->setFrameShape(QFrame::Panel);
    border->setFrameShadow(QFrame::Raised);
    border->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(border);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {restart_, ok_, cancel_})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* column = new QVBoxLayout(border);
    column->addStretch();
    column->addWidget(line1_);
    column->addWidget(line2_);
    column->addStretch();
    column->addLayout(buttons);

    // 199 x 78 dialog units of the 8-point font.
    resize(DialogSize(199, 78));

    connect(restart_, &QPushButton::clicked, this, [this] { done(RestartNow); });
    connect(ok_, &QPushButton::clicked, this, [this] { done(Ok); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(Cancel); });
    SetRestartLayout(false);
}

void CNoticeDlg::SetLines(const QString& line1, const QString& line2) {
    line1_->setText(line1.left(50));
    line2_->setText(line2.left(30));
}

void CNoticeDlg::SetRestartLayout(bool restart) {
    restart_->setVisible(restart);
    cancel_->setVisible(restart);
    ok_->setVisible(!restart);
    (restart ? restart_ : ok_)->setDefault(true);
}

void CNoticeDlg::reject() {
    done(Cancel);
}

}  // namespace korvel::ui
