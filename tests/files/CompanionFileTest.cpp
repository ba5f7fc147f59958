#include "files/CompanionFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

class CompanionFileTest : public test::CoreTest {
  protected:
    // Applies a companion file of the given text and checks that the settings
    // changed exactly as change says.
    void ExpectApplied(const std::string& text,
                       const std::function<void(OscSettingsRecord&)>& change) {
        ResetOscSettings();
        OscSettingsRecord expected = OscSettings;
        change(expected);
        WriteFile("rec.cf", text);
        ReadCompanionSettings((TempDir() + "/rec.ktf").c_str());
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0) << text;
    }
};

TEST_F(CompanionFileTest, PathReplacesTheLastThreeCharacters) {
    EXPECT_EQ(CompanionPath("rec.ktf"), "rec.cf");
    EXPECT_EQ(CompanionPath("/data/rec.kbf"), "/data/rec.cf");
    EXPECT_EQ(CompanionPath("abc"), "cf");
    EXPECT_EQ(CompanionPath("ab"), "");
}

TEST_F(CompanionFileTest, EachLineSetsAtMostWhatItsWordsSay) {
    auto nothing = [](OscSettingsRecord&) {};
    ExpectApplied("Num_Data = 10\n", nothing);
    ExpectApplied("BaseAddr = 310\n", [](OscSettingsRecord& s) { s.BaseAddr = 0x310; });
    ExpectApplied("Amplitude = 1000\n", [](OscSettingsRecord& s) { s.Amplitude = 1000.0f; });
    ExpectApplied("T_A = 5\n", [](OscSettingsRecord& s) { s.T_Acc = 5; });
    ExpectApplied("T_Acc=5\n", nothing);
    ExpectApplied("Grid\n", nothing);
    ExpectApplied("Grid =\n", nothing);
    ExpectApplied("grid = 1\n", nothing);
    ExpectApplied("Gridded = 1\n", nothing);
    ExpectApplied("D = -2.5e1\n", [](OscSettingsRecord& s) { s.D_min = -25.0f; });
    ExpectApplied("FreqDiv = 3", [](OscSettingsRecord& s) { s.FreqDiv[0] = 3; });
    ExpectApplied("Labels_X Labels_Y = 5\n", [](OscSettingsRecord& s) { s.Labels_Y = 5; });
    ExpectApplied("Labels_Y Labels_X = 5\n", nothing);  // the walk never turns back
    ExpectApplied("Acc_Over = 12 accumulated\n", [](OscSettingsRecord& s) { s.Acc_Over = 12; });
    ExpectApplied("Av_Over = 7\tGrid = 1\n", [](OscSettingsRecord& s) { s.Av_Over = 7; });
    ExpectApplied("Av_Over = \t\t7\n", [](OscSettingsRecord& s) { s.Av_Over = 7; });
    ExpectApplied("Av_Over = seven\n", nothing);
    ExpectApplied("\n  \t\n= = =\nSound = 1\n", [](OscSettingsRecord& s) { s.Sound = 1; });
    ExpectApplied("BaseFreq = 40\n", [](OscSettingsRecord& s) { s.BaseFreq = 40.0f; });
    // Only the first 259 characters of a line count; the rest is not a line.
    ExpectApplied("Grid = 1" + std::string(260, ' ') + "\tAv_Over = 9\n",
                  [](OscSettingsRecord& s) { s.Grid = 1; });
}

TEST_F(CompanionFileTest, NothingDerivedIsRecomputedButEverythingComesIntoRange) {
    OscState.SamplePeriod = 0.5f;
    ExpectApplied(
        "Korv_Freq = 7\nZeroLevel = nan\nOsc_Freq = 1e9\nFreqDiv1 = 0\nLFontSize = 99\n"
        "Invert = 5\nBaseFreq = 20\nAmplitude = 512\n",
        [](OscSettingsRecord& s) {
            s.Osc_Freq = 1000.0f;
            s.LFontSize = 10;
            s.Invert = 1;
            s.BaseFreq = 20.0f;
            s.Amplitude = 512.0f;
        });
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
    EXPECT_EQ(OscSettings.Conversion, 7.8125f);
}

TEST_F(CompanionFileTest, WrittenSettingsReadBackBitForBit) {
    OscSettingsRecord& s = OscSettings;
    s.BaseAddr = 0x31C;
    s.Korv_Freq = 3;
    s.Acc_Over = 17;
    s.D_min = -0.1f;
    s.D_max = 1234.5677f;
    s.AutoNorm = 0;
    s.Conversion = 0.3f;
    s.Bipolar = 0;
    s.BaseFreq = 66.6f;
    s.AutoConf = 1;
    s.FreqDiv[2] = 11;
    s.Amplitude = 999.25f;
    s.ZeroLevel = -0.0f;
    s.Data_S = 100;
    s.Data_E = 2000;
    s.Prehistory = 200;
    s.Num_Data = 500;
    s.Osc_Freq = 1.0f / 3.0f;
    s.T_Acc = 6;
    const OscSettingsRecord written = s;
    const std::string data = TempDir() + "/saved.kbf";
    ASSERT_TRUE(WriteCompanionSettings(data.c_str()));

    const std::string text = ReadFile(TempDir() + "/saved.cf");
    EXPECT_NE(text.find("BaseAddr = 31c\n"), std::string::npos);
    EXPECT_NE(text.find("Osc_Freq = 0.333333343\n"), std::string::npos);
    EXPECT_EQ(text.find("Num_Data"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);

    ResetOscSettings();
    OscSettings.Num_Data = 42;
    ReadCompanionSettings(data.c_str());
    OscSettingsRecord expected = written;
    expected.Num_Data = 42;
    EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0);
}

TEST_F(CompanionFileTest, ReadingADataFileAppliesItsCompanionOnlyWhenTheRecordIsTaken) {
    WriteFile("good.ktf", "0 1\n1 2\n");
    WriteFile("good.cf", "Grid = 1\nNum_Data = 1\n");
    WriteFile("bad.ktf", "no data\n");
    WriteFile("bad.cf", "Sound = 1\n");
    ASSERT_TRUE(SetDataFileName((TempDir() + "/bad.ktf").c_str()));
    EXPECT_EQ(ReadDataFile(DataFileText), 0);
    EXPECT_EQ(OscSettings.Sound, 0);
    ASSERT_TRUE(SetDataFileName((TempDir() + "/good.ktf").c_str()));
    EXPECT_EQ(ReadDataFile(DataFileText), 1);
    EXPECT_EQ(OscSettings.Grid, 1);
    EXPECT_EQ(OscSettings.Num_Data, 2);
}

}  // namespace
}  // namespace korvel
