// The real main window, driven through its widgets as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <clocale>
#include <cstdio>
#include <filesystem>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/ui/Application.h"
#include "ports/ui/ControlBar.h"
#include "app/ui/OscFrame.h"
#include "ports/ui/UpDownControl.h"
#include "display/ui/PlotWidget.h"
#include "files/ConfigFile.h"
#include "ui/MainWindowTest.h"

namespace korvel::ui {
namespace {

class OscFrameTest : public MainWindowTest {
  protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame.get(), key, modifiers);
    }
    void TypeInto(QLineEdit* field, const char* text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    QImage PlotImage() const { return frame->Plot()->grab().toImage(); }
};

TEST_F(OscFrameTest, NoticeOnceAndF5CapturesIntoThePlot) {
    Open();
    EXPECT_EQ(frame->TopBar()->geometry().bottom() + 1, frame->Plot()->geometry().top());
    EXPECT_EQ(frame->Plot()->geometry().bottom() + 1, frame->BottomBar()->geometry().top());
    // The progress bar takes the place of the "External" box.
    EXPECT_EQ(Top<QProgressBar>(top::Progress)->pos(), Top<QCheckBox>(top::External)->pos());
    EXPECT_EQ(Top<QComboBox>(top::FrequencyList)->maxVisibleItems(), 8);
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    const QImage before = PlotImage();
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"KORVEL/Using simulation code"});
    Key(Qt::Key_F5);
    EXPECT_LE(OscState.AccBuffer[0], -10.0f);
    EXPECT_GE(OscState.AccBuffer[900], 100.0f);
    EXPECT_NE(PlotImage(), before);
    frame->resize(900, 650);
    frame->Plot()->repaint();
    EXPECT_EQ(dialogs.notices.size(), 1u);
}

TEST_F(OscFrameTest, F6WithFiveRecordsCompletesAtTheFifthTick) {
    Open();
    TypeInto(Top<QLineEdit>(top::Accumulator), "5");
    Key(Qt::Key_F6);
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::ExtTrigger), 100);
    EXPECT_TRUE(Top<QProgressBar>(top::Progress)->isVisible());
    const QImage before = PlotImage();
    for (int tick = 1; tick <= 4; ++tick)
        frame->Timers().Fire(TimerId::ExtTrigger);
    EXPECT_EQ(OscState.ExtArmed, 1);
    EXPECT_EQ(Top<QProgressBar>(top::Progress)->value(), 3);
    frame->Timers().Fire(TimerId::ExtTrigger);
    EXPECT_EQ(OscState.ExtArmed, 0);
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::ExtTrigger));
    EXPECT_EQ(Top<QLineEdit>(top::Accumulator)->text(), "5");
    EXPECT_TRUE(Top<QCheckBox>(top::External)->isVisible());
    EXPECT_NE(PlotImage(), before);
}

TEST_F(OscFrameTest, AverageOverByTypingAndByArrows) {
    Open();
    Key(Qt::Key_F5);
    const float averagedOverThree = OscState.Record[10];
    auto* average = Bottom<QLineEdit>(bottom::Average);
    TypeInto(average, "12abc");
    EXPECT_EQ(OscSettings.Av_Over, 12);
    EXPECT_NE(OscState.Record[10], averagedOverThree);

    auto* spin = Bottom<UpDownControl>(bottom::AverageSpin);
    TypeInto(average, "1");
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(average->text(), "1");
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ(average->text(), "2");
    EXPECT_EQ(OscSettings.Av_Over, 2);
    // Smoothing over two samples: each value is the mean of its pair of codes.
    EXPECT_FLOAT_EQ(OscState.Record[10],
                    7.8125f * (OscState.AccBuffer[9] + OscState.AccBuffer[10]) / 2);

    auto* accumulatorSpin = Top<UpDownControl>(top::AccumulatorSpin);
    QTest::mouseClick(accumulatorSpin->UpButton(), Qt::LeftButton);
    accumulatorSpin->setFocus();
    QTest::keyClick(accumulatorSpin, Qt::Key_Up);
    EXPECT_EQ(Top<QLineEdit>(top::Accumulator)->text(), "3");
}

TEST_F(OscFrameTest, OscillographRefusesTheFrequencyListAndStopsWhenCleared) {
    Open();
    auto* oscillograf = Top<QCheckBox>(top::Oscillograf);
    QTest::mouseClick(oscillograf, Qt::LeftButton);
    EXPECT_FALSE(Top<QPushButton>(top::ShowSpectrum)->isVisible());
    Key(Qt::Key_F5);
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::Oscillograph), 500);

    auto* frequencies = Top<QComboBox>(top::FrequencyList);
    frequencies->setFocus();
    QTest::keyClick(frequencies, Qt::Key_Down);
    EXPECT_EQ(frequencies->currentIndex(), 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);

    QTest::mouseClick(oscillograf, Qt::LeftButton);
    EXPECT_EQ(OscState.OscRunning, 0);
    EXPECT_FALSE(oscillograf->isChecked());
    EXPECT_EQ(OscSettings.Osc_Mode, 0);
    EXPECT_TRUE(Top<QPushButton>(top::ShowSpectrum)->isVisible());
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::Oscillograph));
    QTest::keyClick(frequencies, Qt::Key_Down);
    EXPECT_EQ(OscState.SamplePeriod, 0.025f);
    EXPECT_EQ(Bottom<QLineEdit>(bottom::Min)->text(), "0.000000");
}

TEST_F(OscFrameTest, HelpAndExit) {
    OscSettings.AutoConf = 1;
    Open();
    QUrl opened;
    frame->SetHelpOpener([&opened](const QUrl& url) { return opened = url, true; });
    Key(Qt::Key_F1);
    EXPECT_TRUE(opened.toLocalFile().endsWith("docs/index.html"));
    frame->SetHelpOpener([](const QUrl&) { return false; });
    Key(Qt::Key_F1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("index.html"), std::string::npos);

    TypeInto(Bottom<QLineEdit>(bottom::Average), "7");
    Key(Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(frame->isVisible());
    OscSettings.Av_Over = 3;
    LoadConfig();
    EXPECT_EQ(OscSettings.Av_Over, 7);
}

TEST_F(OscFrameTest, RussianMenuBarsTipsAndTitle) {
    OscState.Russian = 1;
    Open();
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("KORVEL Цифровой Осциллограф. Версия 1.05"));
    QStringList menu;
    for (QAction* action : frame->menuBar()->actions()) {
        menu << (action->isSeparator() ? QStringLiteral("|") : action->text());
        if (action->menu() != nullptr)
            for (QAction* item : action->menu()->actions())
                menu << " " + item->text();
    }
    EXPECT_EQ(menu.join(";"),
              QString::fromUtf8("&Файл; &Открыть \tF3; &Сохранить \tF4; "
                                "Сохр о&кно\t F2; ; &Выход \tAlt+X;|;&Установки;|;"
                                "&Действия; &Ручной запуск \t(F5); &Внешний "
                                "запуск \t(F6);|;&Помощь; &Помощь\tF1; &О программе..."));
    EXPECT_EQ(Top<QCheckBox>(top::External)->text(), QString::fromUtf8("Внешний"));
    EXPECT_EQ(Top<QLabel>(top::AccumulatorLabel)->text(), QString::fromUtf8("Накоплений"));
    EXPECT_EQ(Top<QCheckBox>(top::Oscillograf)->text(), QString::fromUtf8("Осциллограф"));
    EXPECT_EQ(Bottom<QLabel>(bottom::MinLabel)->text(), QString::fromUtf8("Начало"));
    EXPECT_EQ(Bottom<QLabel>(bottom::WidthLabel)->text(), QString::fromUtf8("Ширина"));
    EXPECT_EQ(Bottom<QLabel>(bottom::AverageLabel)->text(), QString::fromUtf8("Усреднять по"));
    EXPECT_EQ(Bottom<QPushButton>(bottom::SetZero)->text(), QString::fromUtf8("Уст 0"));
    EXPECT_EQ(Bottom<QCheckBox>(bottom::FollowMode)->text(), QString::fromUtf8("Следящий режим"));
    EXPECT_EQ(Top<QWidget>(1027)->toolTip(), QString::fromUtf8("Задать число накоплений"));
    EXPECT_EQ(Bottom<QWidget>(1027)->toolTip(), QString::fromUtf8("Ширина окна"));
}

// Under a Russian locale the C library writes "12,5"; the program's numbers
// keep their decimal point.
TEST_F(OscFrameTest, RussianLocaleKeepsTheDecimalPoint) {
    const std::string locales = dir + "/locales";
    const std::string make =
        "localedef -i ru_RU -f UTF-8 '" + locales + "/ru_RU.UTF-8' 2>/dev/null";
    std::filesystem::create_directories(locales);
    if (std::system(make.c_str()) != 0) GTEST_SKIP() << "no localedef here";
    setenv("LOCPATH", locales.c_str(), 1);
    const bool active = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    char text[16];
    std::snprintf(text, sizeof text, "%g", 12.5);
    const std::string inLocale = text;
    PrepareApplication();  // what the program does after making its application
    Open();
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    ASSERT_TRUE(active);
    EXPECT_EQ(inLocale, "12,5");
    EXPECT_EQ(Bottom<QLineEdit>(bottom::Width)->text(), "12.5");
}

}  // namespace
}  // namespace korvel::ui
