// Inputs that once broke the program, kept so that they never do again: each
// is read as the Open command reads it and then processed and drawn. Most
// were found by the fuzz targets; the faults they found show as wrong values
// here and as sanitizer reports in the asan build.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/Conversions.h"
#include "acquisition/ProcessRecord.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "display/Plot.h"
#include "display/PlotFixture.h"
#include "display/PlotState.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"

namespace korvel {
namespace {

std::string Le(float value) {
    const auto bits = std::bit_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

std::string DataFile(const char* name) {
    std::ifstream in(std::string(KORVEL_TEST_DATA_DIR) + "/hostile/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HostileInputTest : public test::PlotTest {
  protected:
    void SetUp() override {
        PlotTest::SetUp();
        Prepare(320, 240);
    }

    // Reads bytes as a data file of either kind; when accepted, shows it as
    // the Open command does and checks what every drawing must leave.
    int32_t Open(const std::string& bytes) {
        EXPECT_TRUE(SetDataFileName(WriteFile("found.kdf", bytes).c_str()));
        if (ReadDataFile(DataFileDetect) != 1) return 0;
        OscState.AutoNormPending = 1;
        PlotState.EditsLive = 0;
        ProcessRecord();
        RequestAutoNorm();
        RefreshPlot();
        const int32_t n = OscSettings.Num_Data;
        EXPECT_LE(0, OscSettings.Data_S);
        EXPECT_LE(OscSettings.Data_S, OscSettings.Data_E);
        EXPECT_LT(OscSettings.Data_E, n);
        for (int32_t i = 0; i < n; ++i)
            EXPECT_TRUE(std::isfinite(OscState.Record[i])) << i;
        EXPECT_TRUE(std::isfinite(OscState.ViewMin) && std::isfinite(OscState.ViewMax));
        return 1;
    }
};

// A zero beside a value some 38 binary orders larger made the moving average
// shift the zero's bits by more than their width: undefined, and on another
// machine a wrong mean next to every zero.
TEST_F(HostileInputTest, AZeroBesideAHugeValueAveragesToItsMean) {
    const float huge = -20001500015.0f;
    const double small = 0.08f;
    // The three-sample window is cut at both ends: the mean of the first two,
    // of all three, of the last two. Each sum is exact before its one rounding.
    const float expected[3] = {static_cast<float>(small * 3 / 2 / 3),
                               static_cast<float>((small + static_cast<double>(huge)) / 3),
                               static_cast<float>(static_cast<double>(huge) * 3 / 2 / 3)};
    ASSERT_EQ(Open(DataFile("text-zero-beside-huge-value.ktf")), 1);
    EXPECT_EQ(OscState.SamplePeriod, 5.0f / 3.0f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OscState.Record[i], expected[i]) << i;

    ASSERT_EQ(Open("KFRF" + Le(0.5f) + Le(0.0f) + Le(0.08f) + Le(0.0f) + Le(huge)), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OscState.Record[i], expected[i]) << i;
}

// Codes scaled by nothing less a level of zero near the most negative float
// give values near the largest; processing subtracts that level once more and
// used to store infinity, which took the record's range and the plot's
// vertical scale with it. Such a value is held at the largest float.
TEST_F(HostileInputTest, AValueBeyondTheLargestFloatIsHeldAtIt) {
    ASSERT_EQ(Open(DataFile("binary-huge-level-of-zero-twice.kbf")), 1);
    const float largest = std::numeric_limits<float>::max();
    EXPECT_EQ(OscSettings.Num_Data, 13);
    EXPECT_EQ(OscState.FileData[0], -OscSettings.ZeroLevel);
    for (int32_t i = 0; i < 13; ++i)
        EXPECT_EQ(OscState.Record[i], largest) << i;
    EXPECT_EQ(std::pair(OscState.DataMin, OscState.DataMax), std::pair(largest, largest));
    EXPECT_EQ(std::pair(OscState.ViewMin, OscState.ViewMax), std::pair(largest, largest));

    // Both ways, and from acquisition as from a file.
    ASSERT_EQ(Open("KFRF" + Le(1.0f) + Le(0.0f) + Le(3e38f) + Le(-3e38f) + Le(1.0f)), 1);
    OscSettings.ZeroLevel = 3e38f;
    OscSettings.Av_Over = 1;
    ProcessRecord();
    EXPECT_EQ((std::vector{OscState.Record[0], OscState.Record[1], OscState.Record[2]}),
              (std::vector{0.0f, -largest, -3e38f}));
    OscState.FileView = 0;
    OscSettings.Num_Data = 2;
    OscSettings.Conversion = 2e38f;
    OscSettings.ZeroLevel = 0.0f;
    OscState.AccBuffer[0] = 2.0f;
    OscState.AccBuffer[1] = -1.0f;
    ProcessRecord();
    EXPECT_EQ(std::pair(OscState.Record[0], OscState.Record[1]), std::pair(largest, -2e38f));
}

}  // namespace
}  // namespace korvel
