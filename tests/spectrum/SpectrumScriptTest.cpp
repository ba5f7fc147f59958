// The spectrum window driven by the scenarios of tests/data/spectrum: its
// plot's pixels, the typed and the clicked ranges, the selection band, the
// copy. Every scenario starts with the ramp of 301 bins 1 kHz apart in a
// window of 512 x 300, bars of 20 and 16 pixels, labels in 8 x 16 blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "display/PlotState.h"
#include "display/PlotStyle.h"
#include "display/Script.h"
#include "model/OscState.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumCopy.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumSelection.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {
namespace {

class SpectrumScript : public SpectrumTest, public testing::WithParamInterface<Scenario> {
  protected:
    static uint32_t At(int32_t x, int32_t y) { return SpectrumCanvas.Pixel(x, y) & 0xFFFFFF; }
    // Row dy below the plot's bottom (above it when negative).
    static int32_t Row(const std::string& dy) { return SpectrumView.PlotRect.bottom + Int(dy); }
    static std::vector<uint32_t> Pixels() {
        const uint32_t* p = SpectrumCanvas.Pixels();
        return {p, p + SpectrumCanvas.Width() * SpectrumCanvas.Height()};
    }
    std::string Field(int32_t id) { return "[" + ports.spectrumBottomBar[id].text + "]"; }
    std::vector<uint32_t> kept;
};

TEST_P(SpectrumScript, Runs) {
    PutSpectrum(Ramp(), 1.0f);
    Open(512, 300);

    Script s;
    s.figures = {{"SpectrumRunning", &OscState.SpectrumRunning},
                 {"SpectrumValid", &OscState.SpectrumValid},
                 {"Selecting", &SpectrumView.Selecting},
                 {"SelectionShown", &SpectrumView.SelectionShown},
                 {"EditsActive", &SpectrumView.EditsActive},
                 {"CurrentX", &SpectrumView.CurrentX},
                 {"VisLowFrac", &SpectrumView.VisLowFrac},
                 {"VisHighFrac", &SpectrumView.VisHighFrac},
                 {"SubWindowArea.last", &SubWindowArea.last},
                 {"CursorShown", &PlotState.CursorShown},
                 {"RefShown", &PlotState.RefShown},
                 {"OscRunning", &OscState.OscRunning},
                 {"dpiY", &ports.clipboard.dpiY},
                 {"copies", &ports.clipboard.copies},
                 {"spectrumShown", &ports.frame.spectrumShown}};
    s.steps["put"] = [](const Words& w) {  // bin width, then bins: ramp, N*value or values
        std::vector<float> bins;
        for (size_t i = 2; i < w.size(); ++i) {
            const size_t times = w[i].find('*');
            if (w[i] == "ramp") bins = Ramp();
            if (w[i] != "ramp" && times == std::string::npos) bins.push_back(std::stof(w[i]));
            if (times != std::string::npos)
                bins.insert(bins.end(), Int(w[i]), std::stof(w[i].substr(times + 1)));
        }
        PutSpectrum(bins, std::stof(w[1]));
    };
    s.steps["open"] = [](const Words& w) { Open(Int(w[1]), Int(w[2])); };
    s.steps["paint"] = [](const Words&) { Paint(); };
    s.steps["draw"] = [](const Words& w) { DrawSpectrum(Int(w[1]), Int(w[2])); };
    s.steps["type"] = [this](const Words& w) { Type(w[1], w[2]); };
    s.steps["click"] = [](const Words& w) { SpectrumLeftDown(Int(w[1])); };
    s.steps["move"] = [](const Words& w) { SpectrumMouseMove(Int(w[1])); };
    s.steps["right"] = [](const Words& w) { SpectrumRightDown(Int(w[1])); };
    s.steps["double"] = [](const Words& w) { SpectrumDoubleClick(Int(w[1])); };
    s.steps["closed"] = [](const Words&) { SpectrumWindowDestroyed(); };
    s.steps["forget"] = [](const Words&) { SpectrumView = SpectrumViewRecord{}; };
    s.steps["copy"] = [](const Words&) { CopySpectrum(); };
    s.steps["show"] = [](const Words&) { ShowSpectrum(); };
    s.steps["nowindow"] = [this](const Words&) { ports.frame.spectrumWindowMade = false; };
    s.steps["keep"] = [this](const Words&) { kept = Pixels(); };

    s.probes["kept"] = [this](const Words&) { return kept == Pixels() ? "same" : "changed"; };
    s.probes["shown"] = [](const Words&) {
        return Figure(SpectrumView.VisLowFreq) + " " + Figure(SpectrumView.VisHighFreq);
    };
    s.probes["fields"] = [this](const Words&) {
        return Field(spectrumBottom::Min) + " " + Field(spectrumBottom::Width) + " " +
               Field(spectrumBottom::MaxFreq);
    };
    s.probes["writes"] = [this](const Words&) {  // since the last look
        const size_t count = ports.spectrumBottomBar.writes.size();
        ports.spectrumBottomBar.writes.clear();
        return std::to_string(count);
    };
    s.probes["plot"] = [](const Words&) {
        const Rect& p = SpectrumView.PlotRect;
        return Join({p.left, p.top, p.right, p.bottom});
    };
    s.probes["pixel"] = [](const Words& w) {
        char text[8];
        std::snprintf(text, sizeof text, "%06x", At(Int(w[1]), Int(w[2])));
        return std::string(text);
    };
    // The columns of a colour (red, black or grid) in a row, within [x0, x1) if given.
    auto columns = [](const Words& w) {
        const uint32_t colour = w[1] == "red"     ? AxisPen.color
                                : w[1] == "black" ? Black
                                                  : GridPen.color;
        std::vector<int32_t> found;
        const int32_t x1 = w.size() > 4 ? Int(w[4]) : SpectrumCanvas.Width();
        for (int32_t x = w.size() > 4 ? Int(w[3]) : 0; x < x1; ++x) {
            if (At(x, Row(w[2])) == colour) found.push_back(x);
        }
        return found;
    };
    s.probes["columns"] = [=](const Words& w) {
        const std::vector<int32_t> found = columns(w);
        return found.empty() ? "-" : Join(found);
    };
    s.probes["count"] = [=](const Words& w) { return std::to_string(columns(w).size()); };
    s.probes["ink"] = [](const Words& w) {  // the runs of non-white pixels in a row, [start, end)
        std::string out;
        for (int32_t x = 0, start = -1; x <= SpectrumCanvas.Width(); ++x) {
            const bool ink = x < SpectrumCanvas.Width() && At(x, Row(w[1])) != White;
            if (ink && start < 0) start = x;
            if (!ink && start >= 0)
                out += (out.empty() ? "" : " ") + std::to_string(start) + "-" + std::to_string(x);
            if (!ink) start = -1;
        }
        return out.empty() ? "-" : out;
    };
    s.probes["line"] = [](const Words& w) {  // the top row of the red line in a column
        int32_t top = -1;
        for (int32_t y = SpectrumView.PlotRect.bottom; y >= 0 && At(Int(w[1]), y) == AxisPen.color;
             --y)
            top = y;
        return top < 0 ? std::string("-") : std::to_string(top);
    };
    s.probes["message"] = [this](const Words&) {
        const auto& m = ports.dialogs.messages;
        return m.empty() ? "-" : m.back().text + " | " + m.back().caption;
    };
    s.probes["outdated"] = [](const Words&) { return SpectrumOutdated() ? "yes" : "no"; };
    s.probes["clipboard"] = [this](const Words&) {
        const FakeClipboard& c = ports.clipboard;
        const uint32_t* shown = SpectrumCanvas.Pixels() + (TopBar + 1) * c.width;
        const bool same = c.pixels == std::vector<uint32_t>(shown, shown + c.width * c.height);
        return Join({c.copies, c.width, c.height, c.widthTenthMm, c.heightTenthMm}) +
               (same ? " as shown" : " other pixels");
    };
    s.Run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Plot, SpectrumScript,
                         testing::ValuesIn(ReadScenarios("spectrum/plot.txt")), ScenarioName);
INSTANTIATE_TEST_SUITE_P(Ranges, SpectrumScript,
                         testing::ValuesIn(ReadScenarios("spectrum/ranges.txt")), ScenarioName);

}  // namespace
}  // namespace korvel::test
