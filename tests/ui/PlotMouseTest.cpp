// The plot widget under real mouse events: moves, clicks, drags and double
// clicks delivered through the window as the platform delivers them.
#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QTest>
#include <QWindow>
#include <memory>
#include <utility>
#include <vector>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "app/Ports.h"
#include "app/ResetAll.h"
#include "display/Plot.h"
#include "display/PlotCursors.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/ui/PlotWidget.h"
#include "display/ui/QtTextEngine.h"

namespace korvel::ui {
namespace {

// Shows the canvas and remembers the pointer shapes asked for.
class TestFrame : public Frame {
  public:
    explicit TestFrame(PlotWidget& plot) : plot_(plot) {}
    void ShowPlot() override { plot_.ShowCanvas(); }
    void SetPointer(Pointer shape) override { pointers.push_back(shape); }
    std::vector<Pointer> pointers;

  private:
    PlotWidget& plot_;
};

class PlotMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        InstallTextEngine(&engine_);
        CreatePlotFonts();
        OscState.DeviceReady = 1;
        for (int32_t i = 0; i < MaxData; ++i)
            OscState.Record[i] = (i % 1000 < 800) ? -300.0f : 800.0f;
        OscState.DataMin = OscSettings.D_min = -300.0f;
        OscState.DataMax = OscSettings.D_max = 800.0f;
        plot_ = new PlotWidget(&window_);
        frame_ = std::make_unique<TestFrame>(*plot_);
        Ports.frame = frame_.get();
        window_.setCentralWidget(plot_);
        window_.resize(800, 600);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        ASSERT_TRUE(QTest::qWaitFor([] { return PlotCanvas.Width() > 0; }));
        handle_ = window_.windowHandle();
    }
    void TearDown() override {
        ResetAllRecords();
        InstallTextEngine(nullptr);
    }
    // Window coordinates of a pixel of the plot.
    QPoint At(int32_t x, int32_t y) const { return plot_->mapTo(&window_, QPoint(x, y)); }
    void Move(int32_t x, int32_t y) { QTest::mouseMove(handle_, At(x, y)); }
    QImage Shown() const { return plot_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static std::pair<int32_t, int32_t> Stored() { return {OscSettings.Data_S, OscSettings.Data_E}; }

    QtTextEngine engine_;
    QMainWindow window_;
    PlotWidget* plot_ = nullptr;
    std::unique_ptr<TestFrame> frame_;
    QWindow* handle_ = nullptr;
};

TEST_F(PlotMouse, ClickMoveClickZoomsAndDoubleClickZoomsOut) {
    ASSERT_EQ(Stored(), (std::pair{0, 1000}));
    const PlotArea before = SubWindowArea;
    const int32_t x1 = before.axisX + 260;
    const int32_t x2 = before.axisX + 460;
    QTest::mouseClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    Move(x2 - 50, before.top + 100);
    Move(x2, before.top + 200);
    QTest::mouseClick(handle_, Qt::LeftButton, {}, At(x2, before.top + 200));
    EXPECT_EQ(Stored(), (std::pair{IndexAt(before, x1), IndexAt(before, x2)}));
    EXPECT_NE(OscState.ViewMax, OscSettings.D_max);

    // The first double click undoes the vertical zoom on the same span.
    const std::pair<int32_t, int32_t> zoomed = Stored();
    QTest::mouseDClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    EXPECT_EQ(Stored(), zoomed);
    EXPECT_EQ(OscState.ViewMax, OscSettings.D_max);
    EXPECT_EQ(PlotState.ZoomArmed, 0);
    QTest::mouseDClick(handle_, Qt::LeftButton, {}, At(x1, before.top + 40));
    const int32_t length = zoomed.second - zoomed.first;
    const int32_t middle = (zoomed.first + zoomed.second) / 2;
    EXPECT_EQ(Stored(), (std::pair{middle - length, middle + length}));
}

TEST_F(PlotMouse, PressDragReleasePansAndOnlyTheLeftButtonAloneDrags) {
    SetSubWindow(5000, 6000);
    const PlotArea a = SubWindowArea;
    const int32_t y = a.top + 100;
    QTest::mousePress(handle_, Qt::LeftButton, {}, At(a.axisX + 200, y));
    Move(a.axisX + 230, y);
    Move(a.axisX + 250, y);
    QTest::mouseRelease(handle_, Qt::LeftButton, {}, At(a.axisX + 250, y));
    const int32_t shift = 30 * 1000 / a.width + 20 * 1000 / a.width;
    EXPECT_EQ(Stored(), (std::pair{5000 - shift, 6000 - shift}));
    EXPECT_EQ(PlotState.ZoomArmed, 0);
    EXPECT_EQ(frame_->pointers.front(), Pointer::Hand);

    // With Shift held the same drag draws the zoom band instead.
    QTest::mousePress(handle_, Qt::LeftButton, {}, At(a.axisX + 200, y));
    QTest::mouseEvent(QTest::MouseMove, handle_, Qt::NoButton, Qt::ShiftModifier,
                      At(a.axisX + 300, y + 50));
    EXPECT_EQ(PlotState.BandShown, 1);
    EXPECT_EQ(Stored(), (std::pair{5000 - shift, 6000 - shift}));
    QTest::mouseRelease(handle_, Qt::LeftButton, {}, At(a.axisX + 300, y + 50));
}

TEST_F(PlotMouse, CrosshairAndReferenceCrossReachTheScreen) {
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
    QTest::mouseDClick(handle_, Qt::RightButton, {}, At(at.x(), at.y()));
    EXPECT_EQ(PlotState.RefShown, 0);
    Move(at.x() + 50, at.y() + 30);
    EXPECT_EQ(Shown().pixel(a.axisX + 2, at.y()) & 0xFFFFFF, White);
    EXPECT_EQ(PlotState.DeltaShown, 0);
}

}  // namespace
}  // namespace korvel::ui
