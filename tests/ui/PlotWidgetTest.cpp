#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QTest>
#include <vector>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "app/Ports.h"
#include "app/ResetAll.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/ui/PlotWidget.h"
#include "display/ui/QtTextEngine.h"

namespace korvel::ui {
namespace {

class PlotWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAllRecords();
        InstallTextEngine(&engine);
        CreatePlotFonts();
    }
    void TearDown() override { ResetAllRecords(); }
    QtTextEngine engine;
};

TEST_F(PlotWidgetTest, FontsHaveTheCellHeightsOfTheSizeTable) {
    for (int32_t height : FontSizes) {
        Font courier;
        Font symbol;
        ASSERT_TRUE(engine.MakeFont("Courier", height, courier)) << height;
        ASSERT_TRUE(engine.MakeFont("Symbol", height, symbol)) << height;
        EXPECT_EQ(courier.Height(), height);
        EXPECT_EQ(symbol.Height(), height);
        EXPECT_GT(courier.Ascent(), height / 2);
        // Fixed pitch, the symbols in the same cells.
        for (unsigned char c = 32; c < 127; ++c)
            EXPECT_EQ(courier.Advance(c), courier.Advance('0'));
        EXPECT_EQ(symbol.Advance('m'), courier.Advance('m'));
        const int32_t cell = courier.Advance('m') * height;
        const std::vector<uint8_t> mu(symbol.Glyph('m'), symbol.Glyph('m') + cell);
        EXPECT_NE(mu, std::vector<uint8_t>(courier.Glyph('m'), courier.Glyph('m') + cell));
    }
    Font other;
    EXPECT_TRUE(engine.MakeFont("", 12, other));
    EXPECT_FALSE(engine.MakeFont("No Such Face At All", 12, other));
    EXPECT_FALSE(other.Exists());
}

TEST_F(PlotWidgetTest, ResizeRedrawsTheCanvasAndPaintShowsItUnchanged) {
    OscSettings.Num_Data = 1000;
    for (int32_t i = 0; i < 1000; ++i)
        OscState.Record[i] = static_cast<float>(i % 100);
    OscState.DeviceReady = 1;
    OscState.DataMax = 99.0f;
    QMainWindow window;
    auto* plot = new PlotWidget(&window);
    window.setCentralWidget(plot);
    window.resize(700, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(PlotCanvas.Width(), plot->width());
    EXPECT_EQ(PlotCanvas.Height(), plot->height());
    EXPECT_GT(SubWindowArea.width, 0);

    // A paint shows the canvas as it is, without drawing the plots again.
    PlotCanvas.Pixels()[10 * PlotCanvas.Width() + 1] = 0xFF123456u;
    PlotState.LabelsDirty = 7;
    const QImage shown = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(PlotState.LabelsDirty, 7);
    ASSERT_EQ(shown.width(), PlotCanvas.Width());
    for (int32_t y = 0; y < shown.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(shown.constScanLine(y));
        for (int32_t x = 0; x < shown.width(); ++x) {
            ASSERT_EQ(row[x], PlotCanvas.Pixel(x, y)) << x << "," << y;
        }
    }

    window.resize(500, 400);
    QTest::qWait(10);
    EXPECT_EQ(PlotCanvas.Width(), plot->width());
    EXPECT_EQ(PlotState.LabelsDirty, 0);
}

}  // namespace
}  // namespace korvel::ui
