#include "display/PlotFixture.h"

#include <algorithm>

#include "display/Plot.h"
#include "display/PlotStyle.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"

namespace korvel::test {

namespace {
bool CellIs(const Font& font, unsigned char c, int32_t left, int32_t top) {
    const uint8_t* glyph = font.Glyph(c);
    const int32_t w = font.Advance(c);
    for (int32_t i = 0; glyph != nullptr && i < w * font.Height(); ++i) {
        const bool inked = (PlotCanvas.Pixel(left + i % w, top + i / w) & 0xFFFFFF) != White;
        if (inked != (glyph[i] != 0)) return false;
    }
    return glyph != nullptr;
}
}  // namespace

void PlotTest::SetUp() {
    CoreTest::SetUp();
    InstallTextEngine(&engine);
}

void PlotTest::Prepare(int32_t width, int32_t height) {
    InstallTextEngine(&engine);
    PlotCanvas.Resize(width, height);
    CreatePlotFonts();
    OscState.DeviceReady = 1;
    ports.bottomBar[bottom::Min].text = "0";
    ports.bottomBar[bottom::Width].text = "12.5";
}

void PlotTest::FillSquareWave(int32_t count) {
    uint32_t state = 1;
    for (int32_t i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        const int32_t noise = static_cast<int32_t>((state >> 16) & 0x7FFF) * 30 / 32767;
        OscState.Record[i] = static_cast<float>((i % 1000 < 800 ? -40 : 100) + noise) * 7.8125f;
    }
    const auto [lo, hi] = std::minmax_element(OscState.Record, OscState.Record + count);
    OscState.DataMin = OscSettings.D_min = *lo;
    OscState.DataMax = OscSettings.D_max = *hi;
    OscSettings.Num_Data = count;
}

std::string PlotTest::ReadText(bool label, int32_t top, int32_t x0, int32_t x1) {
    const Font& font = label ? LabelFont : MessageFont;
    const Font& symbols = label ? LabelSymbolFont : MessageSymbolFont;
    auto charAt = [&](int32_t left) -> std::string {
        for (int c = 33; c < 127; ++c) {
            if (CellIs(font, static_cast<unsigned char>(c), left, top)) return std::string(1, c);
        }
        if (CellIs(symbols, 'm', left, top)) return "µ";
        return CellIs(symbols, 'D', left, top) ? "Δ" : "";
    };
    // Every x is tried as a cell's left edge: no character of the font is
    // another one shifted, so only the cell where a character was drawn reads.
    const int32_t w = font.Advance(' ');
    std::string out;
    for (int32_t x = x0, end = x0; x < x1; ++x) {
        const std::string read = charAt(x);
        if (read.empty()) continue;
        const int32_t gap = (x - end + w / 2) / w;
        out += out.empty() ? "" : gap > 8 ? " ... " : std::string(gap, ' ');
        out += read;
        end = x + w;
        x = end - 1;
    }
    return out.empty() ? "-" : out;
}

}  // namespace korvel::test
