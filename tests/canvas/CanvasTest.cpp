#include "canvas/Canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "canvas/BitmapSize.h"
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

// The pixels a drawing inks on a white canvas of 20 x 20.
Pixels Drawn(const std::function<void(Canvas&)>& draw) {
    Canvas canvas;
    canvas.Resize(20, 20);
    draw(canvas);
    return Inked(canvas);
}

Pixels Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width = 1) {
    return Drawn([&](Canvas& c) {
        c.SetPen({Black, width});
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
    });
}

// Lines leave their end point, round ties toward the start, and are clipped
// without walking the steps outside; a polyline paints each joint once.
TEST(Canvas, LinePixels) {
    const Pixels shallow{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1},
                         {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}};
    Pixels steep, across, down;
    for (const auto& [x, y] : shallow)
        steep.insert({y, x});
    for (int32_t i = 0; i < 20; ++i)
        across.insert({i, 4}), down.insert({7, i});
    EXPECT_EQ(Line(0, 0, 10, 3), shallow);
    EXPECT_EQ(Line(0, 0, 3, 10), steep);
    EXPECT_EQ(
        Line(10, 3, 0, 0),
        (Pixels{{10, 3}, {9, 3}, {8, 2}, {7, 2}, {6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(Line(-500000000, 4, 500000000, 4), across);
    EXPECT_EQ(Line(7, 400000000, 7, -400000000), down);
    // A wide pen stamps a square on each pixel, its extra pixel up and left.
    EXPECT_EQ(Line(3, 3, 5, 3, 2), (Pixels{{2, 2}, {3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}}));
    EXPECT_EQ(Line(0, 0, 0, 0), Pixels{});
    EXPECT_EQ(Drawn([](Canvas& c) {
                  c.MoveTo(2, 2);
                  c.LineTo(6, 2);
                  c.LineTo(6, 5);
              }),
              (Pixels{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3}, {6, 4}}));
}

// The pen on the edges of [2, 8) x [2, 6): a 1-pixel pen on the outermost
// rows and columns, a 2-pixel one also one further out at left and top.
TEST(Canvas, RectanglesLeaveTheirRightAndBottomEdges) {
    for (int32_t width : {1, 2}) {
        Canvas canvas;
        canvas.Resize(12, 10);
        canvas.SetPen({Black, width});
        canvas.SetBrush({Grey});
        canvas.Rectangle(8, 6, 2, 2);  // corners in any order
        const int32_t lo = width == 1 ? 2 : 1;
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 12; ++x) {
                const bool outer = x >= lo && x <= 7 && y >= lo && y <= 5;
                const bool inner = x >= 3 && x <= 7 - width && y >= 3 && y <= 5 - width;
                EXPECT_EQ(canvas.Pixel(x, y) & 0xFFFFFF, inner ? Grey : (outer ? Black : White))
                    << width << ":" << x << "," << y;
            }
        }
    }
    EXPECT_EQ(Drawn([](Canvas& c) { c.Rectangle(3, 3, 3, 9); }), Pixels{});
}

// NOT(pen XOR pixel): the pen's own colour on white, and the same marks drawn
// twice restore every pixel; a white brush leaves the inside alone. Fills
// ignore the mode.
TEST(Canvas, NotXorMarksVanishWhenDrawnTwice) {
    Canvas canvas;
    canvas.Resize(40, 30);
    EXPECT_EQ(canvas.SetRasterMode(RasterMode::NotXor), RasterMode::Copy);
    canvas.SetPen({Rgb(0, 150, 100), 1});
    canvas.MoveTo(1, 1);
    canvas.LineTo(30, 1);
    EXPECT_EQ(canvas.Pixel(5, 1), 0xFF000000u | Rgb(0, 150, 100));
    uint32_t state = 7;
    for (int32_t i = 0; i < 40 * 30; ++i)
        canvas.Pixels()[i] = 0xFF000000u | ((state = state * 1664525u + 1013904223u) >> 8);
    const std::vector<uint32_t> before(canvas.Pixels(), canvas.Pixels() + 40 * 30);
    auto now = [&] { return std::vector<uint32_t>(canvas.Pixels(), canvas.Pixels() + 40 * 30); };
    auto marks = [&] {
        canvas.SetPen({Rgb(0, 150, 100), 1});
        canvas.SetBrush({Rgb(255, 255, 100)});
        canvas.Rectangle(3, 2, 20, 25);
        canvas.SetPen({Rgb(0, 255, 0), 2});
        canvas.Rectangle(10, 5, 12, 9);
        canvas.MoveTo(0, 29);
        canvas.LineTo(39, 0);
        canvas.LineTo(39, 29);
    };
    marks();
    EXPECT_NE(now(), before);
    marks();
    EXPECT_EQ(now(), before);

    canvas.SetPen({Rgb(255, 0, 0), 1});
    canvas.SetBrush({White});
    canvas.Rectangle(2, 2, 15, 15);
    for (int32_t i = 0; i < 40 * 30; ++i) {
        const int32_t x = i % 40, y = i / 40;
        const bool outline =
            x >= 2 && x <= 14 && y >= 2 && y <= 14 && (x == 2 || x == 14 || y == 2 || y == 14);
        EXPECT_EQ(canvas.Pixels()[i] == before[i], !outline) << x << "," << y;
    }
    canvas.FillRect(-5, 28, 100, 100, Grey);
    EXPECT_EQ(canvas.Pixel(0, 29), 0xFF000000u | Grey);
    EXPECT_EQ(canvas.Pixel(39, 27), before[27 * 40 + 39]);
    // A copy has white outside the canvas; 96 pixels per inch are 254 tenths of a mm.
    uint32_t copy[4];
    canvas.CopyRect(39, 29, 2, 2, copy, 2);
    EXPECT_EQ(std::vector<uint32_t>(copy, copy + 4),
              (std::vector<uint32_t>{0xFF000000u | Grey, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}));
    EXPECT_EQ(std::vector<int32_t>({TenthsOfMm(96, 96), TenthsOfMm(100, 0), TenthsOfMm(99, 300)}),
              std::vector<int32_t>({254, 264, 83}));
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
    canvas.SetTextColor(Rgb(255, 0, 0));
    canvas.TextOut(0, 0, "1");
    EXPECT_EQ(canvas.Pixel(2, 9), 0xFFFF0000u);

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
    EXPECT_FALSE(engine.MakeFont("Arial", 12, symbol));
    EXPECT_FALSE(symbol.Exists());
}

}  // namespace
}  // namespace korvel
