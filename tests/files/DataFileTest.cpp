#include "files/DataFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "acquisition/SimulatedSource.h"
#include "files/DataFileFormat.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

class DataFileTest : public test::CoreTest {
  protected:
    int32_t ReadBack(const std::string& name, int32_t mode = DataFileDetect) {
        EXPECT_TRUE(SetDataFileName((TempDir() + "/" + name).c_str()));
        return ReadDataFile(mode);
    }
    // Writes samples first..last, forgets the record and the settings, reads
    // the pair back: samples, times and settings must be the same bits.
    void ExpectRoundTrip(int32_t format, int32_t first, int32_t last) {
        const OscSettingsRecord settings = OscSettings;
        const OscStateRecord& s = OscState;
        const float period = s.SamplePeriod;
        const auto firstTime =
            static_cast<float>(s.TimeOffset + first * static_cast<double>(period));
        const std::string name = format == SaveText ? "rec.ktf" : "rec.kbf";
        ASSERT_EQ(WriteDataFile((TempDir() + "/" + name).c_str(), format, first, last),
                  DataFileWritten);
        ResetOscSettings();
        OscState.SamplePeriod = 1.0f;
        ASSERT_EQ(ReadBack(name), 1);
        const int32_t count = last - first + 1;
        ASSERT_EQ(s.LoadedLength, count) << first;
        EXPECT_EQ(std::memcmp(s.FileData, s.Record + first, sizeof(float) * count), 0) << first;
        EXPECT_EQ(std::bit_cast<uint32_t>(s.TimeOffset), std::bit_cast<uint32_t>(firstTime));
        EXPECT_EQ(std::bit_cast<uint32_t>(s.SamplePeriod), std::bit_cast<uint32_t>(period))
            << count << " samples from " << first;
        OscSettingsRecord expected = settings;
        expected.Num_Data = count;
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0);
        OscSettings.Num_Data = settings.Num_Data;
        OscState.TimeOffset = static_cast<float>(firstTime - first * static_cast<double>(period));
    }
};

TEST_F(DataFileTest, WhatTheFilesHold) {
    OscSettings.Num_Data = 2;
    OscState.SamplePeriod = 0.5f;
    OscState.TimeOffset = -1.0f;
    OscState.Record[0] = 1.5f;
    OscState.Record[1] = -2.0f;
    const std::string text = TempDir() + "/two.ktf";
    ASSERT_EQ(WriteRecordFile(text.c_str(), SaveText), DataFileWritten);
    EXPECT_EQ(ReadFile(text), "-1 1.5\n-0.5 -2\n0 step 0.5\n");
    ASSERT_EQ(WriteRecordFile((TempDir() + "/two.kbf").c_str(), SaveBinary), DataFileWritten);
    EXPECT_EQ(ReadFile(TempDir() + "/two.kbf"),
              std::string("KFRF\0\0\0\x3f\0\0\x80\xbf\0\0\xc0\x3f\0\0\0\xc0", 20));
    const std::string companion = ReadFile(TempDir() + "/two.cf");
    EXPECT_EQ(companion.substr(0, 28), "BaseAddr = 300\nKorv_Freq = 0");
    EXPECT_EQ(std::count(companion.begin(), companion.end(), '\n'), 32);  // all but Num_Data
    EXPECT_EQ(companion.find("Num_Data"), std::string::npos);

    // A full record has no line to spare: its last sample's own line, stamped
    // with that sample's true time, carries the note, checked against one step less.
    OscSettings.Num_Data = MaxData;
    OscState.Record[MaxData - 1] = 7.0f;
    ASSERT_EQ(WriteRecordFile(text.c_str(), SaveText), DataFileWritten);
    const std::string full = ReadFile(text);
    const size_t lastLine = full.rfind('\n', full.size() - 2) + 1;
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), MaxData);
    EXPECT_EQ(full.substr(lastLine), "32765.5 7 step 0.5\n");
    WriteFile("full.ktf", full.substr(0, lastLine) + "32766 7 step 0.5\n");
    ASSERT_EQ(ReadBack("full.ktf", DataFileText), 1);
    EXPECT_EQ(OscState.SamplePeriod, 32767.0f / MaxData);
    WriteFile("full.ktf", full);
    ASSERT_EQ(ReadBack("full.ktf", DataFileText), 1);
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
    // A noted step that the time stamps no longer bear out is not taken.
    WriteFile("edited.ktf", "0 1\n0.5 2\n1.5 step 0.5\n");
    ASSERT_EQ(ReadBack("edited.ktf", DataFileText), 1);
    EXPECT_EQ(OscState.SamplePeriod, 0.75f);
}

TEST_F(DataFileTest, RecordsAndWindowsComeBackBitForBit) {
    for (int32_t frequencyIndex : {0, 3}) {
        // A captured record in mV that needs all nine digits, and settings that need every bit.
        SetFrequencyIndex(frequencyIndex);
        int32_t counter = 0;
        AcquireRecord(AcquireCapture, counter);
        for (int32_t i = 0; i < MaxData; ++i)
            OscState.Record[i] = OscState.AccBuffer[i] * OscSettings.Conversion / 3.0f - 0.1f;
        OscSettings.BaseAddr = 0x31c;
        OscSettings.Osc_Freq = 1.0f / 3.0f;
        OscSettings.ZeroLevel = -0.0f;
        OscSettings.Bipolar = 0;
        // 13 samples are a length no float time stamp alone gives the step back for.
        ASSERT_NE(PeriodOfSpan(SpanEndTime(0.0f, 0.0125f, 13), 0.0f, 13), 0.0125f);
        for (int32_t format : {SaveText, SaveBinary}) {
            for (int32_t length : {MaxData, 13, 1})
                ExpectRoundTrip(format, 0, length - 1);
            OscState.TimeOffset = 3.5f;
            ExpectRoundTrip(format, 1234, 5678);
            ExpectRoundTrip(format, 60000, 60000);
            OscState.TimeOffset = 0.0f;
        }
    }
    OscSettings.Data_S = 100;
    OscSettings.Data_E = 120;
    const std::string path = TempDir() + "/window.ktf";
    ASSERT_EQ(WriteWindowFile(path.c_str(), SaveText), DataFileWritten);
    ASSERT_EQ(ReadBack("window.ktf", DataFileText), 1);
    EXPECT_EQ(OscState.LoadedLength, 21);
    // The range is cut to the record; nothing is left of some.
    EXPECT_EQ(WriteDataFile(path.c_str(), SaveText, 15, 5000), DataFileWritten);
    EXPECT_EQ(WriteDataFile(path.c_str(), SaveText, 21, 20), DataFileNotWritten);
    EXPECT_EQ(WriteDataFile(path.c_str(), SaveText, -5, -1), DataFileNotWritten);
    EXPECT_EQ(WriteDataFile(path.c_str(), 3, 0, 10), DataFileNotWritten);
}

TEST_F(DataFileTest, AFailedWriteLeavesTheOldFilesAlone) {
    OscSettings.Num_Data = 5000;
    const std::string path = TempDir() + "/keep.ktf";
    ASSERT_EQ(WriteRecordFile(path.c_str(), SaveText), DataFileWritten);
    chmod(path.c_str(), 0640);
    const std::string before = ReadFile(path), companion = ReadFile(TempDir() + "/keep.cf");
    // A file size limit makes every write run out of room, as a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    OscState.Record[0] = 42.0f;
    const int32_t result = WriteRecordFile(path.c_str(), SaveText);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(result, DataFileNotWritten);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(ReadFile(TempDir() + "/keep.cf"), companion);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(TempDir()), {}), 2);
    // A replaced file keeps its permissions.
    ASSERT_EQ(WriteRecordFile(path.c_str(), SaveText), DataFileWritten);
    struct stat status {};
    stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(WriteRecordFile((TempDir() + "/no/folder.ktf").c_str(), SaveText),
              DataFileNotWritten);
    std::filesystem::create_directory(TempDir() + "/blocked.cf");
    EXPECT_EQ(WriteRecordFile((TempDir() + "/blocked.kbf").c_str(), SaveBinary),
              CompanionNotWritten);
}

// Only MaxData lines are examined, a heading among them, and a long line is
// read in pieces of 499 characters, each a sample line of its own.
TEST_F(DataFileTest, TheReaderStopsAtMaxDataLinesOrPieces) {
    std::string text = "Heading\n";
    for (int k = 0; k < MaxData + 10; ++k)
        text += std::to_string(k) + " " + std::to_string(k % 251) + "\n";
    WriteFile("long.ktf", text);
    ASSERT_EQ(ReadBack("long.ktf", DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, MaxData - 1);
    EXPECT_EQ(OscState.FileData[MaxData - 2], static_cast<float>((MaxData - 2) % 251));
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(MaxData - 2) / (MaxData - 1));
    std::string line;  // 10 MB
    for (int k = 0; k < 21000; ++k) {
        std::string piece = std::to_string(k) + " " + std::to_string(k % 97);
        line += piece.append(499 - piece.size(), ' ');
    }
    WriteFile("long.ktf", line + "\n");
    ASSERT_EQ(ReadBack("long.ktf", DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, 21000);
    for (int k = 0; k < 21000; ++k)
        ASSERT_EQ(OscState.FileData[k], static_cast<float>(k % 97)) << k;
}

}  // namespace
}  // namespace korvel
