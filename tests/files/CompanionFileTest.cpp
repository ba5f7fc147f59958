#include "files/CompanionFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using CompanionFileTest = test::CoreTest;

// Each companion file must change the defaults by exactly its change, nothing else.
TEST_F(CompanionFileTest, EachLineSetsAtMostWhatItsWordsSay) {
    EXPECT_EQ(CompanionPath("/data/rec.kbf"), "/data/rec.cf");
    EXPECT_EQ(CompanionPath("ab"), "");
    const std::function<void(OscSettingsRecord&)> nothing = [](auto&) {};
    const struct {
        std::string text;
        std::function<void(OscSettingsRecord&)> change;
    } cases[] = {
        {"Num_Data = 10\nT_Acc=5\nGrid\nGrid =\ngrid = 1\nGridded = 1\n", nothing},
        {"Labels_Y Labels_X = 5\nAv_Over = seven\n", nothing},
        {"BaseAddr = 310\n", [](auto& s) { s.BaseAddr = 0x310; }},       // hexadecimal
        {"Amplitude = 1000\n", [](auto& s) { s.Amplitude = 1000.0f; }},  // Conversion stays
        {"T_A = 5\n", [](auto& s) { s.T_Acc = 5; }},  // the first key the word begins
        {"D = -2.5e1", [](auto& s) { s.D_min = -25.0f; }},
        {"Labels_X Labels_Y = 5\n", [](auto& s) { s.Labels_Y = 5; }},
        {"Acc_Over = 12 records\n", [](auto& s) { s.Acc_Over = 12; }},
        // The value ends at a tab, and the walk goes on from the value itself.
        {"Av_Over = \t7\tGrid = 1\n", [](auto& s) { s.Av_Over = 7; }},
        // Only the first 259 characters of a line count; the rest is no line of its own.
        {"Grid = 1" + std::string(260, ' ') + "\tSound = 1\n", [](auto& s) { s.Grid = 1; }},
        // Brought into range as after loading korvel.ini; nothing derived recomputed.
        {"Korv_Freq = 7\nZeroLevel = nan\nOsc_Freq = 1e9\nFreqDiv1 = 0\nLFontSize = 99\n"
         "Invert = 5\nBaseFreq = 20\nAv_Over = 0\n",
         [](auto& s) {
             s.Osc_Freq = 1000.0f;
             s.LFontSize = 10;
             s.Invert = 1;
             s.BaseFreq = 20.0f;
         }},
    };
    OscState.SamplePeriod = 0.5f;
    for (const auto& [text, change] : cases) {
        ResetOscSettings();
        OscSettingsRecord expected = OscSettings;
        change(expected);
        WriteFile("rec.cf", text);
        ReadCompanionSettings((TempDir() + "/rec.ktf").c_str());
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0) << text;
    }
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
    EXPECT_EQ(std::pair(OscSettings.Grid, OscSettings.Num_Data), std::pair(1, 2));
}

}  // namespace
}  // namespace korvel
