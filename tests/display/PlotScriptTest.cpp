// The oscillogram driven by the scenarios of tests/data/display: the mouse's
// zoom band, pans and marker drags, the cursors and their read-outs, the
// sub-window's fields, the layout, labels, scale and trace, and whole plots
// compared pixel for pixel with reference pictures. The fields' text-changed
// reports are wired as the main window wires them.
//
// After an intended change of the drawing, regenerate the reference pictures
// with
//     KORVEL_WRITE_GOLDEN=1 ctest --preset default -R golden_
// and look at them before committing: every run also writes the picture
// drawn as <name>.ppm into the system's temporary folder.
//
// Reference file (tests/data/<name>.rle): "KORVRLE2"; width, height and the
// number of colours (at most 256) as little-endian uint32; the colours
// (0xFFRRGGBB) likewise; then runs until width x height pixels, each its length
// as a base-128 number (low 7 bits first, the high bit on every byte but the
// last) and a colour index. The encoding is canonical: equal bytes are equal
// pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "display/Plot.h"
#include "display/PlotCopy.h"
#include "display/PlotCursors.h"
#include "display/PlotFixture.h"
#include "display/PlotMouse.h"
#include "display/PlotScale.h"
#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/Script.h"
#include "display/SubWindowFields.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"

namespace korvel::test {
namespace {

class PlotScript : public PlotTest, public testing::WithParamInterface<Scenario> {
  protected:
    static std::vector<uint32_t> Pixels(W w) {  // keep|kept x0 y0 x1 y1: [x0, x1) x [y0, y1)
        std::vector<uint32_t> out;
        for (int32_t y = Int(w[2]); y < Int(w[4]); ++y) {
            for (int32_t x = Int(w[1]); x < Int(w[3]); ++x)
                out.push_back(PlotCanvas.Pixel(x, y));
        }
        return out;
    }
    // The reference file's bytes for a canvas: the colours in the order they
    // first appear, so that the encoding is canonical.
    static std::string Encoded(const Canvas& c) {
        const uint32_t* p = c.Pixels();
        const size_t n = static_cast<size_t>(c.Width()) * c.Height();
        std::vector<uint32_t> colours;
        std::string out = "KORVRLE2", runs;
        for (size_t i = 0, j = 0; i < n; i = j) {
            while (j < n && p[j] == p[i])
                ++j;
            const size_t colour = std::find(colours.begin(), colours.end(), p[i]) - colours.begin();
            if (colour == colours.size()) colours.push_back(p[i]);
            size_t length = j - i;
            for (; length >= 0x80; length >>= 7)
                runs += static_cast<char>(length | 0x80);
            runs += {static_cast<char>(length), static_cast<char>(colour)};
        }
        std::vector<uint32_t> words{static_cast<uint32_t>(c.Width()),
                                    static_cast<uint32_t>(c.Height()),
                                    static_cast<uint32_t>(colours.size())};
        words.insert(words.end(), colours.begin(), colours.end());
        for (const uint32_t v : words)
            out += {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                    static_cast<char>(v >> 24)};
        return out + runs;
    }
    std::vector<uint32_t> kept;
};

TEST_P(PlotScript, Runs) {
    ports.bottomBar.onTextChanged = [](int32_t) { SubWindowFieldChanged(); };
    Script s;
    // clang-format off
    s.figures = {FIGURE(OscSettings, Follow_Mode), FIGURE(OscSettings, Grid),
        FIGURE(OscSettings, Labels_X), FIGURE(OscSettings, Labels_Y), FIGURE(OscSettings, Num_Data),
        FIGURE(OscSettings, D_min), FIGURE(OscSettings, LFontSize), FIGURE(OscSettings, MFontSize),
        FIGURE(OscState, SamplePeriod), FIGURE(OscState, TimeOffset), FIGURE(OscState, FileView),
        FIGURE(OscState, LoadedLength), FIGURE(OscState, OscRunning), FIGURE(OscState, ViewMin),
        FIGURE(OscState, SpectrumRunning), FIGURE(OscState, ViewMax), FIGURE(OscState, AutoNormPending),
        FIGURE(PlotState, ZoomArmed), FIGURE(PlotState, BandShown), FIGURE(PlotState, RefShown),
        FIGURE(PlotState, CursorShown), FIGURE(PlotState, OverviewCursorShown),
        FIGURE(PlotState, DeltaShown), FIGURE(PlotState, EditsLive),
        FIGURE(PlotState, LabelsDirty), FIGURE(PlotState, DrawBusy), FIGURE(PlotState, MarkerShown),
        FIGURE(PlotState, CursorY), FIGURE(PlotState, RefY), FIGURE(PlotState, TrackingOn),
        FIGURE(ports.frame, plotShown), FIGURE(ports.clipboard, dpiX), FIGURE(ports.clipboard, dpiY),
        {"OverviewArea.span", &OverviewArea.span},
        {"SubWindowLabels.count", &PlotState.SubWindowLabels.count},
        {"SubWindowLabels.high", &PlotState.SubWindowLabels.high},
        {"SubWindowRect.right", &PlotState.SubWindowRect.right}};
    // clang-format on

    s.steps["canvas"] = [this](W w) { Prepare(Int(w[1]), Int(w[2])); };
    s.steps["square"] = [](W w) { FillSquareWave(Int(w[1])); };
    s.steps["reset"] = [](W) { ResetPlotState(); };
    s.steps["refresh"] = [](W) { RefreshPlot(); };
    s.steps["sub"] = [](W w) { SetSubWindow(Int(w[1]), Int(w[2])); };
    s.steps["draw"] = [](W w) { DrawSubWindow(PlotCanvas, Int(w[1]), Int(w[2])); };
    s.steps["hover"] = [](W w) { PlotMouseMove(0, Int(w[1]), Int(w[2])); };
    s.steps["drag"] = [](W w) { PlotMouseMove(MouseLeft, Int(w[1]), Int(w[2])); };
    s.steps["move"] = [](W w) {  // with the left button and S(hift), C(ontrol), R(ight) or M(iddle)
        const uint32_t with[] = {MouseShift, MouseControl, MouseRight, MouseMiddle};
        PlotMouseMove(MouseLeft | with[std::string("SCRM").find(w[1])], Int(w[2]), Int(w[3]));
    };
    s.steps["down"] = [](W w) { PlotLeftDown(Int(w[1]), Int(w[2])); };
    s.steps["up"] = [](W) { PlotLeftUp(); };
    s.steps["double"] = [](W) { PlotLeftDoubleClick(); };
    s.steps["rdown"] = [](W w) { PlotRightDown(Int(w[1]), Int(w[2])); };
    s.steps["rdouble"] = [](W) { PlotRightDoubleClick(); };
    s.steps["escape"] = [](W) { PlotCancel(); };
    auto field = [](const std::string& f) { return f == "min" ? bottom::Min : bottom::Width; };
    s.steps["type"] = [&](W w) { ports.bottomBar.Type(field(w[1]), w[2]); };    // as the user types
    s.steps["field"] = [&](W w) { ports.bottomBar[field(w[1])].text = w[2]; };  // unreported
    s.steps["copy"] = [](W) { CopyPlotToClipboard(); };
    s.steps["erase-cursors"] = [](W) { EraseCursors(PlotCanvas); };
    s.steps["erase-reference"] = [](W) { EraseReference(); };
    s.steps["fonts"] = [this](W w) {  // made again with only the faces named
        engine.courierAvailable = std::count(w.begin(), w.end(), "courier") != 0;
        engine.symbolAvailable = std::count(w.begin(), w.end(), "symbol") != 0;
        CreatePlotFonts();
    };
    s.steps["keep"] = [this](W w) { kept = Pixels(w); };
    s.steps["smear"] = [](W) {  // every pixel black, as a stale screen could be
        PlotCanvas.FillRect(0, 0, PlotCanvas.Width(), PlotCanvas.Height(), 0xFF000000u);
    };

    s.probes["kept"] = [this](W w) { return kept == Pixels(w) ? "same" : "changed"; };
    s.probes["span"] = [](W) { return Join({OscSettings.Data_S, OscSettings.Data_E}); };
    s.probes["pixel"] = [](W w) { return Hex(PlotCanvas.Pixel(Int(w[1]), Int(w[2]))); };
    s.probes["field"] = [&](W w) { return ports.bottomBar[field(w[1])].text; };
    s.probes["writes"] = [this](W) {  // since the last look
        return Drain(ports.bottomBar.writes, [](const auto& write) {
            return (write.first == bottom::Min ? "min=" : "width=") + write.second;
        });
    };
    s.probes["pointers"] = [this](W) {  // since the last look
        const char* names[] = {"arrow", "hourglass", "size", "hand"};
        return Drain(ports.frame.pointers, [&](Pointer p) { return names[static_cast<int>(p)]; });
    };
    // The read-out column's line N (0 T, 1 V, 2 dT, 3 dV), and the time labels
    // under the sub-window, read back from their pixels.
    s.probes["readout"] = [](W w) {
        const Rect& r = PlotState.SubWindowRect;
        return ReadText(false, PlotState.ReadoutY[Int(w[1])] - MessageFont.Ascent(), r.right, 798);
    };
    s.probes["timelabels"] = [](W) {
        const Rect& r = PlotState.SubWindowRect;
        return ReadText(true, SubWindowArea.bottom + 6, r.left + 1, r.right - 2);
    };
    // The voltage labels left of a plot's axis read back from their pixels,
    // from the top down, each with the top row of its cell: "100@12 0@40".
    s.probes["vlabels"] = [](W w) {
        const bool sub = w[1] == "sub";
        const PlotArea& a = sub ? SubWindowArea : OverviewArea;
        const Rect& r = sub ? PlotState.SubWindowRect : PlotState.OverviewRect;
        const int32_t bottom = sub ? PlotCanvas.Height() : PlotState.SubWindowRect.top;
        std::string out;
        for (int32_t y = 0; y + LabelFont.Height() <= bottom; ++y) {
            const std::string text =
                ReadText(true, y, r.left + 1, a.axisX - 3 - LabelFont.Advance(' '));
            if (text != "-") out += (out.empty() ? "" : " ") + text + "@" + std::to_string(y);
        }
        return out.empty() ? "-" : out;
    };
    // A trace area as last drawn: axisX, top, width, height, zeroY, first and last sample.
    s.probes["area"] = [](W w) {
        const PlotArea& a = w[1] == "sub" ? SubWindowArea : OverviewArea;
        return Join({a.axisX, a.top, a.width, a.height, a.zeroY, a.first, a.last});
    };
    // A plot's frame: left, top, right, bottom.
    s.probes["rect"] = [](W w) {
        const Rect& r = w[1] == "sub" ? PlotState.SubWindowRect : PlotState.OverviewRect;
        return Join({r.left, r.top, r.right, r.bottom});
    };
    // The marker on the overview: its edges, its two grab zones, and its
    // edges while it is moved whole.
    s.probes["marker"] = [](W) {
        const PlotStateRecord& p = PlotState;
        return Join({p.MarkerX1, p.MarkerX2, p.LeftZone.lo, p.LeftZone.hi, p.RightZone.lo,
                     p.RightZone.hi, p.MoveX1, p.MoveX2});
    };
    // Copies made, the last one's size in pixels and tenths of a millimetre,
    // and whether its pixels are those inside the sub-window's frame.
    s.probes["clipboard"] = [this](W) {
        const FakeClipboard& c = ports.clipboard;
        std::vector<uint32_t> shown(c.pixels.size());
        PlotCanvas.CopyRect(PlotState.SubWindowRect.left + 1, PlotState.SubWindowRect.top + 1,
                            c.width, c.height, shown.data(), c.width);
        return Join({c.copies, c.width, c.height, c.widthTenthMm, c.heightTenthMm}) +
               (shown == c.pixels ? " as shown" : " other pixels");
    };
    s.probes["golden"] = [this](W w) {  // the canvas against tests/data/<name>.rle
        const Canvas& c = PlotCanvas;
        const std::string picture =
            (std::filesystem::temp_directory_path() / (w[1] + ".ppm")).string();
        std::ofstream ppm(picture, std::ios::binary);
        ppm << "P6\n" << c.Width() << " " << c.Height() << "\n255\n";
        for (int32_t i = 0; i < c.Width() * c.Height(); ++i)
            ppm << char(c.Pixels()[i] >> 16) << char(c.Pixels()[i] >> 8) << char(c.Pixels()[i]);
        const std::string drawn = Encoded(c);
        const std::string reference = std::string(KORVEL_TEST_DATA_DIR) + "/" + w[1] + ".rle";
        if (std::getenv("KORVEL_WRITE_GOLDEN") != nullptr)
            std::ofstream(reference, std::ios::binary) << drawn;
        return ReadFile(reference) == drawn ? "same" : "differs, drawn as " + picture;
    };
    s.probes["widen"] = [](W w) {
        const VerticalScale v = WidenRange(std::stof(w[1]), std::stof(w[2]));
        return Figure(v.lo) + " " + Figure(v.hi) + " " + Figure(v.range) +
               (v.noData ? " none" : "");
    };
    s.Run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Display, PlotScript,
    testing::ValuesIn(ReadScenarios({"display/golden.txt", "display/plot.txt", "display/mouse.txt",
                                     "display/readouts.txt", "display/subwindow.txt"})),
    ScenarioName);

}  // namespace
}  // namespace korvel::test
