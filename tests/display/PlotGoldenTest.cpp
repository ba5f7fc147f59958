// Whole plots compared pixel for pixel with reference pictures in tests/data.
//
// After an intended change of the drawing, regenerate them with
//     KORVEL_WRITE_GOLDEN=1 ctest --preset default -R Golden
// and look at them before committing: every run also writes the picture
// drawn as <name>.ppm into the system's temporary folder.
//
// Reference file: "KORVRLE2"; width, height and the number of colours (at
// most 256) as little-endian uint32; the colours (0xFFRRGGBB) likewise; then
// runs until width x height pixels, each its length as a base-128 number (low
// 7 bits first, the high bit on every byte but the last) and a colour index.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel::test {
namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

Bytes Encode(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
    std::vector<uint32_t> colours;
    for (uint32_t p : pixels) {
        if (std::find(colours.begin(), colours.end(), p) == colours.end()) colours.push_back(p);
    }
    Bytes out{'K', 'O', 'R', 'V', 'R', 'L', 'E', '2'};
    for (uint32_t v : {static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                       static_cast<uint32_t>(colours.size())}) {
        Put32(out, v);
    }
    for (uint32_t c : colours)
        Put32(out, c);
    for (size_t i = 0, j = 0; i < pixels.size(); i = j) {
        while (j < pixels.size() && pixels[j] == pixels[i])
            ++j;
        size_t length = j - i;
        for (; length >= 0x80; length >>= 7)
            out.push_back(static_cast<unsigned char>(length | 0x80));
        out.push_back(static_cast<unsigned char>(length));
        out.push_back(static_cast<unsigned char>(
            std::find(colours.begin(), colours.end(), pixels[i]) - colours.begin()));
    }
    return out;
}

void CompareWithReference(const std::string& name) {
    const Canvas& c = PlotCanvas;
    const std::vector<uint32_t> pixels(c.Pixels(), c.Pixels() + c.Width() * c.Height());
    const std::string picture = (std::filesystem::temp_directory_path() / (name + ".ppm")).string();
    std::ofstream ppm(picture, std::ios::binary);
    ppm << "P6\n" << c.Width() << " " << c.Height() << "\n255\n";
    for (uint32_t p : pixels)
        ppm << char(p >> 16) << char(p >> 8) << char(p);

    const Bytes drawn = Encode(pixels, c.Width(), c.Height());
    const std::string reference = std::string(KORVEL_TEST_DATA_DIR) + "/" + name + ".rle";
    if (std::getenv("KORVEL_WRITE_GOLDEN") != nullptr) {
        std::ofstream(reference, std::ios::binary)
            .write(reinterpret_cast<const char*>(drawn.data()),
                   static_cast<std::streamsize>(drawn.size()));
    }
    std::ifstream in(reference, std::ios::binary);
    const Bytes expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // The encoding is canonical: equal bytes are equal pictures.
    EXPECT_TRUE(expected == drawn) << reference << " differs from the picture drawn, " << picture;
}

using PlotGolden = PlotTest;

TEST_F(PlotGolden, DefaultPlotOfACapturedRecord) {
    Prepare(800, 500);
    FillSquareWave(MaxData);
    RefreshPlot();
    CompareWithReference("plot_default_800x500");
}

TEST_F(PlotGolden, GridOnAZoomedStretchOfAFileRecord) {
    Prepare(640, 400);
    FillSquareWave(4000);
    OscSettings.Grid = 1;
    OscState.TimeOffset = -20.0f;
    OscState.SamplePeriod = 0.1f;
    RefreshPlot();
    OscState.ViewMin = -100.0f;
    OscState.ViewMax = 900.0f;
    PlotState.LabelsDirty = 1;
    SetSubWindow(700, 1100);
    CompareWithReference("plot_grid_640x400");
}

}  // namespace
}  // namespace korvel::test
