#include "display/Canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "display/FixedCellTextEngine.h"

namespace korvel {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;

constexpr uint32_t Grey = 0x808080;

// Every pixel that is not white.
Pixels Inked(const Canvas& canvas) {
    Pixels inked;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            if ((canvas.Pixel(x, y) & 0xFFFFFF) != White) inked.insert({x, y});
        }
    }
    return inked;
}

std::vector<uint32_t> Snapshot(const Canvas& canvas) {
    return {canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height()};
}

// A background where every pixel differs from its neighbours.
void Scramble(Canvas& canvas) {
    uint32_t state = 7;
    for (int32_t i = 0; i < canvas.Width() * canvas.Height(); ++i) {
        state = state * 1664525u + 1013904223u;
        canvas.Pixels()[i] = 0xFF000000u | (state >> 8);
    }
}

TEST(Canvas, ResizeGivesOpaqueWhitePixelsAsQImageRgb32ReadsThem) {
    Canvas canvas;
    canvas.Resize(3, 2);
    ASSERT_EQ(canvas.Width(), 3);
    EXPECT_EQ(canvas.Pixels()[5], 0xFFFFFFFFu);
    canvas.Resize(-4, 5);
    EXPECT_EQ(canvas.Width(), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), 0u);
}

TEST(Canvas, LineLeavesItsEndPointAndMovesTheCurrentPosition) {
    Canvas canvas;
    canvas.Resize(20, 10);
    canvas.MoveTo(2, 2);
    canvas.LineTo(6, 2);
    canvas.LineTo(6, 5);
    // The joint at (6, 2) is painted by the second line, the last end not at all.
    Pixels expected{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3}, {6, 4}};
    EXPECT_EQ(Inked(canvas), expected);
    EXPECT_EQ(canvas.Pixel(2, 2), 0xFF000000u);
}

TEST(Canvas, ShallowSteepAndBackwardLinesRoundTiesTowardTheirStart) {
    Canvas canvas;
    canvas.Resize(20, 20);
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 3);
    Pixels shallow{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}};
    EXPECT_EQ(Inked(canvas), shallow);

    canvas.Resize(20, 20);
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 10);
    Pixels steep;
    for (const auto& [x, y] : shallow)
        steep.insert({y, x});
    EXPECT_EQ(Inked(canvas), steep);

    canvas.Resize(20, 20);
    canvas.MoveTo(10, 3);
    canvas.LineTo(0, 0);
    Pixels backward{{10, 3}, {9, 3}, {8, 2}, {7, 2}, {6, 2},
                    {5, 2},  {4, 1}, {3, 1}, {2, 1}, {1, 0}};
    EXPECT_EQ(Inked(canvas), backward);
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

TEST(Canvas, RectangleLeavesItsRightAndBottomEdges) {
    Canvas canvas;
    canvas.Resize(12, 10);
    canvas.SetPen({Black, 1});
    canvas.SetBrush({Rgb(255, 0, 0)});
    canvas.Rectangle(2, 2, 8, 6);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 2 && y < 6;
            const bool edge = x == 2 || x == 7 || y == 2 || y == 5;
            const uint32_t expected = !inside ? White : (edge ? Black : Rgb(255, 0, 0));
            EXPECT_EQ(canvas.Pixel(x, y) & 0xFFFFFF, expected) << x << "," << y;
        }
    }
}

TEST(Canvas, TwoPixelPenOutlinesOneOutsideOneInsideTheLeftAndTop) {
    Canvas canvas;
    canvas.Resize(14, 12);
    canvas.SetPen({Black, 2});
    canvas.SetBrush({Grey});
    canvas.Rectangle(4, 4, 10, 9);
    for (int32_t y = 0; y < 12; ++y) {
        for (int32_t x = 0; x < 14; ++x) {
            const bool outer = x >= 3 && x <= 9 && y >= 3 && y <= 8;
            const bool inner = x >= 5 && x <= 7 && y >= 5 && y <= 6;
            const uint32_t expected = inner ? Grey : (outer ? Black : White);
            EXPECT_EQ(canvas.Pixel(x, y) & 0xFFFFFF, expected) << x << "," << y;
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

    Scramble(canvas);
    const std::vector<uint32_t> before = Snapshot(canvas);
    auto marks = [&] {
        canvas.SetPen({Rgb(0, 150, 100), 1});
        canvas.SetBrush({Rgb(255, 255, 100)});
        canvas.Rectangle(3, 2, 20, 25);
        canvas.Rectangle(10, 5, 11, 9);  // one pixel wide
        canvas.SetPen({Rgb(0, 255, 0), 2});
        canvas.MoveTo(0, 29);
        canvas.LineTo(39, 0);
        canvas.LineTo(39, 29);
        canvas.LineTo(0, 29);
    };
    marks();
    EXPECT_NE(Snapshot(canvas), before);
    marks();
    EXPECT_EQ(Snapshot(canvas), before);
}

TEST(Canvas, WhiteBrushUnderNotXorLeavesTheInsideAlone) {
    Canvas canvas;
    canvas.Resize(20, 20);
    Scramble(canvas);
    const std::vector<uint32_t> before = Snapshot(canvas);
    canvas.SetRasterMode(RasterMode::NotXor);
    canvas.SetPen({Rgb(255, 0, 0), 1});
    canvas.SetBrush({White});
    canvas.Rectangle(2, 2, 15, 15);
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = x > 2 && x < 14 && y > 2 && y < 14;
            const uint32_t was = before[y * 20 + x];
            if (inside || x > 14 || y > 14) {
                EXPECT_EQ(canvas.Pixel(x, y), was) << x << "," << y;
            }
        }
    }
    EXPECT_NE(canvas.Pixel(2, 8), before[8 * 20 + 2]);
}

TEST(Canvas, FillRectPaintsWhateverTheModeAndClips) {
    Canvas canvas;
    canvas.Resize(10, 10);
    canvas.SetRasterMode(RasterMode::NotXor);
    canvas.FillRect(-5, 8, 100, 100, Grey);
    canvas.FillRect(3, 3, 0, 4, Black);
    Pixels expected;
    for (int32_t x = 0; x < 10; ++x) {
        expected.insert({x, 8});
        expected.insert({x, 9});
    }
    EXPECT_EQ(Inked(canvas), expected);
    EXPECT_EQ(canvas.Pixel(0, 9) & 0xFFFFFF, Grey);
}

// The fixed-cell font of height 12: cells 6 wide, baseline 10 rows down.
class CanvasText : public ::testing::Test {
  protected:
    struct Rect {
        int32_t left, top, right, bottom;
        bool operator==(const Rect&) const = default;
    };
    void SetUp() override {
        ASSERT_TRUE(engine.MakeFont("Courier", 12, font));
        canvas.Resize(100, 60);
        canvas.SetFont(&font);
    }
    // The bounding box of the white cell written on grey.
    Rect CellOf(uint32_t align, const char* text) {
        canvas.FillRect(0, 0, 100, 60, Grey);
        canvas.SetTextAlign(align);
        canvas.TextOut(50, 30, text);
        Rect box{100, 60, -1, -1};
        for (int32_t y = 0; y < 60; ++y) {
            for (int32_t x = 0; x < 100; ++x) {
                if ((canvas.Pixel(x, y) & 0xFFFFFF) == Grey) continue;
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
        return box;
    }
    FixedCellTextEngine engine;
    Font font;
    Canvas canvas;
};

TEST_F(CanvasText, AlignmentPlacesTheOpaqueCell) {
    EXPECT_EQ(canvas.TextExtent("-12.5").width, 30);
    EXPECT_EQ(canvas.TextExtent("-12.5").height, 12);
    EXPECT_EQ(CellOf(AlignLeft | AlignTop, "-12.5"), (Rect{50, 30, 80, 42}));
    EXPECT_EQ(CellOf(AlignCenter | AlignBottom, "-12.5"), (Rect{35, 18, 65, 30}));
    EXPECT_EQ(CellOf(AlignRight | AlignBaseline, "-12.5"), (Rect{20, 20, 50, 32}));
    EXPECT_EQ(CellOf(AlignCenter | AlignTop, "us"), (Rect{44, 30, 56, 42}));
    // Glyphs sit on the baseline: the bottom row of "1" is row 9 of its cell.
    CellOf(AlignLeft | AlignTop, "1");
    EXPECT_EQ(canvas.Pixel(52, 39) & 0xFFFFFF, Black);
    EXPECT_EQ(canvas.Pixel(52, 40) & 0xFFFFFF, White);
}

TEST_F(CanvasText, SymbolFaceDrawsMicroAndDeltaInTheSameCell) {
    Font symbol;
    ASSERT_TRUE(engine.MakeFont("Symbol", 12, symbol));
    EXPECT_EQ(symbol.Advance('m'), font.Advance('m'));
    EXPECT_EQ(symbol.Height(), font.Height());
    auto picture = [](const Font& f, unsigned char c) {
        const uint8_t* g = f.Glyph(c);
        return std::vector<uint8_t>(g, g + f.Advance(c) * f.Height());
    };
    EXPECT_NE(picture(symbol, 'm'), picture(font, 'm'));
    EXPECT_NE(picture(symbol, 'D'), picture(font, 'D'));
    EXPECT_EQ(picture(symbol, '5'), picture(font, '5'));

    engine.symbolAvailable = false;
    EXPECT_FALSE(engine.MakeFont("Symbol", 12, symbol));
    EXPECT_FALSE(symbol.Exists());
}

TEST_F(CanvasText, WithoutAFontNothingIsMeasuredOrDrawn) {
    canvas.SetFont(nullptr);
    EXPECT_EQ(canvas.TextExtent("100").width, 0);
    canvas.TextOut(10, 10, "100");
    EXPECT_TRUE(Inked(canvas).empty());
}

TEST(Canvas, CopyRectGivesWhiteBeyondTheCanvas) {
    Canvas canvas;
    canvas.Resize(4, 4);
    canvas.FillRect(2, 2, 2, 2, Black);
    uint32_t out[3 * 3];
    canvas.CopyRect(2, 2, 3, 3, out, 3);
    EXPECT_EQ(out[0], 0xFF000000u);
    EXPECT_EQ(out[4], 0xFF000000u);
    EXPECT_EQ(out[2], 0xFFFFFFFFu);
    EXPECT_EQ(out[8], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace korvel
