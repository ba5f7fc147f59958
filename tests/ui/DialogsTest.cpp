// The About box, the notice and the message boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "model/OscState.h"
#include "app/ResetAll.h"
#include "ports/ui/QtDialogs.h"
#include "app/ui/AboutDlg.h"
#include "ports/ui/NoticeDlg.h"

namespace korvel::ui {
namespace {

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override { ResetAllRecords(); }
    void TearDown() override { ResetAllRecords(); }
};

// Runs check on the next modal window to open, then closes it with close.
template <typename Check>
void OnNextModal(Check check) {
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        check(modal);
    });
}

TEST_F(Dialogs, AboutInRussian) {
    OscState.Russian = 1;
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("О программе KORVEL"));
    EXPECT_EQ(about.Description()->text(), QString::fromUtf8("Цифровой Осциллограф"));
    EXPECT_EQ(about.Version()->text(), QString::fromUtf8("Версия 1.05 : "));
    EXPECT_EQ(about.findChild<QLabel*>("1027")->text(), "KORVEL VxD driver version  1.00");
    OscState.Russian = 0;
    EXPECT_EQ(CAboutDlg().Version()->text(), "Version 1.05 : ");
}

TEST_F(Dialogs, PortShowsTheNoticeAndMessages) {
    QtDialogs dialogs(nullptr);
    OscState.Russian = 1;
    bool seen = false;
    OnNextModal([&seen](QWidget* modal) {
        auto* notice = qobject_cast<CNoticeDlg*>(modal);
        ASSERT_NE(notice, nullptr);
        EXPECT_TRUE(notice->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(notice->Line1()->text(), "KORVEL");
        EXPECT_EQ(notice->Line2()->text(), QString::fromUtf8("Использую эмуляцию устройства"));
        EXPECT_TRUE(notice->OkButton()->isVisible());
        EXPECT_FALSE(notice->CancelButton()->isVisible());
        EXPECT_FALSE(notice->RestartButton()->isVisible());
        seen = true;
        notice->OkButton()->click();
    });
    dialogs.Notice("KORVEL", "Использую эмуляцию устройства");
    EXPECT_TRUE(seen);

    seen = false;
    OnNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromUtf8("Ошибка сохранения файла конфигурации"));
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Ошибка"));  // the default caption
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        seen = true;
        box->accept();
    });
    dialogs.Message("Ошибка сохранения файла конфигурации", nullptr);
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace korvel::ui
