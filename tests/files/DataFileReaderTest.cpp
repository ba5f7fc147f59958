#include "files/DataFileReader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

std::string Le(float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}
// A binary file: magic, period, first time, body.
std::string Bin(const std::string& magic, float periodUs, float firstUs, const std::string& body) {
    return magic + Le(periodUs) + Le(firstUs) + body;
}
const std::string FourCodes("\x00\x7f\x80\xff", 4);

class DataFileReaderTest : public test::CoreTest {
  protected:
    int32_t Read(const std::string& bytes, int32_t mode, const std::string& name = "rec.ktf") {
        EXPECT_TRUE(SetDataFileName(WriteFile(name, bytes).c_str()));
        return ReadDataFile(mode);
    }
    std::vector<float> Samples() const {
        return {OscState.FileData, OscState.FileData + OscState.LoadedLength};
    }
    // The first sample's time and the sample period.
    static std::pair<float, float> Times() { return {OscState.TimeOffset, OscState.SamplePeriod}; }
};

TEST_F(DataFileReaderTest, TextLinesAndTheirTimeSpan) {
    OscState.DataMax = 9.0f;
    ASSERT_EQ(Read("0 1\n1 2\n2 3\n", DataFileText), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(Times(), std::pair(0.0f, 2.0f / 3.0f));  // span over the count, not count - 1
    EXPECT_EQ(std::pair(OscSettings.Num_Data, OscState.FileView), std::pair(3, 1));
    EXPECT_EQ(OscState.DataMax, 0.0f);
    // Headings and notes are skipped; the span ends at the last line with a
    // readable first number, sample or not.
    ASSERT_EQ(Read("Time Value\n\n5 -1.5e1 rest\n6\t2.5\r\nnote 7 8\n11 end\n\n", DataFileText), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{-15.0f, 2.5f}));
    EXPECT_EQ(Times(), std::pair(5.0f, 3.0f));

    // Only MaxData lines are examined, the heading among them.
    std::string text = "Heading\n";
    for (int k = 0; k < MaxData + 10; ++k)
        text += std::to_string(k) + " " + std::to_string(k % 251) + "\n";
    ASSERT_EQ(Read(text, DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, MaxData - 1);
    EXPECT_EQ(OscState.FileData[MaxData - 2], static_cast<float>((MaxData - 2) % 251));
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(MaxData - 2) / (MaxData - 1));
    // One 10 MB line: 21000 pieces of 499 characters, each its own sample.
    std::string line;
    for (int k = 0; k < 21000; ++k) {
        std::string piece = std::to_string(k) + " " + std::to_string(k % 97);
        line += piece.append(499 - piece.size(), ' ');
    }
    ASSERT_EQ(Read(line + "\n", DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, 21000);
    for (int k = 0; k < 21000; ++k)
        ASSERT_EQ(OscState.FileData[k], static_cast<float>(k % 97)) << k;
    // A piece boundary cuts 2345 into 2 and 345.
    ASSERT_EQ(Read(std::string(496, ' ') + "1 2345 6\n", DataFileText), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{2, 6}));
    EXPECT_EQ(OscState.SamplePeriod, 172.0f);
}

TEST_F(DataFileReaderTest, BinaryCodesAndFloats) {
    OscSettings.Bipolar = 0;
    ASSERT_EQ(Read(Bin("KDRF", 0.5f, 10.0f, Le(2.0f) + Le(1.0f) + FourCodes), DataFileBinary), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{-1, 253, -257, -3}));  // signed code * 2 - 1
    EXPECT_EQ(std::pair(OscSettings.Bipolar, OscSettings.Num_Data), std::pair(1, 4));
    EXPECT_EQ(std::pair(OscSettings.Conversion, OscSettings.ZeroLevel), std::pair(2.0f, 1.0f));
    EXPECT_EQ(Times(), std::pair(10.0f, 0.5f));
    OscSettings.Conversion = 9.0f;
    ASSERT_EQ(Read(Bin("KDRU", 0.5f, 0.0f, Le(2.0f) + FourCodes), DataFileBinary), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{0, 254, 256, 510}));  // unsigned code * 2
    EXPECT_EQ(std::pair(OscSettings.Bipolar, OscSettings.ZeroLevel), std::pair(0, 1.0f));

    std::string floats = Le(-0.0f) + Le(1e-40f);
    for (int k = 2; k < MaxData + 3; ++k)
        floats += Le(static_cast<float>(k));
    ASSERT_EQ(Read(Bin("KFRF", 1.0f, 0.0f, floats + "\x01\x02\x03"), DataFileBinary), 1);
    EXPECT_EQ(OscState.LoadedLength, MaxData);
    EXPECT_EQ(std::bit_cast<uint32_t>(OscState.FileData[0]), 0x80000000u);
    EXPECT_EQ(OscState.FileData[1], 1e-40f);
    EXPECT_EQ(OscState.FileData[MaxData - 1], static_cast<float>(MaxData - 1));
    ASSERT_EQ(Read(Bin("KFRF", 1.0f, 0.0f, Le(5.0f) + "\x01\x02\x03"), DataFileBinary), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{5}));
    EXPECT_EQ(std::pair(OscSettings.Bipolar, OscSettings.Conversion), std::pair(1, 2.0f));

    // Detection goes by the magic, not by the name.
    EXPECT_EQ(Read(Bin("KFRF", 2.0f, 1.0f, Le(4.5f)), DataFileDetect, "binary.ktf"), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{4.5f}));
    EXPECT_EQ(Read("KDRX\n3 1\n5 2\n", DataFileDetect, "text.kbf"), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{1, 2}));
}

// A file is shown whole or refused whole: a refused one leaves the record
// shown, its times and its settings, and only DataMin and DataMax at 0 (and,
// for a header torn inside its first time, the period that did arrive).
TEST_F(DataFileReaderTest, ARefusedFileLeavesTheShownRecordAsItWas) {
    for (size_t length = 0; length < 12; ++length) {
        OscState.SamplePeriod = 0.0125f;
        EXPECT_EQ(Read(Bin("KFRF", 0.25f, 7.0f, "").substr(0, length), DataFileBinary), 0);
        EXPECT_EQ(OscState.SamplePeriod, length >= 8 ? 0.25f : 0.0125f) << length;
    }
    OscSettings.ZeroLevel = 0.5f;
    ASSERT_EQ(Read(Bin("KDRU", 0.5f, 3.0f, Le(2.0f) + FourCodes), DataFileBinary), 1);
    const OscSettingsRecord settings = OscSettings;
    const std::vector<float> shown = Samples();
    OscState.FileData[4] = 99.0f;  // past the record: must survive too
    const std::string nan = Le(NAN), one = Le(1.0f);
    const std::pair<std::string, int32_t> refused[] = {
        {Bin("kfrf", 0.25f, 7.0f, FourCodes), DataFileBinary},  // unknown magic: nothing taken
        {Bin("KFRF", 1.0f, 0.0f, ""), 3},                       // no sample
        {Bin("KDRF", 1.0f, 0.0f, one + "\x01"), 3},             // body cut short
        {Bin("KFRF", 1.0f, 0.0f, one + nan), 3},
        {Bin("KFRF", 1.0f, 0.0f, Le(-INFINITY) + one), 3},
        {Bin("KDRF", 1.0f, 0.0f, Le(1e38f) + Le(0.0f) + FourCodes), 3},  // codes overflow
        {Bin("KDRU", 1.0f, 0.0f, nan + std::string(1, '\0')), 3},
        {Bin("KFRF", 0.0f, 0.0f, one), 3},
        {Bin("KFRF", -1.0f, 0.0f, one), 3},
        {Bin("KFRF", NAN, 0.0f, one), 3},
        {Bin("KFRF", 1.0f, INFINITY, one), 3},
        {Bin("KFRF", 2.0f, 1.0f, one), DataFileText},
        {"0 1\n4 2\n", DataFileBinary},
        {"0 1\n4 2\n", 4},
        {"0 1", 3},  // one line has no span
        {"Time Value\n\n5\n", 3},
        {"3 4\n2 5\n", 3},
        {"3 4\n3 5\n", 3},  // time runs back, stands
        {"0 1\n1 nan\n2 3\n", 3},
        {"0 1\n1 1e39\n", 3},
        {"0 1\ninf 3\n", 3},
        {"nan 1\n1 2\n", 3}};
    for (const auto& [bytes, mode] : refused) {
        OscState.DataMin = 1.0f;
        EXPECT_EQ(Read(bytes, mode), 0) << bytes;
        EXPECT_EQ(OscState.DataMin, 0.0f);
    }
    EXPECT_TRUE(SetDataFileName((TempDir() + "/missing.ktf").c_str()));
    EXPECT_EQ(ReadDataFile(DataFileDetect), 0);
    EXPECT_TRUE(SetDataFileName(TempDir().c_str()));
    EXPECT_EQ(ReadDataFile(DataFileText), 0);
    EXPECT_EQ(Samples(), shown);
    EXPECT_EQ(OscState.FileData[4], 99.0f);
    EXPECT_EQ(Times(), std::pair(3.0f, 0.5f));
    EXPECT_EQ(std::memcmp(&OscSettings, &settings, sizeof settings), 0);

    // Random bytes are refused or give a record the program can use.
    std::mt19937 random(3);
    for (int trial = 0; trial < 300; ++trial) {
        std::string bytes(random() % 5000, '\0');
        for (char& c : bytes) {
            const unsigned r = random();
            c = r % 3 == 0 ? static_cast<char>(r >> 8) : "0123456789 .-e\n\tKDRFU"[r % 22];
        }
        if (trial % 4 == 0) bytes.replace(0, std::min<size_t>(4, bytes.size()), "KFRF");
        if (Read(bytes, DataFileDetect) == 0) continue;
        ASSERT_EQ(OscSettings.Num_Data, OscState.LoadedLength);
        ASSERT_TRUE(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f);
        ASSERT_TRUE(std::isfinite(OscState.TimeOffset));
        for (float value : Samples())
            ASSERT_TRUE(std::isfinite(value));
    }
}

}  // namespace
}  // namespace korvel
