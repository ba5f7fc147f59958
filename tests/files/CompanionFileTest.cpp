#include "files/CompanionFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "model/OscSettings.h"
#include "model/OscState.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using Change = std::function<void(OscSettingsRecord&)>;

class CompanionFileTest : public test::CoreTest {
  protected:
    // Applies a companion file of this text; the settings must change by change alone.
    void ExpectApplied(const std::string& text, const Change& change) {
        ResetOscSettings();
        OscSettingsRecord expected = OscSettings;
        change(expected);
        WriteFile("rec.cf", text);
        ReadCompanionSettings((TempDir() + "/rec.ktf").c_str());
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0) << text;
    }
};

TEST_F(CompanionFileTest, EachLineSetsAtMostWhatItsWordsSay) {
    EXPECT_EQ(CompanionPath("/data/rec.kbf"), "/data/rec.cf");
    EXPECT_EQ(CompanionPath("ab"), "");
    const Change nothing = [](OscSettingsRecord&) {};
    for (const char* text : {"Num_Data = 10\n", "T_Acc=5\n", "Grid\n", "Grid =\n", "grid = 1\n",
                             "Gridded = 1\n", "Labels_Y Labels_X = 5\n", "Av_Over = seven\n"}) {
        ExpectApplied(text, nothing);
    }
    ExpectApplied("BaseAddr = 310\n", [](auto& s) { s.BaseAddr = 0x310; });
    ExpectApplied("Amplitude = 1000\n", [](auto& s) { s.Amplitude = 1000.0f; });
    ExpectApplied("T_A = 5\n", [](auto& s) { s.T_Acc = 5; });
    ExpectApplied("D = -2.5e1", [](auto& s) { s.D_min = -25.0f; });
    ExpectApplied("Labels_X Labels_Y = 5\n", [](auto& s) { s.Labels_Y = 5; });
    ExpectApplied("Acc_Over = 12 records\n", [](auto& s) { s.Acc_Over = 12; });
    // The value ends at a tab, and the walk goes on from the value itself.
    ExpectApplied("Av_Over = \t7\tGrid = 1\n", [](auto& s) { s.Av_Over = 7; });
    // Only the first 259 characters of a line count; the rest is no line of its own.
    ExpectApplied("Grid = 1" + std::string(260, ' ') + "\tSound = 1\n",
                  [](auto& s) { s.Grid = 1; });
}

TEST_F(CompanionFileTest, NothingDerivedIsRecomputedButEverythingComesIntoRange) {
    OscState.SamplePeriod = 0.5f;
    ExpectApplied(
        "Korv_Freq = 7\nZeroLevel = nan\nOsc_Freq = 1e9\nFreqDiv1 = 0\n"
        "LFontSize = 99\nInvert = 5\nBaseFreq = 20\nAmplitude = 512\n",
        [](auto& s) {
            s.Osc_Freq = 1000.0f;
            s.LFontSize = 10;
            s.Invert = 1;
            s.BaseFreq = 20.0f;
            s.Amplitude = 512.0f;
        });
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
}

TEST_F(CompanionFileTest, ADataFileBringsItsCompanionOnlyWhenItIsRead) {
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
