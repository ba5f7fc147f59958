// The oscillogram driven by the scenarios of tests/data/display: the mouse's
// zoom band, pans and marker drags, the cursors and their read-outs, the
// sub-window's fields, layout and labels. Every scenario starts on an 800 x 500
// plot of the simulated square wave, the fields at 0 and 12.5 us, the fields'
// text-changed reports wired as the main window wires them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "canvas/TextEngine.h"
#include "display/Plot.h"
#include "display/PlotCopy.h"
#include "display/PlotCursors.h"
#include "display/PlotFixture.h"
#include "display/PlotMouse.h"
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
    // Every pixel but those of the read-out column, or of a rectangle.
    static std::vector<uint32_t> Pixels(const Words& w) {
        const bool rect = w.size() == 5;
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < PlotCanvas.Height(); ++y) {
            for (int32_t x = 0; x < PlotCanvas.Width(); ++x) {
                const bool in =
                    rect ? x >= Int(w[1]) && y >= Int(w[2]) && x < Int(w[3]) && y < Int(w[4])
                         : x < PlotState.SubWindowRect.right || y < 102;
                if (in) out.push_back(PlotCanvas.Pixel(x, y));
            }
        }
        return out;
    }
    static int32_t Field(const std::string& name) {
        return name == "min" ? bottom::Min : bottom::Width;
    }
    std::vector<uint32_t> kept;
};

#define STATE(record, name) \
    { #name, &record.name }

TEST_P(PlotScript, Runs) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    ports.bottomBar.onTextChanged = [](int32_t) { SubWindowFieldChanged(); };
    RefreshPlot();

    Script s;
    s.figures = {STATE(OscSettings, Follow_Mode),
                 STATE(OscSettings, Grid),
                 STATE(OscSettings, Labels_X),
                 STATE(OscSettings, Labels_Y),
                 STATE(OscSettings, Num_Data),
                 STATE(OscSettings, D_min),
                 STATE(OscState, SamplePeriod),
                 STATE(OscState, TimeOffset),
                 STATE(OscState, FileView),
                 STATE(OscState, LoadedLength),
                 STATE(OscState, OscRunning),
                 STATE(OscState, SpectrumRunning),
                 STATE(OscState, ViewMin),
                 STATE(OscState, ViewMax),
                 STATE(OscState, AutoNormPending),
                 STATE(PlotState, ZoomArmed),
                 STATE(PlotState, BandShown),
                 STATE(PlotState, RefShown),
                 STATE(PlotState, CursorShown),
                 STATE(PlotState, OverviewCursorShown),
                 STATE(PlotState, HoverArea),
                 STATE(PlotState, DeltaShown),
                 STATE(PlotState, EditsLive),
                 STATE(PlotState, LabelsDirty),
                 STATE(PlotState, DrawBusy),
                 STATE(PlotState, MarkerShown),
                 STATE(PlotState, CursorY),
                 STATE(PlotState, RefY),
                 STATE(PlotState, TrackingOn),
                 STATE(ports.frame, plotShown),
                 STATE(ports.clipboard, dpiX),
                 STATE(ports.clipboard, dpiY),
                 {"OverviewArea.span", &OverviewArea.span},
                 {"SubWindowRect.right", &PlotState.SubWindowRect.right}};

    s.steps["canvas"] = [this](const Words& w) {
        InstallTextEngine(&engine);
        Prepare(Int(w[1]), Int(w[2]));
    };
    s.steps["square"] = [](const Words& w) { FillSquareWave(Int(w[1])); };
    s.steps["flat"] = [](const Words& w) { FillConstant(Int(w[1]), std::stof(w[2])); };
    s.steps["reset"] = [](const Words&) { ResetPlotState(); };
    s.steps["refresh"] = [](const Words&) { RefreshPlot(); };
    s.steps["sub"] = [](const Words& w) { SetSubWindow(Int(w[1]), Int(w[2])); };
    s.steps["draw"] = [](const Words& w) { DrawSubWindow(PlotCanvas, Int(w[1]), Int(w[2])); };
    s.steps["hover"] = [](const Words& w) { PlotMouseMove(0, Int(w[1]), Int(w[2])); };
    s.steps["drag"] = [](const Words& w) { PlotMouseMove(MouseLeft, Int(w[1]), Int(w[2])); };
    s.steps["move"] = [](const Words& w) {  // buttons and keys held: left+shift, ...
        uint32_t flags = 0;
        for (const auto& [name, flag] : {std::pair{"left", MouseLeft},
                                         {"right", MouseRight},
                                         {"shift", MouseShift},
                                         {"control", MouseControl},
                                         {"middle", MouseMiddle}}) {
            if (w[1].find(name) != std::string::npos) flags |= flag;
        }
        PlotMouseMove(flags, Int(w[2]), Int(w[3]));
    };
    s.steps["down"] = [](const Words& w) { PlotLeftDown(Int(w[1]), Int(w[2])); };
    s.steps["up"] = [](const Words&) { PlotLeftUp(); };
    s.steps["double"] = [](const Words&) { PlotLeftDoubleClick(); };
    s.steps["rdown"] = [](const Words& w) { PlotRightDown(Int(w[1]), Int(w[2])); };
    s.steps["rdouble"] = [](const Words&) { PlotRightDoubleClick(); };
    s.steps["type"] = [this](const Words& w) { ports.bottomBar.Type(Field(w[1]), w[2]); };
    s.steps["field"] = [this](const Words& w) { ports.bottomBar[Field(w[1])].text = w[2]; };
    s.steps["copy"] = [](const Words&) { CopyPlotToClipboard(); };
    s.steps["erase"] = [](const Words&) {
        EraseCursors(PlotCanvas);
        EraseReference();
    };
    s.steps["nosymbols"] = [this](const Words&) {
        engine.symbolAvailable = false;
        CreatePlotFonts();
    };
    s.steps["keep"] = [this](const Words& w) { kept = Pixels(w); };

    s.probes["span"] = [](const Words&) { return Join({OscSettings.Data_S, OscSettings.Data_E}); };
    s.probes["kept"] = [this](const Words& w) { return kept == Pixels(w) ? "same" : "changed"; };
    s.probes["pixel"] = [](const Words& w) {
        char text[8];
        std::snprintf(text, sizeof text, "%06x", PlotCanvas.Pixel(Int(w[1]), Int(w[2])) & 0xFFFFFF);
        return std::string(text);
    };
    s.probes["field"] = [this](const Words& w) { return ports.bottomBar[Field(w[1])].text; };
    s.probes["writes"] = [this](const Words&) {  // since the last look
        std::string out;
        for (const auto& [id, text] : ports.bottomBar.writes)
            out += (out.empty() ? "" : " ") + std::string(id == bottom::Min ? "min=" : "width=") +
                   text;
        ports.bottomBar.writes.clear();
        return out.empty() ? "-" : out;
    };
    s.probes["pointers"] = [this](const Words&) {  // since the last look
        const char* names[] = {"arrow", "hourglass", "size", "hand"};
        std::string out;
        for (const Pointer p : ports.frame.pointers)
            out += (out.empty() ? "" : " ") + std::string(names[static_cast<int>(p)]);
        ports.frame.pointers.clear();
        return out.empty() ? "-" : out;
    };
    s.probes["readout"] = [](const Words& w) {
        const int32_t top = PlotState.ReadoutY[Int(w[1])] - MessageFont.Ascent();
        return ReadText(MessageFont, MessageSymbolFont, top, PlotState.SubWindowRect.right,
                        PlotState.OverviewRect.right);
    };
    s.probes["timelabels"] = [](const Words&) {
        const Rect& r = PlotState.SubWindowRect;
        return ReadText(LabelFont, LabelSymbolFont, SubWindowArea.bottom + 6, r.left + 1,
                        r.right - 2);
    };
    s.probes["area"] = [](const Words& w) {
        const PlotArea& a = w[1] == "sub" ? SubWindowArea : OverviewArea;
        return Join({a.axisX, a.top, a.width, a.height, a.zeroY, a.first, a.last});
    };
    s.probes["rect"] = [](const Words& w) {
        const Rect& r = w[1] == "sub" ? PlotState.SubWindowRect : PlotState.OverviewRect;
        return Join({r.left, r.top, r.right, r.bottom});
    };
    s.probes["marker"] = [](const Words&) {
        const PlotStateRecord& p = PlotState;
        return Join({p.MarkerX1, p.MarkerX2, p.LeftZone.lo, p.LeftZone.hi, p.RightZone.lo,
                     p.RightZone.hi, p.MoveX1, p.MoveX2});
    };
    s.probes["labels"] = [](const Words&) {
        const TickSet& t = PlotState.SubWindowLabels;
        return std::to_string(t.count) + " " + Figure(t.low) + " " + Figure(t.high);
    };
    s.probes["readouts"] = [](const Words&) {
        const PlotStateRecord& p = PlotState;
        return Join({p.ReadoutX, p.ReadoutY[0], p.ReadoutY[1], p.ReadoutY[2], p.ReadoutY[3]});
    };
    s.probes["clipboard"] = [this](const Words&) {
        const FakeClipboard& c = ports.clipboard;
        std::vector<uint32_t> shown(c.pixels.size());
        PlotCanvas.CopyRect(PlotState.SubWindowRect.left + 1, PlotState.SubWindowRect.top + 1,
                            c.width, c.height, shown.data(), c.width);
        return Join({c.copies, c.width, c.height, c.widthTenthMm, c.heightTenthMm}) +
               (shown == c.pixels ? " as shown" : " other pixels");
    };
    s.Run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Mouse, PlotScript, testing::ValuesIn(ReadScenarios("display/mouse.txt")),
                         ScenarioName);
INSTANTIATE_TEST_SUITE_P(Readouts, PlotScript,
                         testing::ValuesIn(ReadScenarios("display/readouts.txt")), ScenarioName);
INSTANTIATE_TEST_SUITE_P(SubWindow, PlotScript,
                         testing::ValuesIn(ReadScenarios("display/subwindow.txt")), ScenarioName);

}  // namespace
}  // namespace korvel::test
