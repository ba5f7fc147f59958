#include "display/ui/PlotWidget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QTest>
#include <cstring>
#include <vector>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "app/ResetAll.h"
#include "display/Plot.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "canvas/ui/QtTextEngine.h"

namespace korvel::ui {
namespace {

TEST(QtTextEngine, FontsHaveTheCellHeightsOfTheSizeTable) {
    QtTextEngine engine;
    for (int32_t height : FontSizes) {
        Font courier;
        Font symbol;
        ASSERT_TRUE(engine.MakeFont("Courier", height, courier) &&
                    engine.MakeFont("Symbol", height, symbol));
        EXPECT_EQ(courier.Height(), height);
        EXPECT_EQ(symbol.Height(), height);
        // Fixed pitch, the micro sign in the cell of the "m".
        for (unsigned char c = 32; c < 127; ++c)
            EXPECT_EQ(courier.Advance(c), courier.Advance('0'));
        EXPECT_EQ(symbol.Advance('m'), courier.Advance('m'));
        const int32_t cell = courier.Advance('m') * height;
        EXPECT_NE(std::vector<uint8_t>(symbol.Glyph('m'), symbol.Glyph('m') + cell),
                  std::vector<uint8_t>(courier.Glyph('m'), courier.Glyph('m') + cell));
    }
    Font other;
    EXPECT_TRUE(engine.MakeFont("", 12, other));
    EXPECT_FALSE(engine.MakeFont("No Such Face At All", 12, other));
}

TEST(PlotWidget, ResizeRedrawsTheCanvasAndPaintOnlyShowsIt) {
    ResetAllRecords();
    QtTextEngine engine;
    InstallTextEngine(&engine);
    CreatePlotFonts();
    OscState.DeviceReady = 1;
    QMainWindow window;
    auto* plot = new PlotWidget(&window);
    window.setCentralWidget(plot);
    window.resize(700, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(PlotCanvas.Width(), plot->width());
    EXPECT_EQ(PlotCanvas.Height(), plot->height());

    // A paint shows the canvas as it is, without drawing the plots again.
    PlotCanvas.Pixels()[10 * PlotCanvas.Width() + 1] = 0xFF123456u;
    PlotState.LabelsDirty = 7;
    const QImage shown = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(PlotState.LabelsDirty, 7);
    ASSERT_EQ(shown.size(), QSize(PlotCanvas.Width(), PlotCanvas.Height()));
    EXPECT_EQ(0, std::memcmp(shown.constBits(), PlotCanvas.Pixels(), shown.sizeInBytes()));

    window.resize(500, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return PlotCanvas.Width() == 500; }));
    EXPECT_EQ(PlotCanvas.Width(), plot->width());
    EXPECT_EQ(PlotState.LabelsDirty, 0);
    ResetAllRecords();
}

}  // namespace
}  // namespace korvel::ui
