#include "display/PlotStyle.h"

#include <algorithm>

#include "canvas/TextEngine.h"
#include "model/OscSettings.h"

namespace korvel {

Font LabelFont;
Font LabelSymbolFont;
Font MessageFont;
Font MessageSymbolFont;

namespace {

void MakePair(int32_t sizeIndex, Font& text, Font& symbol) {
    TextEngine* engine = InstalledTextEngine();
    text.Clear();
    symbol.Clear();
    if (engine == nullptr) return;
    // A size index beyond the list (a hand-made korvel.ini, a value set
    // through the parameters) takes the nearest size there is.
    const int32_t height = FontSizes[std::clamp(sizeIndex, 0, FontSizeTableLength - 1)];
    if (!engine->MakeFont("Courier", height, text)) engine->MakeFont("", height, text);
    engine->MakeFont("Symbol", height, symbol);
}

}  // namespace

void CreatePlotFonts() {
    MakePair(OscSettings.LFontSize, LabelFont, LabelSymbolFont);
    MakePair(OscSettings.MFontSize, MessageFont, MessageSymbolFont);
}

void ClearPlotFonts() {
    LabelFont.Clear();
    LabelSymbolFont.Clear();
    MessageFont.Clear();
    MessageSymbolFont.Clear();
}

}  // namespace korvel
