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
#include <string>

#include "acquisition/Conversions.h"
#include "acquisition/ProcessRecord.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
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
    // The three-sample window is cut at the record's start: one sample, then
    // two, then the last two.
    const float expected[3] = {0.08f, static_cast<float>(static_cast<double>(0.08f) * 3 / 2 / 3),
                               static_cast<float>(static_cast<double>(huge) * 3 / 2 / 3)};
    ASSERT_EQ(Open(DataFile("text-zero-beside-huge-value.ktf")), 1);
    EXPECT_EQ(OscState.SamplePeriod, 5.0f / 3.0f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OscState.Record[i], expected[i]) << i;

    ASSERT_EQ(Open("KFRF" + Le(0.5f) + Le(0.0f) + Le(0.08f) + Le(0.0f) + Le(huge)), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OscState.Record[i], expected[i]) << i;
}

}  // namespace
}  // namespace korvel
