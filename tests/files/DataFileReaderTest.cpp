#include "files/DataFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/OscSettings.h"
#include "app/OscState.h"
#include "files/DataFileState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

std::string Le(float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    std::string bytes(4, '\0');
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<char>(bits >> (8 * k));
    return bytes;
}

std::string Binary(const std::string& magic, float periodUs, float firstUs,
                   const std::string& body) {
    return magic + Le(periodUs) + Le(firstUs) + body;
}

const std::string FourCodes("\x00\x7f\x80\xff", 4);

class DataFileReaderTest : public test::CoreTest {
  protected:
    int32_t Read(const std::string& name, const std::string& bytes, int32_t mode) {
        EXPECT_TRUE(SetDataFileName(WriteFile(name, bytes).c_str()));
        return ReadDataFile(mode);
    }
    std::vector<float> Samples() const {
        return {OscState.FileData, OscState.FileData + OscState.LoadedLength};
    }
};

TEST_F(DataFileReaderTest, ThreeTextLines) {
    OscState.DataMin = -4.0f;
    OscState.DataMax = 9.0f;
    ASSERT_EQ(Read("rec.ktf", "0 1\n1 2\n2 3\n", DataFileText), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(OscState.TimeOffset, 0.0f);
    EXPECT_EQ(OscState.SamplePeriod, 2.0f / 3.0f);
    EXPECT_EQ(OscSettings.Num_Data, 3);
    EXPECT_EQ(OscState.FileView, 1);
    EXPECT_EQ(OscState.DataMin, 0.0f);
    EXPECT_EQ(OscState.DataMax, 0.0f);
}

TEST_F(DataFileReaderTest, OnlyLinesThatBeginWithTwoNumbersAreSamples) {
    // The heading and the notes are skipped; the span ends at the last line
    // with a readable first number, even one that is not a sample.
    ASSERT_EQ(Read("rec.ktf", "Time Value\n\n5 -1.5e1 rest\n6\t2.5\r\nnote 7 8\n11 end\n\n",
                   DataFileText),
              1);
    EXPECT_EQ(Samples(), (std::vector<float>{-15.0f, 2.5f}));
    EXPECT_EQ(OscState.TimeOffset, 5.0f);
    EXPECT_EQ(OscState.SamplePeriod, 3.0f);
}

TEST_F(DataFileReaderTest, OnlyTheFirstMaxDataLinesAreExamined) {
    std::string text = "Heading line\n";
    for (int k = 0; k < MaxData + 10; ++k)
        text += std::to_string(k) + " " + std::to_string(k % 251) + "\n";
    ASSERT_EQ(Read("long.ktf", text, DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, MaxData - 1);
    EXPECT_EQ(OscState.FileData[MaxData - 2], static_cast<float>((MaxData - 2) % 251));
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(MaxData - 2) / (MaxData - 1));
}

TEST_F(DataFileReaderTest, AHugeLineIsReadInPiecesThatEachCountAsALine) {
    // 21000 pieces of 499 characters on one 10 MB line, each beginning with
    // its own sample, so every piece boundary and chunk boundary shows.
    constexpr int pieces = 21000;
    std::string line;
    for (int k = 0; k < pieces; ++k) {
        std::string piece = std::to_string(k) + " " + std::to_string(k % 97);
        piece.resize(499, ' ');
        line += piece;
    }
    ASSERT_EQ(Read("huge.ktf", line + "\n", DataFileText), 1);
    ASSERT_EQ(OscState.LoadedLength, pieces);
    for (int k = 0; k < pieces; ++k)
        ASSERT_EQ(OscState.FileData[k], static_cast<float>(k % 97)) << k;
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(pieces - 1) / pieces);

    // A number cut by a piece boundary is two numbers.
    ASSERT_EQ(Read("cut.ktf", std::string(496, ' ') + "1 2345 6\n", DataFileText), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{2, 6}));
    EXPECT_EQ(OscState.TimeOffset, 1.0f);
    EXPECT_EQ(OscState.SamplePeriod, 172.0f);
}

TEST_F(DataFileReaderTest, SignedCodesAreConvertedAndSetTheConversion) {
    OscSettings.Bipolar = 0;
    ASSERT_EQ(
        Read("c.kbf", Binary("KDRF", 0.5f, 10.0f, Le(2.0f) + Le(1.0f) + FourCodes), DataFileBinary),
        1);
    EXPECT_EQ(Samples(), (std::vector<float>{-1, 253, -257, -3}));
    EXPECT_EQ(OscSettings.Bipolar, 1);
    EXPECT_EQ(OscSettings.Conversion, 2.0f);
    EXPECT_EQ(OscSettings.ZeroLevel, 1.0f);
    EXPECT_EQ(OscState.SamplePeriod, 0.5f);
    EXPECT_EQ(OscState.TimeOffset, 10.0f);
    EXPECT_EQ(OscSettings.Num_Data, 4);
    EXPECT_EQ(OscSettings.Amplitude, 2000.0f);
}

TEST_F(DataFileReaderTest, UnsignedCodesLeaveTheZeroLevel) {
    OscSettings.ZeroLevel = 3.5f;
    ASSERT_EQ(Read("u.kbf", Binary("KDRU", 0.5f, 0.0f, Le(2.0f) + FourCodes), DataFileBinary), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{0, 254, 256, 510}));
    EXPECT_EQ(OscSettings.Bipolar, 0);
    EXPECT_EQ(OscSettings.Conversion, 2.0f);
    EXPECT_EQ(OscSettings.ZeroLevel, 3.5f);
}

TEST_F(DataFileReaderTest, FloatsIgnoreATrailingPartialFloatAndBeyondMaxData) {
    OscSettings.Bipolar = 0;
    ASSERT_EQ(Read("f.kbf", Binary("KFRF", 1.0f, 0.0f, Le(-0.0f) + Le(1e-40f) + "\x01\x02\x03"),
                   DataFileBinary),
              1);
    ASSERT_EQ(OscState.LoadedLength, 2);
    EXPECT_EQ(std::bit_cast<uint32_t>(OscState.FileData[0]), 0x80000000u);
    EXPECT_EQ(OscState.FileData[1], 1e-40f);
    EXPECT_EQ(OscSettings.Bipolar, 1);
    EXPECT_EQ(OscSettings.Conversion, 7.8125f);

    std::string body;
    for (int k = 0; k < MaxData + 3; ++k)
        body += Le(static_cast<float>(k));
    ASSERT_EQ(Read("g.kbf", Binary("KFRF", 1.0f, 0.0f, body), DataFileBinary), 1);
    EXPECT_EQ(OscState.LoadedLength, MaxData);
    EXPECT_EQ(OscState.FileData[MaxData - 1], static_cast<float>(MaxData - 1));
}

TEST_F(DataFileReaderTest, DetectionGoesByTheFirstFourBytesAlone) {
    const std::string floats = Binary("KFRF", 2.0f, 1.0f, Le(4.5f));
    ASSERT_EQ(Read("binary.ktf", floats, DataFileDetect), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{4.5f}));
    EXPECT_EQ(OscState.SamplePeriod, 2.0f);
    EXPECT_EQ(Read("text.kbf", "0 1\n4 2\n", DataFileDetect), 1);
    EXPECT_EQ(Samples(), (std::vector<float>{1, 2}));
    EXPECT_EQ(Read("kdrx.kbf", "KDRX\n0 1\n5 2\n", DataFileDetect),
              1);                                            // text that starts like one
    EXPECT_EQ(Read("short.ktf", "0 1", DataFileDetect), 0);  // not even four bytes
    EXPECT_EQ(Read("text.ktf", "0 1\n4 2\n", DataFileBinary), 0);
    EXPECT_EQ(Read("binary.kbf", floats, DataFileText), 0);
    EXPECT_EQ(Read("any.ktf", "0 1\n4 2\n", 0), 0);
    EXPECT_EQ(Read("any.ktf", "0 1\n4 2\n", 4), 0);
}

TEST_F(DataFileReaderTest, AHeaderCutShortKeepsOnlyThePeriodThatArrived) {
    const std::string header = Binary("KFRF", 0.25f, 7.0f, "");
    for (size_t length = 0; length < header.size(); ++length) {
        OscState.SamplePeriod = 0.0125f;
        EXPECT_EQ(Read("cut.kbf", header.substr(0, length), DataFileBinary), 0) << length;
        EXPECT_EQ(OscState.SamplePeriod, length >= 8 ? 0.25f : 0.0125f) << length;
        EXPECT_EQ(OscState.TimeOffset, 0.0f);
        EXPECT_EQ(OscState.FileView, 0);
    }
    // A body that ends inside its conversion factors sets none of them.
    EXPECT_EQ(Read("cut.kbf", Binary("KDRF", 1.0f, 0.0f, Le(5.0f) + "\x01"), DataFileBinary), 0);
    EXPECT_EQ(Read("cut.kbf", Binary("KDRU", 1.0f, 0.0f, "\x01\x02"), DataFileBinary), 0);
    EXPECT_EQ(OscSettings.Conversion, 7.8125f);
    // Nothing of a file of unknown magic is taken.
    OscState.SamplePeriod = 0.0125f;
    EXPECT_EQ(Read("odd.kbf", Binary("KDRX", 0.25f, 7.0f, FourCodes), DataFileBinary), 0);
    EXPECT_EQ(Read("odd.kbf", Binary("kfrf", 0.25f, 7.0f, FourCodes), DataFileBinary), 0);
    EXPECT_EQ(OscState.SamplePeriod, 0.0125f);
    EXPECT_EQ(OscState.TimeOffset, 0.0f);
    EXPECT_EQ(OscState.LoadedLength, MaxData);
}

TEST_F(DataFileReaderTest, ARefusedFileLeavesTheShownRecordAsItWas) {
    OscSettings.ZeroLevel = 0.5f;
    ASSERT_EQ(Read("good.kbf", Binary("KDRU", 0.5f, 3.0f, Le(2.0f) + FourCodes), DataFileBinary),
              1);
    const OscSettingsRecord settings = OscSettings;
    const std::vector<float> shown = Samples();
    const float period = OscState.SamplePeriod;
    OscState.FileData[4] = 99.0f;  // past the record: must survive too

    const std::string nan = Le(NAN);
    const std::string inf = Le(INFINITY);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"empty.kbf", Binary("KFRF", 1.0f, 0.0f, "")},
        {"nobody.kbf", Binary("KDRF", 1.0f, 0.0f, Le(1.0f) + Le(0.0f))},
        {"nan.kbf", Binary("KFRF", 1.0f, 0.0f, Le(1.0f) + nan)},
        {"inf.kbf", Binary("KFRF", 1.0f, 0.0f, inf + Le(1.0f))},
        {"overflow.kbf", Binary("KDRF", 1.0f, 0.0f, Le(1e38f) + Le(0.0f) + FourCodes)},
        {"nanconv.kbf", Binary("KDRU", 1.0f, 0.0f, nan + std::string(1, '\0'))},
        {"zeroperiod.kbf", Binary("KFRF", 0.0f, 0.0f, Le(1.0f))},
        {"negperiod.kbf", Binary("KFRF", -1.0f, 0.0f, Le(1.0f))},
        {"nanperiod.kbf", Binary("KFRF", NAN, 0.0f, Le(1.0f))},
        {"inftime.kbf", Binary("KFRF", 1.0f, -INFINITY, Le(1.0f))},
        {"nodata.ktf", "Time Value\n\n5\n"},
        {"one.ktf", "3 4\n"},
        {"backwards.ktf", "3 4\n2 5\n1 6\n"},
        {"standstill.ktf", "3 4\n3 5\n"},
        {"nanvalue.ktf", "0 1\n1 nan\n2 3\n"},
        {"infvalue.ktf", "0 1\n1 1e39\n2 3\n"},
        {"inftime.ktf", "0 1\n1 2\ninf 3\n"},
        {"nantime.ktf", "nan 1\n1 2\n"},
    };
    for (const auto& [name, bytes] : refused) {
        OscState.DataMin = OscState.DataMax = 1.0f;
        EXPECT_EQ(Read(name, bytes, DataFileDetect), 0) << name;
        EXPECT_EQ(OscState.DataMin, 0.0f);
        EXPECT_EQ(OscState.DataMax, 0.0f);
    }
    EXPECT_TRUE(SetDataFileName((TempDir() + "/missing.ktf").c_str()));
    EXPECT_EQ(ReadDataFile(DataFileDetect), 0);
    EXPECT_TRUE(SetDataFileName(TempDir().c_str()));
    EXPECT_EQ(ReadDataFile(DataFileText), 0);

    EXPECT_EQ(Samples(), shown);
    EXPECT_EQ(OscState.FileData[4], 99.0f);
    EXPECT_EQ(OscSettings.Num_Data, 4);
    EXPECT_EQ(OscState.SamplePeriod, period);
    EXPECT_EQ(OscState.TimeOffset, 3.0f);
    EXPECT_EQ(OscState.FileView, 1);
    EXPECT_EQ(std::memcmp(&OscSettings, &settings, sizeof settings), 0);
}

TEST_F(DataFileReaderTest, GarbageNeverGivesAnUnusableRecord) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 300; ++trial) {
        std::string bytes(random() % 5000, '\0');
        for (char& c : bytes) {
            // Mostly the characters of numbers, so that some lines are samples.
            const unsigned r = random();
            c = r % 3 == 0 ? static_cast<char>(r >> 8) : "0123456789 .-e\n\tKDRFU"[r % 22];
        }
        if (trial % 4 == 0) bytes.replace(0, std::min<size_t>(4, bytes.size()), "KFRF");
        ResetOscState();
        const int32_t result = Read(trial % 2 ? "junk.ktf" : "junk.kbf", bytes, DataFileDetect);
        if (result == 0) continue;
        ASSERT_GE(OscState.LoadedLength, 1);
        ASSERT_LE(OscState.LoadedLength, MaxData);
        ASSERT_EQ(OscSettings.Num_Data, OscState.LoadedLength);
        ASSERT_TRUE(std::isfinite(OscState.SamplePeriod) && OscState.SamplePeriod > 0.0f);
        ASSERT_TRUE(std::isfinite(OscState.TimeOffset));
        for (float value : Samples())
            ASSERT_TRUE(std::isfinite(value));
    }
}

}  // namespace
}  // namespace korvel
