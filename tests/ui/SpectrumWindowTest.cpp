// The spectrum window opened from the real main window and driven through
// its widgets: buttons clicked, fields typed into, the plot clicked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "ports/ControlIds.h"
#include "model/OscState.h"
#include "app/ui/OscFrame.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ui/CSpectrum.h"
#include "spectrum/ui/SpectrumPlotWidget.h"
#include "ui/MainWindowTest.h"

namespace korvel::ui {
namespace {

class SpectrumWindowTest : public MainWindowTest {
  protected:
    void TearDown() override {
        delete SpectrumWnd;
        MainWindowTest::TearDown();
    }
    // The main window with a captured record (F5).
    void OpenMain() {
        Open();
        QTest::keyClick(frame.get(), Qt::Key_F5);
    }
    void PressF5() {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        QTest::keyClick(frame.get(), Qt::Key_F5);
    }
    // The main window's "Show spectrum" button, clicked.
    void ClickShowSpectrum() {
        QTest::mouseClick(MainWindowTest::Top<QPushButton>(top::ShowSpectrum), Qt::LeftButton);
    }
    CSpectrum* OpenSpectrum() {
        ClickShowSpectrum();
        if (SpectrumWnd == nullptr) return nullptr;
        SpectrumWnd->resize(640, 420);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(SpectrumWnd));
        return SpectrumWnd;
    }
    template <typename T>
    T* Top(int32_t id) const {
        return SpectrumWnd->findChild<T*>(QStringLiteral("spectrumTop%1").arg(id));
    }
    template <typename T>
    T* Bottom(int32_t id) const {
        return SpectrumWnd->findChild<T*>(QStringLiteral("spectrumBottom%1").arg(id));
    }
    void Click(int32_t topId) { QTest::mouseClick(Top<QPushButton>(topId), Qt::LeftButton); }
    // The tip that the control would show now, or "" for none.
    QString TipOf(QWidget* widget) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(SpectrumWindowTest, ShowSpectrumOpensOneWindowOverTheCanvas) {
    OpenMain();
    CSpectrum* window = OpenSpectrum();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Spectrum");
    EXPECT_TRUE(window->isVisible());
    // The canvas is the client area; the plot lies one border line below the
    // upper bar and above the lower one.
    EXPECT_EQ(SpectrumCanvas.Width(), window->width());
    EXPECT_EQ(SpectrumCanvas.Height(), window->height());
    EXPECT_EQ(window->Plot()->y(), SpectrumView.TopBarHeight);
    EXPECT_EQ(window->height() - window->Plot()->geometry().bottom() - 1,
              SpectrumView.BottomBarHeight);
    EXPECT_EQ(Bottom<QLineEdit>(spectrumBottom::Min)->text(), " 0.0");
    EXPECT_TRUE(Bottom<QLabel>(spectrumBottom::MaxFreq)->text().startsWith("(Max = "));
    // The widget shows its part of the canvas, pixel for pixel.
    const QImage canvas(reinterpret_cast<const uchar*>(SpectrumCanvas.Pixels()),
                        SpectrumCanvas.Width(), SpectrumCanvas.Height(), SpectrumCanvas.Width() * 4,
                        QImage::Format_RGB32);
    EXPECT_EQ(window->Plot()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              canvas.copy(window->Plot()->geometry()));

    ClickShowSpectrum();
    EXPECT_EQ(SpectrumWnd, window);  // raised, not made again
}

TEST_F(SpectrumWindowTest, RunStartsAndStopsWithClicksAndEndsWhenTheWindowCloses) {
    OpenMain();
    ASSERT_NE(OpenSpectrum(), nullptr);
    QTest::mouseClick(Top<QCheckBox>(spectrumTop::Accumulate), Qt::LeftButton);
    ASSERT_TRUE(Top<QCheckBox>(spectrumTop::Accumulate)->isChecked());
    EXPECT_EQ(TipOf(Top<QLabel>(spectrumTop::Counter)), "");

    Click(spectrumTop::Run);
    EXPECT_EQ(OscState.SpectrumRunning, 1);
    EXPECT_TRUE(frame->Timers().IsRunning(TimerId::SpectrumRun));
    EXPECT_EQ(frame->Timers().PeriodMs(TimerId::SpectrumRun), 500);
    EXPECT_EQ(TipOf(Top<QLabel>(spectrumTop::Counter)), "Nr of accumulated");
    const QImage before = SpectrumWnd->Plot()->grab().toImage();
    frame->Timers().Fire(TimerId::SpectrumRun);
    frame->Timers().Fire(TimerId::SpectrumRun);
    EXPECT_EQ(Top<QLabel>(spectrumTop::Counter)->text(), "Accumulated: 2");
    EXPECT_EQ(SpectrumData.AverageCount, 2);
    EXPECT_NE(SpectrumWnd->Plot()->grab().toImage(), before);
    // The main window's commands wait while the run captures.
    const float sample = OscState.Record[5];
    PressF5();
    EXPECT_EQ(OscState.Record[5], sample);

    Click(spectrumTop::Run);
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::SpectrumRun));
    EXPECT_EQ(Top<QLabel>(spectrumTop::Counter)->text(), "Accumulated: 2");

    Click(spectrumTop::Run);
    ASSERT_EQ(OscState.SpectrumRunning, 1);
    SpectrumWnd->close();
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return SpectrumWnd == nullptr; }));
    EXPECT_EQ(OscState.SpectrumRunning, 0);
    EXPECT_FALSE(frame->Timers().IsRunning(TimerId::SpectrumRun));
    // The main window works again, and opens a new spectrum window.
    PressF5();
    EXPECT_NE(OscState.Record[5], sample);
    ASSERT_NE(OpenSpectrum(), nullptr);
    EXPECT_EQ(Top<QLabel>(spectrumTop::Counter)->text(), "");
}

TEST_F(SpectrumWindowTest, ClicksAndADoubleClickChooseTheShownRange) {
    OpenMain();
    ASSERT_NE(OpenSpectrum(), nullptr);
    SpectrumPlotWidget* plot = SpectrumWnd->Plot();
    const int y = plot->height() / 2;
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, y));
    QTest::mouseMove(plot, QPoint(200, y));
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, QPoint(300, y));
    EXPECT_GT(SpectrumView.VisLowFrac, 0.0f);
    EXPECT_LT(SpectrumView.VisHighFrac, 1.0f);
    EXPECT_NE(Bottom<QLineEdit>(spectrumBottom::Min)->text(), " 0.0");
    // A double click widens the range around its centre.
    const float width = SpectrumView.VisHighFreq - SpectrumView.VisLowFreq;
    QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, QPoint(150, y));
    EXPECT_EQ(SpectrumView.Selecting, 0);
    EXPECT_GT(SpectrumView.VisHighFreq - SpectrumView.VisLowFreq, 1.5f * width);
}

}  // namespace
}  // namespace korvel::ui
