// Inputs that once broke the program, kept so that they never do again: each
// file of tests/data/hostile is read as the Open command reads it, then
// processed and drawn. Most were found by the fuzz targets; the faults they
// found show as wrong values here and as sanitizer reports in the asan build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "acquisition/ProcessRecord.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/Conversions.h"
#include "model/OscSettings.h"
#include "model/OscState.h"

namespace korvel {
namespace {

constexpr float Largest = std::numeric_limits<float>::max();
const double Small = 0.08f;
const double Huge = -20001500015.0f;

struct Hostile {
    const char* file;
    float periodUs;
    std::vector<float> firstThree;  // after processing
} const Cases[] = {
    // A zero beside a value some 38 binary orders larger made the moving
    // average shift the zero's bits by more than their width: undefined, and
    // elsewhere a wrong mean next to every zero. The three-sample window is
    // cut at both ends; each sum is exact before its one rounding.
    {"text-zero-beside-huge-value.ktf",
     5.0f / 3.0f,
     {static_cast<float>(Small * 3 / 2 / 3), static_cast<float>((Small + Huge) / 3),
      static_cast<float>(Huge * 3 / 2 / 3)}},
    // Codes scaled by nothing, less a level of zero near the most negative
    // float, give values near the largest; processing subtracts that level
    // once more and used to store infinity, which took the plot's vertical
    // scale with it. Such a value is held at the largest float.
    {"binary-huge-level-of-zero-twice.kbf", 0.0f, {Largest, Largest, Largest}},
};

class HostileInputTest : public test::PlotTest {};

TEST_F(HostileInputTest, EveryFileOnceHarmfulIsShownSoundly) {
    Prepare(320, 240);
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KORVEL_TEST_DATA_DIR) + "/hostile")) {
        const std::string name = entry.path().filename().string();
        const Hostile* hostile = nullptr;
        for (const Hostile& h : Cases)
            hostile = name == h.file ? &h : hostile;
        ASSERT_NE(hostile, nullptr) << name << " has no case";
        ++files;
        ASSERT_TRUE(SetDataFileName(entry.path().c_str()));
        ASSERT_EQ(ReadDataFile(DataFileDetect), 1) << name;
        OscState.AutoNormPending = 1;
        PlotState.EditsLive = 0;
        ProcessRecord();
        RequestAutoNorm();
        RefreshPlot();
        const int32_t n = OscSettings.Num_Data;
        EXPECT_TRUE(0 <= OscSettings.Data_S && OscSettings.Data_S <= OscSettings.Data_E &&
                    OscSettings.Data_E < n)
            << name;
        for (int32_t i = 0; i < n; ++i)
            ASSERT_TRUE(std::isfinite(OscState.Record[i])) << name << " " << i;
        EXPECT_TRUE(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax)) << name;
        EXPECT_EQ(std::vector<float>(OscState.Record, OscState.Record + 3), hostile->firstThree)
            << name;
        if (hostile->periodUs > 0.0f) EXPECT_EQ(OscState.SamplePeriod, hostile->periodUs) << name;
    }
    EXPECT_EQ(files, std::size(Cases));

    // Held both ways, and from acquisition as from a file.
    OscState.FileView = 1;
    OscSettings.Num_Data = 3;
    OscSettings.Av_Over = 1;
    OscSettings.ZeroLevel = 3e38f;
    std::copy_n(std::vector{3e38f, -3e38f, 1.0f}.begin(), 3, OscState.FileData);
    ProcessRecord();
    EXPECT_EQ(std::vector(OscState.Record, OscState.Record + 3),
              (std::vector{0.0f, -Largest, -3e38f}));
    OscState.FileView = 0;
    OscSettings.Conversion = 2e38f;
    OscSettings.ZeroLevel = 0.0f;
    OscState.AccBuffer[0] = 2.0f;
    OscState.AccBuffer[1] = -1.0f;
    ProcessRecord();
    EXPECT_EQ(std::pair(OscState.Record[0], OscState.Record[1]), std::pair(Largest, -2e38f));
}

}  // namespace
}  // namespace korvel
