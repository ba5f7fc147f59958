// The plot inside the real main window under real mouse events, delivered
// through the window as the platform delivers them: cursors, zoom, pan,
// reference, pointer shapes, the Min/Width fields and the copy button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <string>
#include <utility>

#include "ports/ControlIds.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/ui/OscFrame.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotState.h"
#include "display/ui/PlotWidget.h"
#include "ui/MainWindowTest.h"

namespace korvel::ui {
namespace {

// The main window with a record of the square wave (F5).
class PlotMouse : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->Plot()->isVisible(); }));
        QTest::keyClick(frame.get(), Qt::Key_F5);
        plot_ = frame->Plot();
        handle_ = frame->windowHandle();
    }
    // Window coordinates of a pixel of the plot.
    QPoint At(int32_t x, int32_t y) const { return plot_->mapTo(frame.get(), QPoint(x, y)); }
    void Move(int32_t x, int32_t y) { QTest::mouseMove(handle_, At(x, y)); }
    QImage Shown() const { return plot_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static std::pair<int32_t, int32_t> Stored() { return {OscSettings.Data_S, OscSettings.Data_E}; }
    QLineEdit* Field(int32_t id) const { return Bottom<QLineEdit>(id); }

    PlotWidget* plot_ = nullptr;
    QWindow* handle_ = nullptr;
};

TEST_F(PlotMouse, ClickMoveClickZoomsAndDoubleClickZoomsOut) {
    ASSERT_EQ(Stored(), (std::pair{0, 999}));
    const PlotArea before = SubWindowArea;
    const int32_t x1 = before.axisX + 260;
    const int32_t x2 = before.axisX + 460;
    QTest::mouseClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    Move(x2 - 50, before.top + 100);
    Move(x2, before.top + 200);
    QTest::mouseClick(handle_, Qt::LeftButton, {}, At(x2, before.top + 200));
    EXPECT_EQ(Stored(), (std::pair{IndexAt(before, x1), IndexAt(before, x2)}));
    EXPECT_NE(OscState.ViewMax, OscSettings.D_max);
    EXPECT_FLOAT_EQ(Field(bottom::Min)->text().toFloat(),
                    OscSettings.Data_S * OscState.SamplePeriod);

    // The first double click undoes the vertical zoom, the second doubles the span.
    const std::pair<int32_t, int32_t> zoomed = Stored();
    QTest::mouseDClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    EXPECT_EQ(Stored(), zoomed);
    EXPECT_EQ(OscState.ViewMax, OscSettings.D_max);
    QTest::mouseDClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    const int32_t length = zoomed.second - zoomed.first;
    const int32_t middle = (zoomed.first + zoomed.second) / 2;
    EXPECT_EQ(Stored(), (std::pair{middle - length, middle + length}));

    // Typing into the fields moves the plot at every keystroke.
    QLineEdit* min = Field(bottom::Min);
    min->setFocus();
    min->selectAll();
    QTest::keyClicks(min, "10");
    EXPECT_EQ(OscSettings.Data_S, 799);
}

TEST_F(PlotMouse, DragsPanAndMoveTheMarkerUnderTheirPointers) {
    SetSubWindow(5000, 6000);
    const PlotArea a = SubWindowArea;
    const int32_t y = a.top + 100;
    QTest::mousePress(handle_, Qt::LeftButton, {}, At(a.axisX + 200, y));
    Move(a.axisX + 230, y);
    EXPECT_EQ(plot_->cursor().shape(), Qt::BitmapCursor);  // the closed hand
    Move(a.axisX + 250, y);
    QTest::mouseRelease(handle_, Qt::LeftButton, {}, At(a.axisX + 250, y));
    const int32_t shift = 30 * 1000 / a.width + 20 * 1000 / a.width;
    EXPECT_EQ(Stored(), (std::pair{5000 - shift, 6000 - shift}));
    Move(a.axisX + 260, y);
    EXPECT_EQ(plot_->cursor().shape(), Qt::ArrowCursor);

    // With Shift held the same drag draws the zoom band instead.
    QTest::mousePress(handle_, Qt::LeftButton, {}, At(a.axisX + 200, y));
    QTest::mouseEvent(QTest::MouseMove, handle_, Qt::NoButton, Qt::ShiftModifier,
                      At(a.axisX + 300, y + 50));
    EXPECT_EQ(PlotState.BandShown, 1);
    EXPECT_EQ(Stored(), (std::pair{5000 - shift, 6000 - shift}));
    QTest::mouseRelease(handle_, Qt::LeftButton, {}, At(a.axisX + 300, y + 50));
    QTest::mouseClick(handle_, Qt::RightButton, {}, At(a.axisX + 300, y + 50));

    // The marker's right edge, grabbed and dragged on the overview.
    const int32_t edge = PlotState.MarkerX2;
    const int32_t oy = OverviewArea.top + 10;
    Move(edge + 1, oy);
    EXPECT_EQ(plot_->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(handle_, Qt::LeftButton, {}, At(edge + 1, oy));
    Move(edge + 60, oy);
    QTest::mouseRelease(handle_, Qt::LeftButton, {}, At(edge + 60, oy));
    EXPECT_EQ(OscSettings.Data_E, IndexAt(OverviewArea, edge + 60));
}

TEST_F(PlotMouse, CrosshairAndReferenceReachTheScreenAndTheCopy) {
    const PlotArea& a = SubWindowArea;
    const QPoint at(a.axisX + 150, a.top + 80);
    Move(at.x(), at.y());
    EXPECT_EQ(Shown().pixel(at.x(), a.top - 1) & 0xFFFFFF, Rgb(0, 255, 0));
    // The press comes with a move to its place: the crosshair lies on the cross.
    QTest::mouseClick(handle_, Qt::RightButton, {}, At(at.x(), at.y()));
    ASSERT_EQ(PlotState.RefShown, 1);
    EXPECT_EQ(Shown().pixel(a.axisX + 2, at.y()) & 0xFFFFFF, 0x9BC89Bu);
    Move(at.x() + 40, at.y() + 30);
    EXPECT_EQ(Shown().pixel(a.axisX + 2, at.y()) & 0xFFFFFF, Rgb(100, 200, 100));
    EXPECT_EQ(PlotState.DeltaShown, 1);

    // The copy button puts the inside of the plot's frame on the clipboard.
    QTest::mouseClick(Bottom<QPushButton>(bottom::CopyPlot), Qt::LeftButton);
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    const Rect& s = PlotState.SubWindowRect;
    EXPECT_EQ(copied,
              Shown().copy(s.left + 1, s.top + 1, s.right - s.left - 3, s.bottom - s.top - 3));

    QTest::mouseDClick(handle_, Qt::RightButton, {}, At(at.x(), at.y()));
    EXPECT_EQ(PlotState.RefShown, 0);
    Move(at.x() + 50, at.y() + 30);
    EXPECT_EQ(Shown().pixel(a.axisX + 2, at.y()) & 0xFFFFFF, White);
    EXPECT_EQ(PlotState.DeltaShown, 0);
}

}  // namespace
}  // namespace korvel::ui
