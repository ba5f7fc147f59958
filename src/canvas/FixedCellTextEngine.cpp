#include "canvas/FixedCellTextEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t GlyphWidth = 5;
constexpr int32_t GlyphRows = 7;

struct Picture {
    char c;
    const char* rows[GlyphRows];
};

// The characters the plots write; every other printable character is a box.
constexpr Picture Pictures[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'d', {"....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'f', {"..##.", ".#...", "####.", ".#...", ".#...", ".#...", ".#..."}},
};

// The symbol face's two letters: micro sign for "m", capital delta for "D".
constexpr Picture Micro = {'m', {".....", ".....", "#...#", "#...#", "#...#", "##.##", "#.#.."}};
constexpr Picture Delta = {'D', {"..#..", "..#..", ".#.#.", ".#.#.", "#...#", "#...#", "#####"}};
constexpr Picture Box = {'?', {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"}};

const Picture* PictureOf(char c, bool symbol) {
    if (symbol && c == 'm') return &Micro;
    if (symbol && c == 'D') return &Delta;
    for (const Picture& picture : Pictures) {
        if (picture.c == c) return &picture;
    }
    return c == ' ' ? nullptr : &Box;
}

}  // namespace

int32_t FixedCellTextEngine::AdvanceFor(int32_t cellHeight) {
    return std::max(6, (cellHeight + 1) / 2);
}

int32_t FixedCellTextEngine::DescentFor(int32_t cellHeight) {
    return std::max(1, cellHeight / 5);
}

bool FixedCellTextEngine::MakeFont(const char* face, int32_t cellHeight, Font& font) {
    font.Clear();
    const bool symbol = std::strcmp(face, "Symbol") == 0;
    const bool courier = std::strcmp(face, "Courier") == 0;
    if ((symbol && !symbolAvailable) || (courier && !courierAvailable)) return false;
    if (!symbol && !courier && face[0] != '\0') return false;
    if (cellHeight < 1) return false;

    const int32_t advance = AdvanceFor(cellHeight);
    const int32_t ascent = cellHeight - DescentFor(cellHeight);
    font.Begin(cellHeight, ascent);
    std::vector<uint8_t> cell(static_cast<size_t>(advance) * cellHeight);
    const int32_t left = (advance - GlyphWidth) / 2;
    for (int32_t c = 32; c < 127; ++c) {
        std::fill(cell.begin(), cell.end(), uint8_t{0});
        if (const Picture* picture = PictureOf(static_cast<char>(c), symbol)) {
            for (int32_t r = 0; r < GlyphRows; ++r) {
                const int32_t y = ascent - GlyphRows + r;
                if (y < 0 || y >= cellHeight) continue;
                for (int32_t x = 0; x < GlyphWidth; ++x) {
                    if (picture->rows[r][x] == '#') cell[y * advance + left + x] = 255;
                }
            }
        }
        font.SetGlyph(static_cast<unsigned char>(c), advance, cell.data());
    }
    return true;
}

}  // namespace korvel
