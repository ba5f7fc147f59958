#include "canvas/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {

constexpr uint32_t Opaque = 0xFF000000u;

uint32_t NotXor(uint32_t pen, uint32_t pixel) {
    return (~(pen ^ pixel) & 0xFFFFFFu) | Opaque;
}

// Index range [lo, hi] of the steps 0..last whose coordinate start + sign * i
// lies within [minimum, maximum]; empty when lo > hi.
void StepsWithin(int64_t start, int64_t sign, int64_t last, int64_t minimum, int64_t maximum,
                 int64_t& lo, int64_t& hi) {
    if (sign > 0) {
        lo = minimum - start;
        hi = maximum - start;
    } else {
        lo = start - maximum;
        hi = start - minimum;
    }
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, last);
}

}  // namespace

void Canvas::Resize(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), Opaque | White);
}

uint32_t Canvas::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

RasterMode Canvas::SetRasterMode(RasterMode mode) {
    const RasterMode before = mode_;
    mode_ = mode;
    return before;
}

void Canvas::Paint(int32_t x, int32_t y, uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint32_t& pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    pixel = mode_ == RasterMode::Copy ? (color | Opaque) : NotXor(color, pixel);
}

void Canvas::PaintSpan(int32_t x0, int32_t x1, int32_t y, uint32_t color, bool copy) {
    if (y < 0 || y >= height_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (x0 > x1) return;
    uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
    if (copy) {
        std::fill(row + x0, row + x1 + 1, color | Opaque);
    } else {
        for (int32_t x = x0; x <= x1; ++x)
            row[x] = NotXor(color, row[x]);
    }
}

// A wide pen paints a square around each pixel of the line, its extra pixel of
// an even width going up and left, as the rectangle outline does.
void Canvas::Stamp(int32_t x, int32_t y) {
    const int32_t w = std::max(pen_.width, 1);
    if (w == 1) {
        Paint(x, y, pen_.color);
        return;
    }
    const int32_t x0 = x - w / 2;
    const int32_t y0 = y - w / 2;
    for (int32_t row = y0; row < y0 + w; ++row) {
        PaintSpan(x0, x0 + w - 1, row, pen_.color, mode_ == RasterMode::Copy);
    }
}

void Canvas::MoveTo(int32_t x, int32_t y) {
    posX_ = x;
    posY_ = y;
}

void Canvas::LineTo(int32_t x, int32_t y) {
    const int64_t x0 = posX_;
    const int64_t y0 = posY_;
    posX_ = x;
    posY_ = y;
    const int64_t dx = static_cast<int64_t>(x) - x0;
    const int64_t dy = static_cast<int64_t>(y) - y0;
    const int64_t adx = std::llabs(dx);
    const int64_t ady = std::llabs(dy);
    if (adx == 0 && ady == 0) return;
    const int64_t sx = dx < 0 ? -1 : 1;
    const int64_t sy = dy < 0 ? -1 : 1;
    // Only the steps whose pen square can touch the canvas are walked, so a
    // line of any length costs at most the canvas's size.
    const int32_t w = std::max(pen_.width, 1);
    const int64_t before = w / 2;
    const int64_t after = w - 1 - w / 2;

    // Along the major axis step i = 0 .. major - 1 (the end point is not
    // painted); the minor coordinate is i * minor / major rounded to the
    // nearest, ties toward the start, kept as quotient and remainder.
    const bool xMajor = adx >= ady;
    const int64_t major = xMajor ? adx : ady;
    const int64_t minor = xMajor ? ady : adx;
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t majorSign = xMajor ? sx : sy;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t minorSign = xMajor ? sy : sx;
    const int64_t extent = xMajor ? width_ : height_;
    int64_t lo = 0;
    int64_t hi = 0;
    StepsWithin(majorStart, majorSign, major - 1, -after, extent - 1 + before, lo, hi);
    if (lo > hi) return;

    const int64_t twice = 2 * major;
    const int64_t numerator = 2 * lo * minor + major - 1;
    int64_t quotient = numerator / twice;
    int64_t remainder = numerator % twice;
    for (int64_t i = lo; i <= hi; ++i) {
        const int64_t a = majorStart + majorSign * i;
        const int64_t b = minorStart + minorSign * quotient;
        const int64_t px = xMajor ? a : b;
        const int64_t py = xMajor ? b : a;
        if (px >= -after && px < width_ + before && py >= -after && py < height_ + before) {
            Stamp(static_cast<int32_t>(px), static_cast<int32_t>(py));
        }
        remainder += 2 * minor;
        if (remainder >= twice) {
            remainder -= twice;
            ++quotient;
        }
    }
}

void Canvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    const int32_t w = std::max(pen_.width, 1);
    const int32_t before = w / 2;
    const int32_t after = w - 1 - w / 2;
    // Outline: the outer box minus the inner one; the brush fills the inner one.
    const int32_t outerLeft = left - before;
    const int32_t outerRight = right - 1 + after;
    const int32_t outerTop = top - before;
    const int32_t outerBottom = bottom - 1 + after;
    const int32_t innerLeft = left + after + 1;
    const int32_t innerRight = right - 2 - before;
    const int32_t innerTop = top + after + 1;
    const int32_t innerBottom = bottom - 2 - before;
    const bool hasInside = innerLeft <= innerRight && innerTop <= innerBottom;
    const bool copy = mode_ == RasterMode::Copy;
    const int32_t firstRow = std::max(outerTop, 0);
    const int32_t lastRow = std::min(outerBottom, height_ - 1);
    for (int32_t y = firstRow; y <= lastRow; ++y) {
        if (hasInside && y >= innerTop && y <= innerBottom) {
            PaintSpan(outerLeft, innerLeft - 1, y, pen_.color, copy);
            PaintSpan(innerLeft, innerRight, y, brush_.color, copy);
            PaintSpan(innerRight + 1, outerRight, y, pen_.color, copy);
        } else {
            PaintSpan(outerLeft, outerRight, y, pen_.color, copy);
        }
    }
}

void Canvas::FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color) {
    if (width <= 0 || height <= 0) return;
    const int64_t lastX = static_cast<int64_t>(x) + width - 1;
    const int64_t lastY = static_cast<int64_t>(y) + height - 1;
    const int32_t x1 = static_cast<int32_t>(std::min<int64_t>(lastX, width_ - 1));
    const int32_t y0 = std::max(y, 0);
    const int32_t y1 = static_cast<int32_t>(std::min<int64_t>(lastY, height_ - 1));
    for (int32_t row = y0; row <= y1; ++row)
        PaintSpan(x, x1, row, color, true);
}

TextSize Canvas::TextExtent(const char* text) const {
    if (font_ == nullptr || !font_->Exists()) return {0, 0};
    return {font_->TextWidth(text), font_->Height()};
}

void Canvas::TextOut(int32_t x, int32_t y, const char* text) {
    if (font_ == nullptr || !font_->Exists()) return;
    const Font& font = *font_;
    const int32_t width = font.TextWidth(text);
    const int32_t height = font.Height();
    int32_t left = x;
    if ((align_ & AlignRight) != 0) {
        left = x - width;
    } else if ((align_ & AlignCenter) != 0) {
        left = x - width / 2;
    }
    int32_t top = y;
    if ((align_ & AlignBottom) != 0) {
        top = y - height;
    } else if ((align_ & AlignBaseline) != 0) {
        top = y - font.Ascent();
    }

    // Coverage a blends the text colour over the white cell: 255 - a per
    // channel for black text, which gives back the engine's picture exactly.
    const uint32_t red = (textColor_ >> 16) & 0xFF;
    const uint32_t green = (textColor_ >> 8) & 0xFF;
    const uint32_t blue = textColor_ & 0xFF;
    auto blend = [](uint32_t ink, uint32_t a) { return (255 * (255 - a) + ink * a + 127) / 255; };

    const int32_t firstRow = std::max(top, 0);
    const int32_t lastRow = std::min(top + height, height_) - 1;
    int32_t cellLeft = left;
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const int32_t advance = font.Advance(c);
        const uint8_t* glyph = font.Glyph(c);
        const int32_t x0 = std::max(cellLeft, 0);
        const int32_t x1 = std::min(cellLeft + advance, width_);
        for (int32_t row = firstRow; row <= lastRow && x0 < x1; ++row) {
            uint32_t* out = pixels_.data() + static_cast<size_t>(row) * width_;
            const uint8_t* in =
                glyph == nullptr ? nullptr : glyph + static_cast<size_t>(row - top) * advance;
            for (int32_t px = x0; px < x1; ++px) {
                const uint32_t a = in == nullptr ? 0 : in[px - cellLeft];
                out[px] = Opaque | (blend(red, a) << 16) | (blend(green, a) << 8) | blend(blue, a);
            }
        }
        cellLeft += advance;
    }
}

void Canvas::CopyRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* out,
                      int32_t outStride) const {
    for (int32_t row = 0; row < height; ++row) {
        uint32_t* line = out + static_cast<size_t>(row) * outStride;
        for (int32_t col = 0; col < width; ++col) {
            const int64_t sx = static_cast<int64_t>(x) + col;
            const int64_t sy = static_cast<int64_t>(y) + row;
            const bool inside = sx >= 0 && sy >= 0 && sx < width_ && sy < height_;
            line[col] = inside ? pixels_[static_cast<size_t>(sy) * width_ + sx] : (Opaque | White);
        }
    }
}

}  // namespace korvel
