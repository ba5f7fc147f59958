#include "canvas/Canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "canvas/FixedCellTextEngine.h"

namespace korvel {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;
constexpr uint32_t Grey = 0x808080;

Pixels Inked(const Canvas& canvas, uint32_t background = White) {
    Pixels inked;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            if ((canvas.Pixel(x, y) & 0xFFFFFF) != background) inked.insert({x, y});
        }
    }
    return inked;
}

Pixels Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Canvas canvas;
    canvas.Resize(20, 20);
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
    return Inked(canvas);
}

std::vector<uint32_t> Scrambled(Canvas& canvas) {
    uint32_t state = 7;
    for (int32_t i = 0; i < canvas.Width() * canvas.Height(); ++i) {
        state = state * 1664525u + 1013904223u;
        canvas.Pixels()[i] = 0xFF000000u | (state >> 8);
    }
    return {canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height()};
}

TEST(Canvas, LinesLeaveTheirEndPointAndRoundTiesTowardTheStart) {
    const Pixels shallow{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1},
                         {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}};
    EXPECT_EQ(Line(0, 0, 10, 3), shallow);
    Pixels steep;
    for (const auto& [x, y] : shallow)
        steep.insert({y, x});
    EXPECT_EQ(Line(0, 0, 3, 10), steep);
    EXPECT_EQ(
        Line(10, 3, 0, 0),
        (Pixels{{10, 3}, {9, 3}, {8, 2}, {7, 2}, {6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}}));

    // A polyline paints each joint once, from the line that starts there.
    Canvas canvas;
    canvas.Resize(20, 10);
    canvas.MoveTo(2, 2);
    canvas.LineTo(6, 2);
    canvas.LineTo(6, 5);
    EXPECT_EQ(Inked(canvas), (Pixels{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3}, {6, 4}}));
    EXPECT_EQ(canvas.Pixel(2, 2), 0xFF000000u);  // opaque, as a QImage of RGB32 reads it
}

TEST(Canvas, LinesFarBeyondTheCanvasAreClippedNotWalked) {
    Canvas canvas;
    canvas.Resize(30, 10);
    canvas.MoveTo(-500000000, 4);
    canvas.LineTo(500000000, 4);
    canvas.MoveTo(7, -400000000);
    canvas.LineTo(7, 400000000);
    Pixels expected;
    for (int32_t x = 0; x < 30; ++x)
        expected.insert({x, 4});
    for (int32_t y = 0; y < 10; ++y)
        expected.insert({7, y});
    EXPECT_EQ(Inked(canvas), expected);
}

// Pen rows and columns: 1 pixel on the edges of [2, 8) x [2, 6); 2 pixels one
// outside and one inside the left and top, two inside the right and bottom.
TEST(Canvas, RectanglesLeaveTheirRightAndBottomEdges) {
    for (int32_t width : {1, 2}) {
        Canvas canvas;
        canvas.Resize(12, 10);
        canvas.SetPen({Black, width});
        canvas.SetBrush({Grey});
        canvas.Rectangle(2, 2, 8, 6);
        const int32_t lo = width == 1 ? 2 : 1;
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 12; ++x) {
                const bool outer = x >= lo && x <= 7 && y >= lo && y <= 5;
                const bool inner = x >= 3 && x <= 8 - width - 1 && y >= 3 && y <= 6 - width - 1;
                const uint32_t expected = inner ? Grey : (outer ? Black : White);
                EXPECT_EQ(canvas.Pixel(x, y) & 0xFFFFFF, expected) << width << ":" << x << "," << y;
            }
        }
    }
}

TEST(Canvas, NotXorShowsThePenOnWhiteAndTwiceRestoresEveryPixel) {
    Canvas canvas;
    canvas.Resize(40, 30);
    canvas.SetRasterMode(RasterMode::NotXor);
    canvas.SetPen({Rgb(0, 150, 100), 1});
    canvas.MoveTo(1, 1);
    canvas.LineTo(30, 1);
    EXPECT_EQ(canvas.Pixel(5, 1), 0xFF000000u | Rgb(0, 150, 100));

    const std::vector<uint32_t> before = Scrambled(canvas);
    auto marks = [&] {
        canvas.SetPen({Rgb(0, 150, 100), 1});
        canvas.SetBrush({Rgb(255, 255, 100)});
        canvas.Rectangle(3, 2, 20, 25);
        canvas.Rectangle(10, 5, 11, 9);
        canvas.SetPen({Rgb(0, 255, 0), 2});
        canvas.MoveTo(0, 29);
        canvas.LineTo(39, 0);
        canvas.LineTo(39, 29);
    };
    auto now = [&] { return std::vector<uint32_t>(canvas.Pixels(), canvas.Pixels() + 40 * 30); };
    marks();
    EXPECT_NE(now(), before);
    marks();
    EXPECT_EQ(now(), before);
}

TEST(Canvas, WhiteBrushUnderNotXorLeavesTheInsideAlone) {
    Canvas canvas;
    canvas.Resize(20, 20);
    const std::vector<uint32_t> before = Scrambled(canvas);
    canvas.SetRasterMode(RasterMode::NotXor);
    canvas.SetPen({Rgb(255, 0, 0), 1});
    canvas.SetBrush({White});
    canvas.Rectangle(2, 2, 15, 15);
    for (int32_t i = 0; i < 400; ++i) {
        const int32_t x = i % 20;
        const int32_t y = i / 20;
        const bool outline =
            x >= 2 && x <= 14 && y >= 2 && y <= 14 && (x == 2 || x == 14 || y == 2 || y == 14);
        EXPECT_EQ(canvas.Pixels()[i] == before[i], !outline) << x << "," << y;
    }
    // Fills ignore the mode and clip.
    canvas.FillRect(-5, 18, 100, 100, Grey);
    EXPECT_EQ(canvas.Pixel(0, 19) & 0xFFFFFF, Grey);
}

// The fixed-cell font of height 12: cells 6 wide, baseline 10 rows down.
TEST(Canvas, TextCellsAreOpaqueAndAlignedOnTheirPoint) {
    FixedCellTextEngine engine;
    Font font;
    ASSERT_TRUE(engine.MakeFont("Courier", 12, font));
    Canvas canvas;
    canvas.Resize(100, 60);
    canvas.SetFont(&font);
    EXPECT_EQ(canvas.TextExtent("-12.5").width, 30);
    EXPECT_EQ(canvas.TextExtent("-12.5").height, 12);
    auto cell = [&](uint32_t align, const char* text) {
        canvas.FillRect(0, 0, 100, 60, Grey);
        canvas.SetTextAlign(align);
        canvas.TextOut(50, 30, text);
        const Pixels inked = Inked(canvas, Grey);
        return std::pair(*inked.begin(), *inked.rbegin());  // top-left, bottom-right
    };
    using Corners = std::pair<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>>;
    EXPECT_EQ(cell(AlignLeft | AlignTop, "-12.5"), (Corners{{50, 30}, {79, 41}}));
    EXPECT_EQ(cell(AlignCenter | AlignBottom, "-12.5"), (Corners{{35, 18}, {64, 29}}));
    EXPECT_EQ(cell(AlignRight | AlignBaseline, "-12.5"), (Corners{{20, 20}, {49, 31}}));
    cell(AlignLeft | AlignTop, "1");
    EXPECT_EQ(canvas.Pixel(52, 39) & 0xFFFFFF, Black);  // the glyph ends on the baseline
    EXPECT_EQ(canvas.Pixel(52, 40) & 0xFFFFFF, White);

    canvas.SetFont(nullptr);
    canvas.TextOut(10, 10, "100");
    EXPECT_EQ(canvas.TextExtent("100").width, 0);
    EXPECT_EQ(canvas.Pixel(12, 12) & 0xFFFFFF, Grey);

    // The symbol face: micro and delta in the cells of "m" and "D".
    Font symbol;
    ASSERT_TRUE(engine.MakeFont("Symbol", 12, symbol));
    auto picture = [](const Font& f, unsigned char c) {
        return std::vector<uint8_t>(f.Glyph(c), f.Glyph(c) + f.Advance(c) * f.Height());
    };
    EXPECT_EQ(symbol.Advance('m'), font.Advance('m'));
    EXPECT_NE(picture(symbol, 'm'), picture(font, 'm'));
    EXPECT_NE(picture(symbol, 'D'), picture(font, 'D'));
    EXPECT_EQ(picture(symbol, '5'), picture(font, '5'));
}

}  // namespace
}  // namespace korvel
