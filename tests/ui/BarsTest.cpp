// The control bars of both windows: at their usual sizes every control where
// the bar's template puts it, in a small window every control on a further
// row of its bar, within the window and answering clicks there.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <QWindow>
#include <numeric>
#include <vector>

#include "app/BarTips.h"
#include "app/MainCommands.h"
#include "app/ui/OscFrame.h"
#include "display/ui/PlotWidget.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/ui/ControlBar.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ui/CSpectrum.h"
#include "spectrum/ui/SpectrumPlotWidget.h"
#include "support/CoreTest.h"

namespace korvel::ui {
namespace {

// "name x y width height" of every control of a bar, in the order they were made.
std::vector<std::string> Places(const QWidget* bar) {
    std::vector<std::string> out;
    for (const QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = w->geometry();
        out.push_back(QStringLiteral("%1 %2 %3 %4 %5")
                          .arg(w->objectName())
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height())
                          .toStdString());
    }
    return out;
}

// The controls of a bar that are meant to be seen (the progress bar stands in
// the External box's place only while a capture runs) lie within the window
// and do not cover one another.
void ExpectAllWithin(const QWidget* bar) {
    const QWidget* window = bar->window();
    std::vector<QRect> seen;
    for (const QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isHidden()) continue;
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_TRUE(window->rect().contains(r)) << w->objectName().toStdString();
        // The template itself lets the Width label reach 2 pixels into its field.
        for (const QRect& other : seen)
            EXPECT_LE((other & r).width(), 2) << w->objectName().toStdString();
        seen.push_back(r);
    }
}

class BarsTest : public test::CoreTest {
  protected:
    void TearDown() override {
        delete SpectrumWnd;
        frame.reset();
        CoreTest::TearDown();
    }
    void Open(int width, int height) {
        frame = std::make_unique<COscFrame>();
        Ports.dialogs = &ports.dialogs;
        SetMainWindowActive(true);
        frame->resize(width, height);
        frame->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->Plot()->isVisible(); }));
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    QWidget* Control(Bar bar, int32_t id) const {
        return frame->findChild<QWidget*>(
            QStringLiteral("%1%2").arg(bar == Bar::Top ? "top" : "bottom").arg(id));
    }
    // A left click where the window shows a point of a control.
    void ClickAt(QWidget* control, QPoint point) {
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {},
                          control->mapTo(frame.get(), point));
    }

    std::unique_ptr<COscFrame> frame;
};

// The places the bars have always had at the usual window sizes.
TEST_F(BarsTest, UsualSizesKeepTheTemplatePlaces) {
    Open(1024, 768);
    EXPECT_EQ(Places(frame->TopBar()),
              (std::vector<std::string>{
                  "top57601 7 5 33 26", "top57603 47 5 33 26", "top57604 88 5 33 26",
                  "top1020 131 7 86 22", "top1011 219 5 32 26", "top1007 254 11 72 16",
                  "top1023 254 11 88 11", "top1027 348 10 75 15", "top1010 425 8 42 23",
                  "top1021 467 8 12 23", "top1013 487 11 105 16", "top1032 599 7 70 23",
                  "topHz 670 10 18 13", "top1051 693 7 30 23"}));
    EXPECT_EQ(Places(frame->BottomBar()),
              (std::vector<std::string>{
                  "bottom1026 4 8 47 13", "bottom1000 53 3 84 23", "bottom1039 140 10 14 13",
                  "bottom1027 159 8 53 13", "bottom1006 210 3 84 23", "bottom1040 298 10 16 13",
                  "bottom1008 320 3 32 23", "bottom1038 361 7 81 15", "bottom1009 445 3 72 23",
                  "bottom1022 518 3 11 23", "bottom1043 539 3 53 23", "bottom1012 600 7 149 16"}));
    EXPECT_EQ(frame->TopBar()->geometry(), QRect(0, 0, 1024, 34));
    EXPECT_EQ(frame->Plot()->geometry(), QRect(0, 34, 1024, 686));
    EXPECT_EQ(frame->BottomBar()->geometry(), QRect(0, 720, 1024, 29));

    ASSERT_TRUE(ShowSpectrumWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(SpectrumWnd));
    const std::vector<std::string> top{
        "spectrumTop1011 5 3 32 24", "spectrumTop1008 49 3 32 24", "spectrumTop1007 98 5 154 16",
        "spectrumTop1026 261 7 207 13", "spectrumTop1043 532 3 32 24"};
    const std::vector<std::string> bottom{
        "spectrumBottom1027 7 5 53 13",   "spectrumBottom1000 63 3 95 20",   " 163 5 25 13",
        "spectrumBottom1038 196 5 46 13", "spectrumBottom1006 247 3 105 20", " 355 5 25 13",
        "spectrumBottom1026 390 5 156 13"};
    EXPECT_EQ(SpectrumWnd->size(), QSize(800, 500));
    EXPECT_EQ(Places(SpectrumWnd->TopBar()), top);
    EXPECT_EQ(Places(SpectrumWnd->BottomBar()), bottom);
    EXPECT_EQ(SpectrumWnd->TopBar()->height(), 31);
    EXPECT_EQ(SpectrumWnd->BottomBar()->geometry(), QRect(0, 477, 800, 23));
    SpectrumWnd->resize(1024, 768);
    EXPECT_TRUE(QTest::qWaitFor([] { return SpectrumWnd->TopBar()->width() == 1024; }));
    EXPECT_EQ(Places(SpectrumWnd->TopBar()), top);
    EXPECT_EQ(Places(SpectrumWnd->BottomBar()), bottom);
}

// At 500 x 350 each bar takes a second row: the controls that no longer fit
// begin it at the bar's left margin, a field with its label, unit and arrows.
TEST_F(BarsTest, ASmallWindowWrapsTheBarsAndEveryControlStaysInReach) {
    Open(500, 350);
    ASSERT_EQ(frame->size(), QSize(500, 350));
    ExpectAllWithin(frame->TopBar());
    ExpectAllWithin(frame->BottomBar());
    EXPECT_EQ(frame->TopBar()->height(), 68);
    EXPECT_EQ(frame->BottomBar()->height(), 58);
    EXPECT_EQ(Control(Bar::Top, top::FrequencyList)->pos(), QPoint(131, 7));  // first row kept
    EXPECT_EQ(Control(Bar::Top, top::AccumulatorSpin)->pos(), QPoint(467, 8));
    EXPECT_EQ(Control(Bar::Top, top::Oscillograf)->pos(), QPoint(7, 45));
    EXPECT_EQ(Control(Bar::Top, top::OscFreq)->pos(), QPoint(119, 41));
    EXPECT_EQ(frame->TopBar()->findChild<QWidget*>("topHz")->pos(), QPoint(190, 44));
    EXPECT_EQ(Control(Bar::Top, top::ShowSpectrum)->pos(), QPoint(213, 41));
    EXPECT_EQ(Control(Bar::Bottom, bottom::CopyPlot)->pos(), QPoint(320, 3));
    EXPECT_EQ(Control(Bar::Bottom, bottom::AverageLabel)->pos(), QPoint(4, 36));
    EXPECT_EQ(Control(Bar::Bottom, bottom::Average)->pos(), QPoint(88, 32));
    EXPECT_EQ(Control(Bar::Bottom, bottom::AverageSpin)->pos(), QPoint(161, 32));
    EXPECT_EQ(Control(Bar::Bottom, bottom::SetZero)->pos(), QPoint(182, 32));
    EXPECT_EQ(Control(Bar::Bottom, bottom::FollowMode)->pos(), QPoint(243, 36));
    // The plot fills what the bars leave.
    const QWidget* client = frame->centralWidget();
    EXPECT_EQ(frame->Plot()->geometry(), QRect(0, 68, 500, client->height() - 68 - 58));
    EXPECT_EQ(frame->BottomBar()->y(), client->height() - 58);

    // Clicks where the window shows the wrapped controls reach them.
    QTest::keyClick(frame.get(), Qt::Key_F5);
    auto* follow = static_cast<QCheckBox*>(Control(Bar::Bottom, bottom::FollowMode));
    ClickAt(follow, QPoint(6, follow->height() / 2));
    EXPECT_TRUE(follow->isChecked());
    EXPECT_EQ(OscSettings.Follow_Mode, 1);
    QWidget* setZero = Control(Bar::Bottom, bottom::SetZero);
    ClickAt(setZero, setZero->rect().center());
    const int32_t n = OscSettings.Num_Data;
    ASSERT_GT(n, 0);
    EXPECT_FLOAT_EQ(
        OscSettings.ZeroLevel,
        static_cast<float>(std::accumulate(OscState.Record, OscState.Record + n, 0.0) / n));
    QWidget* show = Control(Bar::Top, top::ShowSpectrum);
    ClickAt(show, show->rect().center());
    ASSERT_TRUE(SpectrumWnd != nullptr && QTest::qWaitForWindowExposed(SpectrumWnd));

    // The spectrum window likewise; its picture starts under the taller bar.
    SpectrumWnd->resize(500, 350);
    EXPECT_TRUE(QTest::qWaitFor([] { return SpectrumWnd->TopBar()->width() == 500; }));
    ExpectAllWithin(SpectrumWnd->TopBar());
    ExpectAllWithin(SpectrumWnd->BottomBar());
    EXPECT_EQ(SpectrumWnd->TopBar()->height(), 62);
    EXPECT_EQ(SpectrumWnd->BottomBar()->height(), 46);
    EXPECT_EQ(SpectrumWnd->findChild<QWidget*>("spectrumTop1043")->pos(), QPoint(5, 34));
    EXPECT_EQ(SpectrumWnd->findChild<QWidget*>("spectrumBottom1026")->pos(), QPoint(7, 28));
    EXPECT_EQ(SpectrumWnd->Plot()->geometry(), QRect(0, 63, 500, 350 - 62 - 46 - 2));
    EXPECT_EQ(SpectrumView.TopBarHeight, 63);  // each bar and its border line
    EXPECT_EQ(SpectrumView.BottomBarHeight, 47);
}

}  // namespace
}  // namespace korvel::ui
