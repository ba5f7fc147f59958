#include "files/DataFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "acquisition/Parameters.h"
#include "acquisition/SimulatedSource.h"
#include "app/OscSettings.h"
#include "app/OscState.h"
#include "files/DataFileFormat.h"
#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

class DataFileWriterTest : public test::CoreTest {
  protected:
    // A captured record of the simulated source in mV, as processing leaves
    // it: values that need all nine digits to survive a text file.
    void Capture(int32_t length, int32_t frequencyIndex) {
        SetFrequencyIndex(frequencyIndex);
        int32_t counter = 0;
        AcquireRecord(AcquireCapture, counter);
        OscSettings.Num_Data = length;
        for (int32_t i = 0; i < length; ++i)
            OscState.Record[i] = OscState.AccBuffer[i] * OscSettings.Conversion / 3.0f - 0.1f;
        OscSettings.Grid = 1;
        OscSettings.ZeroLevel = 0.7f;
        OscSettings.Data_S = 10;
    }

    // Writes samples first..last, forgets everything, reads the file back and
    // checks samples, times and settings bit for bit.
    void ExpectRoundTrip(int32_t format, int32_t first, int32_t last) {
        const std::string path = TempDir() + (format == SaveText ? "/rec.ktf" : "/rec.kbf");
        const OscSettingsRecord settings = OscSettings;
        const float firstTime = static_cast<float>(
            OscState.TimeOffset + static_cast<double>(first) * OscState.SamplePeriod);
        const float period = OscState.SamplePeriod;
        ASSERT_EQ(WriteDataFile(path.c_str(), format, first, last), DataFileWritten);

        const OscStateRecord& s = OscState;
        ResetOscSettings();
        OscState.SamplePeriod = 1.0f;
        OscState.TimeOffset = 0.0f;
        std::memset(OscState.FileData, 0, sizeof OscState.FileData);
        ASSERT_TRUE(SetDataFileName(path.c_str()));
        ASSERT_EQ(ReadDataFile(DataFileDetect), 1);

        const int32_t count = last - first + 1;
        ASSERT_EQ(s.LoadedLength, count);
        EXPECT_EQ(std::memcmp(s.FileData, s.Record + first, sizeof(float) * count), 0);
        EXPECT_EQ(std::bit_cast<uint32_t>(s.TimeOffset), std::bit_cast<uint32_t>(firstTime));
        EXPECT_EQ(std::bit_cast<uint32_t>(s.SamplePeriod), std::bit_cast<uint32_t>(period));
        OscSettingsRecord expected = settings;
        expected.Num_Data = count;
        EXPECT_EQ(std::memcmp(&OscSettings, &expected, sizeof expected), 0);
    }
};

TEST_F(DataFileWriterTest, TextLinesAreTimeAndValueThenTheEndOfTheSpan) {
    OscSettings.Num_Data = 2;
    OscState.SamplePeriod = 0.5f;
    OscState.TimeOffset = -1.0f;
    OscState.Record[0] = 1.5f;
    OscState.Record[1] = -2.0f;
    const std::string path = TempDir() + "/two.ktf";
    ASSERT_EQ(WriteRecordFile(path.c_str(), SaveText), DataFileWritten);
    EXPECT_EQ(ReadFile(path), "-1 1.5\n-0.5 -2\n0 step 0.5\n");
    ASSERT_EQ(WriteRecordFile((TempDir() + "/two.kbf").c_str(), SaveBinary), DataFileWritten);
    const std::string bytes = ReadFile(TempDir() + "/two.kbf");
    EXPECT_EQ(bytes.size(), 12u + 8u);
    EXPECT_EQ(bytes.substr(0, 12), std::string("KFRF\0\0\0\x3f\0\0\x80\xbf", 12));
}

TEST_F(DataFileWriterTest, ACapturedRecordComesBackBitForBit) {
    // The full record (no line to spare past the samples), a record whose
    // length no float time stamp can give the step for, and a single sample.
    for (int32_t length : {MaxData, 13, 1}) {
        for (int32_t frequencyIndex : {0, 3}) {
            Capture(length, frequencyIndex);
            ExpectRoundTrip(SaveText, 0, length - 1);
            Capture(length, frequencyIndex);
            ExpectRoundTrip(SaveBinary, 0, length - 1);
        }
    }
    Capture(13, 0);
    const float end = SpanEndTime(0.0f, OscState.SamplePeriod, 13);
    EXPECT_NE(PeriodOfSpan(end, 0.0f, 13), OscState.SamplePeriod);
}

TEST_F(DataFileWriterTest, AWindowComesBackWithItsOwnFirstTime) {
    Capture(MaxData, 1);
    OscState.TimeOffset = 3.5f;
    for (const auto& [first, last] :
         {std::pair{1234, 5678}, std::pair{60000, 60000}, std::pair{0, MaxData - 1}}) {
        OscSettings.Data_S = first;
        OscSettings.Data_E = last;
        for (int32_t format : {SaveText, SaveBinary}) {
            const OscStateRecord& s = OscState;
            const std::string path = TempDir() + "/window.k";
            ASSERT_EQ(WriteWindowFile(path.c_str(), format), DataFileWritten);
            const float period = s.SamplePeriod;
            ASSERT_TRUE(SetDataFileName(path.c_str()));
            ASSERT_EQ(ReadDataFile(DataFileDetect), 1);
            ASSERT_EQ(s.LoadedLength, last - first + 1);
            EXPECT_EQ(std::memcmp(s.FileData, s.Record + first, sizeof(float) * (last - first + 1)),
                      0);
            EXPECT_EQ(s.TimeOffset, static_cast<float>(3.5 + first * static_cast<double>(period)));
            EXPECT_EQ(s.SamplePeriod, period);
            OscState.TimeOffset = 3.5f;
            OscSettings.Num_Data = MaxData;
        }
    }
}

TEST_F(DataFileWriterTest, TheRangeIsCutToTheRecord) {
    Capture(100, 0);
    const std::string path = TempDir() + "/cut.ktf";
    EXPECT_EQ(WriteDataFile(path.c_str(), SaveText, 90, 5000), DataFileWritten);
    ASSERT_TRUE(SetDataFileName(path.c_str()));
    ASSERT_EQ(ReadDataFile(DataFileText), 1);
    EXPECT_EQ(OscState.LoadedLength, 10);
    for (const auto& [first, last] : {std::pair{60, 59}, std::pair{100, 200}, std::pair{-5, -1}})
        EXPECT_EQ(WriteDataFile(path.c_str(), SaveText, first, last), DataFileNotWritten);
    EXPECT_EQ(WriteDataFile(path.c_str(), 3, 0, 10), DataFileNotWritten);
}

TEST_F(DataFileWriterTest, TheNotedStepIsTakenOnlyWhenTheTimeStampsAgree) {
    // For every length and window the writer's stamp lets the note through...
    const float period = 0.0125f;
    for (int32_t count = 1; count <= MaxData; count += 13) {
        for (int32_t first : {0, 1, 777, MaxData - count}) {
            const float firstTime = static_cast<float>(first * static_cast<double>(period));
            const float end = SpanEndTime(firstTime, period, count);
            const float computed = PeriodOfSpan(end, firstTime, count);
            ASSERT_TRUE(StepNoteAgrees(period, computed, end, firstTime, count)) << count;
        }
    }
    // ...but a file that lost a line since it was written keeps its own step.
    WriteFile("edited.ktf", "0 1\n0.5 2\n1.5 step 0.5\n");
    ASSERT_TRUE(SetDataFileName((TempDir() + "/edited.ktf").c_str()));
    ASSERT_EQ(ReadDataFile(DataFileText), 1);
    EXPECT_EQ(OscState.SamplePeriod, 0.75f);
    WriteFile("odd.ktf", "0 1\n0.5 2\n1 step nan\n");
    ASSERT_TRUE(SetDataFileName((TempDir() + "/odd.ktf").c_str()));
    ASSERT_EQ(ReadDataFile(DataFileText), 1);
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
}

TEST_F(DataFileWriterTest, AFailedWriteLeavesTheOldFilesAlone) {
    Capture(5000, 0);
    const std::string path = TempDir() + "/keep.ktf";
    ASSERT_EQ(WriteRecordFile(path.c_str(), SaveText), DataFileWritten);
    chmod(path.c_str(), 0640);
    const std::string before = ReadFile(path);
    const std::string companion = ReadFile(TempDir() + "/keep.cf");

    // A file size limit makes every write run out of room, as a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    OscState.Record[0] = 42.0f;
    OscSettings.Grid = 0;
    const int32_t result = WriteRecordFile(path.c_str(), SaveText);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, DataFileNotWritten);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(ReadFile(TempDir() + "/keep.cf"), companion);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TempDir()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2u);

    ASSERT_EQ(WriteRecordFile(path.c_str(), SaveText), DataFileWritten);
    struct stat status {};
    stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    EXPECT_EQ(WriteRecordFile((TempDir() + "/no/such/folder.ktf").c_str(), SaveText),
              DataFileNotWritten);
    std::filesystem::create_directory(TempDir() + "/blocked.cf");
    EXPECT_EQ(WriteRecordFile((TempDir() + "/blocked.kbf").c_str(), SaveBinary),
              CompanionNotWritten);
    EXPECT_FALSE(ReadFile(TempDir() + "/blocked.kbf").empty());
}

}  // namespace
}  // namespace korvel
