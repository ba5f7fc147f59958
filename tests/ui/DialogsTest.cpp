// The About box, the notice and the message boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/OscState.h"
#include "app/ResetAll.h"
#include "app/ui/QtDialogs.h"
#include "files/ui/AboutDlg.h"
#include "files/ui/NoticeDlg.h"

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

TEST_F(Dialogs, AboutInEnglish) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Korvel");
    EXPECT_EQ(about.findChild<QLabel*>("product")->text(), "KORVEL");
    EXPECT_EQ(about.Description()->text(), "Digital Oscillograph");
    EXPECT_EQ(about.Version()->text(), "Version 1.05 : ");
    EXPECT_EQ(about.findChild<QLabel*>("1027")->text(), "KORVEL VxD driver version  1.00");
    auto* ok = about.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(Dialogs, AboutInRussian) {
    OscState.Russian = 1;
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("О программе KORVEL"));
    EXPECT_EQ(about.Description()->text(), QString::fromUtf8("Цифровой Осциллограф"));
    EXPECT_EQ(about.Version()->text(), QString::fromUtf8("Версия 1.05 : "));
    EXPECT_EQ(about.findChild<QLabel*>("1027")->text(), "KORVEL VxD driver version  1.00");
}

TEST_F(Dialogs, NoticeShowsOkAlone) {
    CNoticeDlg notice;
    notice.SetLines("KORVEL", "Using simulation code");
    notice.show();
    EXPECT_TRUE(notice.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(notice.OkButton()->isVisible());
    EXPECT_FALSE(notice.RestartButton()->isVisible());
    EXPECT_FALSE(notice.CancelButton()->isVisible());
    EXPECT_EQ(notice.Line1()->text(), "KORVEL");
    EXPECT_EQ(notice.Line2()->text(), "Using simulation code");
    EXPECT_EQ(notice.Line1()->alignment(), Qt::AlignCenter);

    notice.SetRestartLayout(true);
    EXPECT_FALSE(notice.OkButton()->isVisible());
    EXPECT_TRUE(notice.RestartButton()->isVisible());
    EXPECT_TRUE(notice.CancelButton()->isVisible());
}

TEST_F(Dialogs, NoticeLinesAreCutToTheirSize) {
    CNoticeDlg notice;
    notice.SetLines(QString(60, 'a'), QString(40, 'b'));
    EXPECT_EQ(notice.Line1()->text(), QString(50, 'a'));
    EXPECT_EQ(notice.Line2()->text(), QString(30, 'b'));
}

TEST_F(Dialogs, NoticeResults) {
    CNoticeDlg notice;
    notice.SetRestartLayout(true);
    QTimer::singleShot(0, [&notice] { notice.RestartButton()->click(); });
    EXPECT_EQ(notice.exec(), CNoticeDlg::RestartNow);
    QTimer::singleShot(0, [&notice] { QTest::keyClick(&notice, Qt::Key_Escape); });
    EXPECT_EQ(notice.exec(), CNoticeDlg::Cancel);
    notice.SetRestartLayout(false);
    QTimer::singleShot(0, [&notice] { QTest::keyClick(&notice, Qt::Key_Return); });
    EXPECT_EQ(notice.exec(), CNoticeDlg::Ok);
}

TEST_F(Dialogs, PortShowsTheNoticeAndMessages) {
    QtDialogs dialogs(nullptr);
    OscState.Russian = 1;
    bool seen = false;
    OnNextModal([&seen](QWidget* modal) {
        auto* notice = qobject_cast<CNoticeDlg*>(modal);
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->Line2()->text(), QString::fromUtf8("Использую эмуляцию устройства"));
        EXPECT_TRUE(notice->OkButton()->isVisible());
        EXPECT_FALSE(notice->CancelButton()->isVisible());
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
