#include "app/FieldNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvel {
namespace {

TEST(FieldNumbers, IntReadsTheLeadingNumberOnly) {
    int32_t value = -7;
    EXPECT_TRUE(ScanInt("12abc", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ScanInt("  -3", value));
    EXPECT_EQ(value, -3);
    EXPECT_TRUE(ScanInt("+8 records", value));
    EXPECT_EQ(value, 8);
    EXPECT_TRUE(ScanInt("007", value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(ScanInt("4.9", value));
    EXPECT_EQ(value, 4);
}

TEST(FieldNumbers, IntWithoutALeadingNumberLeavesTheValue) {
    int32_t value = 41;
    for (const char* text : {"", "   ", "abc", "-", "+", "- 3", "x12", "\t+x"}) {
        EXPECT_FALSE(ScanInt(text, value)) << text;
        EXPECT_EQ(value, 41) << text;
    }
}

TEST(FieldNumbers, IntBeyondThirtyTwoBitsIsHeldAtTheEnds) {
    int32_t value = 0;
    EXPECT_TRUE(ScanInt("2147483647", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(ScanInt("2147483648", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(ScanInt("99999999999999999999999999", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(ScanInt("-2147483648", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::min());
    EXPECT_TRUE(ScanInt("-99999999999", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::min());
}

TEST(FieldNumbers, FloatAsTheCScanReadsIt) {
    float value = -1.0f;
    EXPECT_TRUE(ScanFloat("3.3333333", value));
    EXPECT_EQ(value, 3.3333333f);
    EXPECT_TRUE(ScanFloat(" 2.5Hz", value));
    EXPECT_EQ(value, 2.5f);
    EXPECT_TRUE(ScanFloat("1e3", value));
    EXPECT_EQ(value, 1000.0f);
    EXPECT_TRUE(ScanFloat("1e999", value));
    EXPECT_TRUE(std::isinf(value));
    value = 9.0f;
    EXPECT_FALSE(ScanFloat("Hz", value));
    EXPECT_FALSE(ScanFloat("", value));
    EXPECT_FALSE(ScanFloat("-", value));
    EXPECT_EQ(value, 9.0f);
}

}  // namespace
}  // namespace korvel
