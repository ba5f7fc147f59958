// A font as the canvas draws it: a cell of fixed height, and for every character
// its advance and its picture over the cell as coverage (0 background .. 255
// full text colour). A text engine fills it once when the font is made, so
// drawing text never asks the platform anything and never allocates.
#pragma once

#include <cstdint>
#include <vector>

namespace korvel {

class Font {
  public:
    // Characters 0..255 of the program's narrow texts.
    static constexpr int32_t CharCount = 256;

    Font() { Clear(); }

    // A font that was not made (or could not be): texts measure 0 x 0 and draw nothing.
    bool Exists() const { return height_ > 0; }
    // Character cell height, ascent + descent, pixels.
    int32_t Height() const { return height_; }
    // Rows from the top of the cell to the baseline.
    int32_t Ascent() const { return ascent_; }
    // Advance of one character; 0 for a character the font does not define.
    int32_t Advance(unsigned char c) const { return advance_[c]; }
    // Advance(c) x Height() coverage bytes, row by row; nullptr when undefined.
    const uint8_t* Glyph(unsigned char c) const;

    // Width of a text: the sum of its advances (no kerning: the fonts are fixed-pitch).
    int32_t TextWidth(const char* text) const;

    // Makes the font absent again.
    void Clear();
    // Starts a font of this cell; the glyphs follow with SetGlyph. A height
    // below 1 leaves the font absent; the ascent is held within the cell.
    void Begin(int32_t height, int32_t ascent);
    // Defines character c: advance pixels wide, coverage of advance x Height()
    // bytes (nullptr: an empty cell). Defining a character again replaces it.
    void SetGlyph(unsigned char c, int32_t advance, const uint8_t* coverage);

  private:
    int32_t height_ = 0;
    int32_t ascent_ = 0;
    int32_t advance_[CharCount] = {};
    int32_t offset_[CharCount] = {};  // into coverage_, -1 when undefined
    std::vector<uint8_t> coverage_;
};

}  // namespace korvel
