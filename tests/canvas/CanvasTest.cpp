#include "canvas/Canvas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/BitmapSize.h"
#include "canvas/FixedCellTextEngine.h"

namespace korvel {
namespace {

// The colours of the pictures, one character each.
const std::string Keys = ".#+rgbcmy";
const uint32_t Colours[] = {White,    Black,    0x808080, 0xFF0000, 0x00FF00,
                            0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFF00};

uint32_t Colour(char key) {
    return Colours[Keys.find(key)];
}

std::string Picture(const Canvas& canvas) {
    std::string rows;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            const uint32_t* at =
                std::find(std::begin(Colours), std::end(Colours), canvas.Pixel(x, y) & 0xFFFFFF);
            rows += at == std::end(Colours) ? '?' : Keys[at - Colours];
        }
        rows += '\n';
    }
    return rows;
}

// pictures.txt: a line "draw WIDTH HEIGHT" and the commands that draw on a
// white canvas of that size, then the picture, row by row.
TEST(Canvas, PicturesOfTheTable) {
    FixedCellTextEngine engine;
    Font font;
    std::ifstream file(KORVEL_TEST_DATA_DIR "/canvas/pictures.txt");
    int32_t pictures = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("draw ", 0) != 0) continue;
        SCOPED_TRACE(line);
        std::istringstream commands(line);
        std::string word, text;
        int32_t a = 0, b = 0, c = 0, d = 0;
        char key = 0;
        commands >> word >> a >> b;
        Canvas canvas;
        canvas.Resize(a, b);
        while (commands >> word) {
            if (word == "move") commands >> a >> b, canvas.MoveTo(a, b);
            if (word == "line") commands >> a >> b, canvas.LineTo(a, b);
            if (word == "pen") commands >> key >> a, canvas.SetPen({Colour(key), a});
            if (word == "brush") commands >> key, canvas.SetBrush({Colour(key)});
            if (word == "notxor") canvas.SetRasterMode(RasterMode::NotXor);
            if (word == "rect") commands >> a >> b >> c >> d, canvas.Rectangle(a, b, c, d);
            if (word == "fill")
                commands >> a >> b >> c >> d >> key, canvas.FillRect(a, b, c, d, Colour(key));
            if (word == "font")
                commands >> text >> a, engine.MakeFont(text.c_str(), a, font),
                    canvas.SetFont(&font);
            if (word == "nofont") canvas.SetFont(nullptr);
            if (word == "align") commands >> a, canvas.SetTextAlign(static_cast<uint32_t>(a));
            if (word == "ink") commands >> key, canvas.SetTextColor(Colour(key));
            if (word == "text") commands >> a >> b >> text, canvas.TextOut(a, b, text.c_str());
        }
        std::string want;
        for (int32_t y = 0; y < canvas.Height() && std::getline(file, line); ++y)
            want += line + '\n';
        EXPECT_EQ(Picture(canvas), want);
        ++pictures;
    }
    EXPECT_EQ(pictures, 20);
}

TEST(Canvas, MeasuresCopiesAndPhysicalSizes) {
    FixedCellTextEngine engine;
    Font font;
    Canvas canvas;
    ASSERT_TRUE(engine.MakeFont("Courier", 12, font));
    canvas.SetFont(&font);
    EXPECT_EQ(std::pair(canvas.TextExtent("-12.5").width, canvas.TextExtent("-12.5").height),
              std::pair(30, 12));
    // The faces: the platform's own (""), and no other, nor one switched off.
    engine.symbolAvailable = false;
    EXPECT_EQ(std::vector<bool>({engine.MakeFont("", 12, font), engine.MakeFont("Symbol", 12, font),
                                 engine.MakeFont("Arial", 12, font)}),
              std::vector<bool>({true, false, false}));
    EXPECT_EQ(canvas.TextExtent("-12.5").width, 0);  // a font that could not be made is absent

    // A copy has white outside the canvas; the canvas answers 0 there.
    canvas.Resize(3, 2);
    canvas.FillRect(0, 0, 3, 2, Black);
    EXPECT_EQ(canvas.SetRasterMode(RasterMode::NotXor), RasterMode::Copy);
    EXPECT_EQ(std::vector<uint32_t>({canvas.Pixel(2, 1), canvas.Pixel(3, 1), canvas.Pixel(2, 2),
                                     canvas.Pixel(-1, 1), canvas.Pixel(2, -1)}),
              std::vector<uint32_t>({0xFF000000u, 0u, 0u, 0u, 0u}));
    std::vector<uint32_t> copy(6, 7);
    canvas.CopyRect(2, -1, 2, 2, copy.data(), 3);
    EXPECT_EQ(copy,
              (std::vector<uint32_t>{0xFFFFFFFFu, 0xFFFFFFFFu, 7, 0xFF000000u, 0xFFFFFFFFu, 7}));
    // 96 pixels per inch are 254 tenths of a millimetre; no resolution counts as 96.
    EXPECT_EQ(std::vector<int32_t>({TenthsOfMm(96, 96), TenthsOfMm(100, 0), TenthsOfMm(99, 300)}),
              std::vector<int32_t>({254, 264, 83}));
}

}  // namespace
}  // namespace korvel
