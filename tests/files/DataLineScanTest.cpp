#include "files/DataLineScan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>

namespace korvel {
namespace {

// Same count as sscanf(line, "%g %g"), same bits read, unread numbers untouched.
void ExpectSameAsScanf(const std::string& line) {
    float t1 = -7.0f, v1 = -7.0f, t2 = -7.0f, v2 = -7.0f;
    const int count = std::sscanf(line.c_str(), "%g %g", &t1, &v1);
    const int scanned = ScanTimeValue(line.c_str(), t2, v2);
    const auto bits = [](float x) { return std::bit_cast<uint32_t>(x); };
    ASSERT_EQ(std::tuple(scanned, bits(t2), bits(v2)), std::tuple(count, bits(t1), bits(v1)))
        << '"' << line << '"';
}

TEST(DataLineScanTest, AgreesWithScanf) {
    // Lines separated by '|': plain numbers, and every form where scanf and
    // strtof might part ways.
    std::string corpus =
        "0 1|  -1.5e3\t+2.25E-2 rest|2 3\r\n|| \t\n|Time Value|12.5 step 0.1|1e 5|1e+ 5|1x 2|0x|"
        "0x1p3 4|0x.p1 2|.|- 1|+.e1|.5 -.5|5.|1.5.3|-0 -0|-Infinity nan|infin 1|nan(abc) 2|nan( 2|"
        "1 e5|1 +inf|3.4028236e38 1e-46|00x5 1|7 .|0.100000001490116119384765625 1|";
    for (size_t bar; (bar = corpus.find('|')) != std::string::npos; corpus.erase(0, bar + 1))
        ExpectSameAsScanf(corpus.substr(0, bar));
    // Random lines of the characters numbers are made of, where scanf and
    // strtof part ways if anywhere.
    const std::string alphabet = "0123456789+-.eExXpPiInNfFaAy( \t1";
    std::mt19937 random(7);
    for (int trial = 0; trial < 200000 && !HasFatalFailure(); ++trial) {
        std::string line(random() % 12, ' ');
        for (char& c : line)
            c = alphabet[random() % alphabet.size()];
        ExpectSameAsScanf(line);
    }
}

}  // namespace
}  // namespace korvel
