// A text engine that needs no installed font: every face is the same small
// 5 x 7 pixel alphabet in a fixed cell, so a picture with texts comes out the
// same on every machine. Tests and headless benchmarks draw with it.
#pragma once

#include "canvas/TextEngine.h"

namespace korvel {

class FixedCellTextEngine : public TextEngine {
  public:
    // Which faces can be made; a test switches one off to see the program
    // live without it.
    bool courierAvailable = true;
    bool symbolAvailable = true;

    // Cell: cellHeight rows, of which max(1, cellHeight / 5) lie below the
    // baseline; every character is max(6, (cellHeight + 1) / 2) wide.
    bool MakeFont(const char* face, int32_t cellHeight, Font& font) override;

    static int32_t AdvanceFor(int32_t cellHeight);
    static int32_t DescentFor(int32_t cellHeight);
};

}  // namespace korvel
