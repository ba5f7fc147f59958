#include "canvas/Font.h"

#include <algorithm>
#include <cstring>

namespace korvel {

const uint8_t* Font::Glyph(unsigned char c) const {
    if (offset_[c] < 0) return nullptr;
    return coverage_.data() + offset_[c];
}

int32_t Font::TextWidth(const char* text) const {
    int32_t width = 0;
    for (const char* p = text; *p != '\0'; ++p)
        width += advance_[static_cast<unsigned char>(*p)];
    return width;
}

void Font::Clear() {
    height_ = 0;
    ascent_ = 0;
    std::fill(std::begin(advance_), std::end(advance_), 0);
    std::fill(std::begin(offset_), std::end(offset_), -1);
    coverage_.clear();
}

void Font::Begin(int32_t height, int32_t ascent) {
    Clear();
    if (height < 1) return;
    height_ = height;
    ascent_ = std::clamp(ascent, 0, height);
}

void Font::SetGlyph(unsigned char c, int32_t advance, const uint8_t* coverage) {
    if (!Exists() || advance < 0) return;
    const size_t bytes = static_cast<size_t>(advance) * static_cast<size_t>(height_);
    offset_[c] = static_cast<int32_t>(coverage_.size());
    advance_[c] = advance;
    if (coverage != nullptr) {
        coverage_.insert(coverage_.end(), coverage, coverage + bytes);
    } else {
        coverage_.insert(coverage_.end(), bytes, uint8_t{0});
    }
}

}  // namespace korvel
