// Whole plots compared pixel for pixel with their reference pictures (see
// GoldenImage.h for how to regenerate them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "display/GoldenImage.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"

namespace korvel::test {
namespace {

using PlotGolden = PlotTest;

void CompareWithReference(const std::string& name) {
    Image actual{
        PlotCanvas.Width(),
        PlotCanvas.Height(),
        {PlotCanvas.Pixels(), PlotCanvas.Pixels() + PlotCanvas.Width() * PlotCanvas.Height()}};
    const std::string reference = std::string(KORVEL_TEST_DATA_DIR) + "/" + name + ".rle";
    const std::string picture = (std::filesystem::temp_directory_path() / (name + ".ppm")).string();
    WritePpm(picture, actual);
    if (std::getenv("KORVEL_WRITE_GOLDEN") != nullptr) {
        ASSERT_TRUE(WriteRunLength(reference, actual)) << reference;
        return;
    }
    Image expected;
    ASSERT_TRUE(ReadRunLength(reference, expected)) << reference;
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    int32_t differing = 0;
    int32_t first = -1;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        if (actual.pixels[i] == expected.pixels[i]) continue;
        if (first < 0) first = static_cast<int32_t>(i);
        ++differing;
    }
    EXPECT_EQ(differing, 0) << "first at x " << first % actual.width << ", y "
                            << first / actual.width << "; the picture drawn is " << picture;
}

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
