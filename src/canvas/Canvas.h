// The picture of a plot: 32-bit pixels drawn with the pixel rules of the
// drawing platform the program was made for, so that exclusive-or marks,
// partial redraws and clipboard copies behave exactly as they did there.
//
// Pixels are 0xFFRRGGBB, rows of Width() pixels: a QImage of Format_RGB32 can
// show the memory as it is. Resize allocates; drawing never does. Every
// drawing operation is clipped to the canvas; coordinates may lie anywhere.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas/Font.h"

namespace korvel {

// 0xRRGGBB from red, green, blue 0..255.
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return (red << 16) | (green << 8) | blue;
}

inline constexpr uint32_t White = 0xFFFFFF;
inline constexpr uint32_t Black = 0x000000;

// A solid pen; a width below 1 draws as 1.
struct Pen {
    uint32_t color;  // 0xRRGGBB
    int32_t width;
};

struct Brush {
    uint32_t color;  // 0xRRGGBB
};

enum class RasterMode {
    Copy,    // pixel = pen
    NotXor,  // pixel = NOT(pen XOR pixel): on white the pen's own colour; twice restores
};

// Where the point given to TextOut lies on the text's cell: one horizontal and
// one vertical flag, or-ed.
enum TextAlign : uint32_t {
    AlignLeft = 0,
    AlignCenter = 1,
    AlignRight = 2,
    AlignTop = 0,
    AlignBaseline = 4,
    AlignBottom = 8,
};

struct TextSize {
    int32_t width;
    int32_t height;
};

class Canvas {
  public:
    // Allocates width x height pixels, all white. Negative sizes count as 0.
    void Resize(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t* Pixels() { return pixels_.data(); }
    const uint32_t* Pixels() const { return pixels_.data(); }
    // The pixel at (x, y); 0 outside the canvas.
    uint32_t Pixel(int32_t x, int32_t y) const;

    void SetPen(const Pen& pen) { pen_ = pen; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    // Returns the mode that was set before.
    RasterMode SetRasterMode(RasterMode mode);
    RasterMode Mode() const { return mode_; }

    // Line drawing from the current position. LineTo paints the pixels of the
    // Bresenham line from the current position up to, not including, the end
    // point, which becomes the current position; so a polyline paints every
    // joint once. Rounding ties go toward the start of the line.
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);

    // The rectangle [left, right) x [top, bottom): outlined with the pen and
    // filled inside the outline with the brush; right and bottom are edges
    // outside the rectangle and stay untouched. A pen of width w is centred
    // on the outermost pixel rows and columns as a 1-pixel pen would paint
    // them, the extra pixel of an even width going outwards: a 2-pixel pen
    // paints columns left - 1, left, right - 2, right - 1 and rows top - 1,
    // top, bottom - 2, bottom - 1. Each pixel is painted once, so under
    // NotXor a rectangle drawn twice leaves no trace, and a white brush
    // leaves the inside as it was.
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);

    // Paints width x height pixels from (x, y) with a colour, whatever the raster mode.
    void FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);

    // Text is drawn on an opaque white cell in the text colour; the raster
    // mode does not apply. Without a font (nullptr or absent) texts measure
    // 0 x 0 and nothing is drawn.
    void SetFont(const Font* font) { font_ = font; }
    const Font* CurrentFont() const { return font_; }
    void SetTextAlign(uint32_t align) { align_ = align; }
    void SetTextColor(uint32_t color) { textColor_ = color; }
    // Width: the sum of the characters' advances; height: the font's cell height.
    TextSize TextExtent(const char* text) const;
    void TextOut(int32_t x, int32_t y, const char* text);

    // Copies width x height pixels from (x, y) into out (rows of outStride
    // pixels); pixels outside the canvas come out white.
    void CopyRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* out,
                  int32_t outStride) const;

  private:
    void Paint(int32_t x, int32_t y, uint32_t color);
    void PaintSpan(int32_t x0, int32_t x1, int32_t y, uint32_t color, bool copy);
    void Stamp(int32_t x, int32_t y);

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
    Pen pen_{Black, 1};
    Brush brush_{White};
    RasterMode mode_ = RasterMode::Copy;
    int32_t posX_ = 0;
    int32_t posY_ = 0;
    const Font* font_ = nullptr;
    uint32_t align_ = AlignLeft | AlignTop;
    uint32_t textColor_ = Black;
};

}  // namespace korvel
