// The reader's limits, on files too big to write out as script cases: only
// MaxData lines are examined, a heading among them, and a long line is read
// in pieces of 499 characters, each a line of its own.
#include <gtest/gtest.h>

#include <string>

#include "files/DataFileReader.h"
#include "files/DataFileState.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

using DataFileTest = test::CoreTest;

TEST_F(DataFileTest, TheReaderStopsAtMaxDataLinesOrPieces) {
    std::string text = "Heading\n";
    for (int k = 0; k < MaxData + 10; ++k)
        text += std::to_string(k) + " " + std::to_string(k % 251) + "\n";
    ASSERT_TRUE(SetDataFileName(WriteFile("long.ktf", text).c_str()));
    ASSERT_TRUE(ReadDataFile(DataFileText));
    ASSERT_EQ(OscState.LoadedLength, MaxData - 1);
    EXPECT_EQ(OscState.FileData[MaxData - 2], static_cast<float>((MaxData - 2) % 251));
    EXPECT_EQ(OscState.SamplePeriod, static_cast<float>(MaxData - 2) / (MaxData - 1));

    std::string line;  // 10 MB
    for (int k = 0; k < 21000; ++k) {
        std::string piece = std::to_string(k) + " " + std::to_string(k % 97);
        line += piece.append(499 - piece.size(), ' ');
    }
    WriteFile("long.ktf", line + "\n");
    ASSERT_TRUE(ReadDataFile(DataFileText));
    ASSERT_EQ(OscState.LoadedLength, 21000);
    for (int k = 0; k < 21000; ++k)
        ASSERT_EQ(OscState.FileData[k], static_cast<float>(k % 97)) << k;
}

}  // namespace
}  // namespace korvel
