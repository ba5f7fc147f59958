#include "files/DataLineScan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <random>
#include <string>

namespace korvel {
namespace {

// The scanner must agree with sscanf(line, "%g %g") on the count and on the
// bits of every number read, and leave unread numbers alone.
void ExpectSameAsScanf(const std::string& line) {
    float t1 = -7.0f, v1 = -7.0f, t2 = -7.0f, v2 = -7.0f;
    const int expected = std::sscanf(line.c_str(), "%g %g", &t1, &v1);
    const int got = ScanTimeValue(line.c_str(), t2, v2);
    ASSERT_EQ(got, expected) << '"' << line << '"';
    EXPECT_EQ(std::bit_cast<uint32_t>(t2), std::bit_cast<uint32_t>(t1)) << '"' << line << '"';
    EXPECT_EQ(std::bit_cast<uint32_t>(v2), std::bit_cast<uint32_t>(v1)) << '"' << line << '"';
}

TEST(DataLineScanTest, AgreesWithScanfOnEveryKindOfLine) {
    for (const char* line : {"0 1",
                             "1 2\n",
                             "  -1.5e3\t+2.25E-2 trailing",
                             "2 3\r\n",
                             "",
                             "   \t\n",
                             "Time Value",
                             "12.5 step 0.0125",
                             "1e",
                             "1e+",
                             "1e 5",
                             "1e+ 5",
                             "1x 2",
                             "0x",
                             "0x1p3 4",
                             "0xg",
                             "0x.p1 2",
                             ".",
                             "-",
                             "+.e1",
                             ".5 -.5",
                             "5.",
                             "1.5.3",
                             "100ergs",
                             "-0 -0",
                             "inf 1",
                             "-Infinity nan",
                             "infin 1",
                             "nan(abc) 2",
                             "nan( 2",
                             "i 1",
                             "N 1",
                             "1 e5",
                             "1 -",
                             "1 +inf",
                             "3.4028236e38 1e-46",
                             "1e-50 -1e50",
                             "00x5 1",
                             "7 0x",
                             "7 .",
                             "0.100000001490116119384765625 1",
                             "9999999999999999999999999999 1",
                             "0.000000000000000000000000000000000000000000000701 2"}) {
        ExpectSameAsScanf(line);
    }
}

TEST(DataLineScanTest, AgreesWithScanfOnRandomLines) {
    // Lines of the characters that numbers are made of, where scanf and
    // strtof part ways if anywhere.
    const std::string alphabet = "0123456789+-.eExXpPiInNfFaAy( \t1";
    std::mt19937 random(7);
    for (int trial = 0; trial < 200000; ++trial) {
        std::string line(random() % 12, ' ');
        for (char& c : line)
            c = alphabet[random() % alphabet.size()];
        ExpectSameAsScanf(line);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace korvel
