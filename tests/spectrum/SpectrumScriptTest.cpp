// The spectrum driven by the scenarios of tests/data/spectrum: ComputeSpectrum
// in every mode, the window's plot pixels, its typed and clicked ranges, the
// selection band, the copy, the continuous run and the spectrum file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "acquisition/CaptureEngine.h"
#include "display/PlotStyle.h"
#include "display/Script.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "ports/SpectrumControlIds.h"
#include "spectrum/DrawSpectrum.h"
#include "spectrum/SpectrumCopy.h"
#include "spectrum/SpectrumData.h"
#include "spectrum/SpectrumFile.h"
#include "spectrum/SpectrumFixture.h"
#include "spectrum/SpectrumRun.h"
#include "spectrum/SpectrumSelection.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"

namespace korvel::test {
namespace {

class SpectrumScript : public SpectrumTest, public testing::WithParamInterface<Scenario> {
  protected:
    // Numbers, and N*a,b,... for N times the values a, b, ...
    static std::vector<float> Values(W w, size_t from) {
        std::vector<float> out;
        for (size_t i = from; i < w.size(); ++i) {
            const size_t times = w[i].find('*');
            std::istringstream list(w[i].substr(times + 1));  // the whole word without a '*'
            std::vector<float> group;
            for (std::string v; std::getline(list, v, ',');)
                group.push_back(std::stof(v));
            for (int32_t n = times == std::string::npos ? 1 : Int(w[i]); n > 0; --n)
                out.insert(out.end(), group.begin(), group.end());
        }
        return out;
    }
    static uint32_t At(int32_t x, int32_t y) { return SpectrumCanvas.Pixel(x, y) & 0xFFFFFF; }
    static std::vector<uint32_t> Pixels() {
        const uint32_t* p = SpectrumCanvas.Pixels();
        return {p, p + SpectrumCanvas.Width() * SpectrumCanvas.Height()};
    }
    static float* Buffer(const std::string& name) {
        return name == "work" ? SpectrumData.Work : SpectrumData.Average;
    }
    std::vector<uint32_t> kept;
    SpectrumResult result;
};

TEST_P(SpectrumScript, Runs) {
    FakeControls& top = ports.spectrumTopBar;
    FakeControls& bottom = ports.spectrumBottomBar;
    Script s;
    // clang-format off
    s.figures = {FIGURE(OscState, SpectrumRunning), FIGURE(OscState, SpectrumValid),
        FIGURE(OscState, OscRunning), FIGURE(OscState, Russian), FIGURE(OscState, SamplePeriod),
        FIGURE(OscSettings, Num_Data), FIGURE(OscSettings, Osc_Freq), FIGURE(SpectrumView, Selecting),
        FIGURE(SpectrumView, SelectionShown), FIGURE(SpectrumView, EditsActive),
        FIGURE(SpectrumView, CurrentX), FIGURE(SpectrumView, VisLowFrac),
        FIGURE(SpectrumView, VisHighFrac), FIGURE(SpectrumView, Averaged), FIGURE(SpectrumView, ShownFirst), FIGURE(SpectrumView, ShownEnd),
        FIGURE(SpectrumView, TopBarHeight),
        FIGURE(SpectrumData, FftSize), FIGURE(SpectrumData, FftLog2), FIGURE(SpectrumData, LastBin),
        FIGURE(SpectrumData, BinWidth), FIGURE(SpectrumData, AverageCount),
        FIGURE(SpectrumData, CachedFirst), FIGURE(SpectrumData, CachedLast),
        FIGURE(PlotState, CursorShown), FIGURE(PlotState, RefShown), FIGURE(ports.clipboard, dpiY),
        FIGURE(ports.clipboard, copies), FIGURE(ports.frame, spectrumShown),
        FIGURE(top, repaints), {"SubWindowArea.last", &SubWindowArea.last},
        {"PlotRect.top", &SpectrumView.PlotRect.top}, {"PlotRect.right", &SpectrumView.PlotRect.right},
        {"PlotRect.bottom", &SpectrumView.PlotRect.bottom}};
    // clang-format on

    // The computation: samples from FIRST, then ComputeSpectrum.
    s.steps["samples"] = [](W w) {
        const std::vector<float> v = Values(w, 2);
        std::copy(v.begin(), v.end(), OscState.Record + Int(w[1]));
    };
    s.steps["cosine"] = [](W w) {  // N samples from 0: 100 + A cos(2 pi BIN i / N)
        for (int32_t i = 0, n = Int(w[1]); i < n; ++i)
            OscState.Record[i] =
                static_cast<float>(100 + std::stod(w[3]) * std::cos(2 * M_PI * Int(w[2]) * i / n));
    };
    s.steps["scale"] = [](W w) {
        std::for_each(OscState.Record, OscState.Record + Int(w[1]),
                      [&](float& v) { v *= std::stof(w[2]); });
    };
    s.steps["compute"] = [&](W w) {
        const char* modes[] = {"cached", "reset", "fresh", "accumulate"};
        const auto mode = std::find(modes, modes + 4, w[3]) - modes;
        result = ComputeSpectrum(Int(w[1]), Int(w[2]), static_cast<SpectrumMode>(mode));
    };
    s.steps["poke"] = [](W w) { Buffer(w[1])[Int(w[2])] = std::stof(w[3]); };
    // The window.
    s.steps["put"] = [](W w) { PutSpectrum(Values(w, 2), std::stof(w[1])); };
    s.steps["open"] = [](W w) { Open(Int(w[1]), Int(w[2])); };
    s.steps["paint"] = [](W) { Paint(); };
    s.steps["draw"] = [](W w) { DrawSpectrum(Int(w[1]), Int(w[2])); };
    s.steps["type"] = [&](W w) {  // both fields, the last keystroke reported
        bottom[spectrumBottom::Min].text = w[1];
        bottom.Type(spectrumBottom::Width, w[2]);
    };
    s.steps["click"] = [](W w) { SpectrumLeftDown(Int(w[1])); };
    s.steps["move"] = [](W w) { SpectrumMouseMove(Int(w[1])); };
    s.steps["right"] = [](W w) { SpectrumRightDown(Int(w[1])); };
    s.steps["double"] = [](W w) { SpectrumDoubleClick(Int(w[1])); };
    s.steps["closed"] = [](W) { SpectrumWindowDestroyed(); };
    s.steps["copy"] = [](W) { CopySpectrum(); };
    s.steps["show"] = [](W) { ShowSpectrum(); };
    s.steps["nowindow"] = [&](W) { ports.frame.spectrumWindowMade = false; };
    s.steps["keep"] = [&](W) { kept = Pixels(); };
    // The run, the file.
    s.steps["capture"] = [](W) { CaptureStep(); };
    s.steps["toggle"] = [](W) { ToggleSpectrumRun(); };
    s.steps["tick"] = [](W) { SpectrumRunTick(); };
    s.steps["accumulate"] = [&](W w) { top[spectrumTop::Accumulate].checked = w[1] == "1"; };
    s.steps["counter"] = [&](W w) { top[spectrumTop::Counter].text = w[1]; };
    s.steps["answer"] = [&](W w) {  // a file below the test's folder, with its bytes
        if (w.size() > 2) WriteFile(w[1], w[2]);
        ports.dialogs.saveAnswers.push_back({TempDir() + "/" + w[1], 1});
    };
    s.steps["save"] = [](W) { SaveSpectrum(); };

    s.probes["result"] = [&](W) {  // BinCount, FreqHigh and the buffer returned
        const char* buffer = result.Bins == SpectrumData.Work ? " work" : " average";
        return std::to_string(result.BinCount) + " " + Figure(result.FreqHigh) + buffer;
    };
    s.probes["bins"] = [](W w) {  // powers K0 .. K1 to five digits, below 1e-6 as 0
        std::string out;
        for (int32_t k = Int(w[2]); k <= Int(w[3]); ++k) {
            char figure[32];
            const double v = Buffer(w[1])[k];
            std::snprintf(figure, sizeof figure, " %.5g", std::fabs(v) < 1e-6 ? 0.0 : v);
            out += figure;
        }
        return out.substr(1);
    };
    s.probes["kept"] = [&](W) { return kept == Pixels() ? "same" : "changed"; };
    s.probes["shown"] = [](W) {
        return Figure(SpectrumView.VisLowFreq) + " " + Figure(SpectrumView.VisHighFreq);
    };
    s.probes["showing"] = [](W) {
        return SpectrumView.Bins == SpectrumData.Work ? "work" : "average";
    };
    s.probes["fields"] = [&](W) {
        using namespace spectrumBottom;
        return "[" + bottom[Min].text + "][" + bottom[Width].text + "][" + bottom[MaxFreq].text +
               "]";
    };
    s.probes["writes"] = [&](W) {  // since the last look
        return Drain(bottom.writes, [](const auto& write) { return "[" + write.second + "]"; });
    };
    s.probes["pixel"] = [](W w) { return Hex(At(Int(w[1]), Int(w[2]))); };
    // Row DY below the plot's bottom (above it when negative), within [x0, x1)
    // if given: the columns of a colour (red, grid, black), or the runs a-b of
    // anything but white ("ink"), b the first white column after a run.
    // Row DY below the plot (above it when negative), within [x0, x1) if given:
    // the columns of a colour (hex), or the runs a-b of anything but white
    // ("ink"), b the first white column after a run.
    s.probes["columns"] = [](W w) {
        const bool ink = w[1] == "ink";
        const uint32_t colour = ink ? White : std::stoul(w[1], nullptr, 16);
        const int32_t y = SpectrumView.PlotRect.bottom + Int(w[2]);
        const int32_t x1 = w.size() > 4 ? Int(w[4]) : SpectrumCanvas.Width();
        std::string out;
        for (int32_t x = w.size() > 4 ? Int(w[3]) : 0, start = -1; x <= x1; ++x) {
            const bool on = x < x1 && (ink ? At(x, y) != White : At(x, y) == colour);
            if (on && !ink) out += " " + std::to_string(x);
            if (!on && start >= 0 && ink)
                out += " " + std::to_string(start) + "-" + std::to_string(x);
            start = on ? (start < 0 ? x : start) : -1;
        }
        return out.empty() ? "-" : out.substr(1);
    };
    s.probes["line"] = [](W w) {  // the top row of the red line in a column
        int32_t y = SpectrumView.PlotRect.bottom + 1;
        while (At(Int(w[1]), y - 1) == AxisPen.color)
            --y;
        return y > SpectrumView.PlotRect.bottom ? "-" : std::to_string(y);
    };
    s.probes["outdated"] = [](W) { return SpectrumOutdated() ? "yes" : "no"; };
    s.probes["clipboard"] = [&](W) {
        const FakeClipboard& c = ports.clipboard;
        const uint32_t* shown = SpectrumCanvas.Pixels() + 21 * c.width;
        const bool same = c.pixels == std::vector<uint32_t>(shown, shown + c.width * c.height);
        return Join({c.copies, c.width, c.height, c.widthTenthMm, c.heightTenthMm}) +
               (same ? " as shown" : " other pixels");
    };
    s.probes["message"] = [&](W) {  // since the last look: each one's first line and caption
        return Drain(ports.dialogs.messages, [](const auto& m) {
            return m.text.substr(0, m.text.find('\n')) + " | " + m.caption;
        });
    };
    s.probes["counter"] = [&](W) { return top[spectrumTop::Counter].text; };
    s.probes["timer"] = [&](W) {
        return std::to_string(ports.timers.Period(TimerId::SpectrumRun));
    };
    s.probes["face"] = [&](W) {
        return top[spectrumTop::Run].face == Face::Wait ? "wait" : "not wait";
    };
    s.probes["sample"] = [](W w) { return Figure(OscState.Record[Int(w[1])]); };
    s.probes["dialog"] = [&](W) { return Describe(ports.dialogs.saveRequests.back()); };
    s.probes["saved"] = [&](W w) {
        return ReadFile(TempDir() + "/" + w[1]) == FormatSpectrumFile() ? "as formatted" : "other";
    };
    s.probes["file"] = [](W) {
        std::istringstream in(FormatSpectrumFile());
        std::string out;
        int32_t k = SpectrumView.ShownFirst;
        bool same = true;
        for (std::string line; std::getline(in, line); k += line[0] != '#') {
            float f = 0.0f, p = 0.0f;
            std::replace(line.begin(), line.end(), '\t', ' ');
            if (line[0] == '#') out += line + " | ";
            same = same && (line[0] == '#' || (std::sscanf(line.c_str(), "%g %g", &f, &p) == 2 &&
                                               f == BinFrequency(k) && p == SpectrumView.Bins[k]));
        }
        return out + std::to_string(k - SpectrumView.ShownFirst) + " rows" +
               (same ? " as shown" : " other figures");
    };
    s.Run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Spectrum, SpectrumScript,
                         testing::ValuesIn(ReadScenarios(
                             {"spectrum/compute.txt", "spectrum/plot.txt", "spectrum/ranges.txt",
                              "spectrum/run.txt", "spectrum/file.txt"})),
                         ScenarioName);

}  // namespace
}  // namespace korvel::test
