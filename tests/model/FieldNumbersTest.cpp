#include "model/FieldNumbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

TEST(FieldNumbers, IntReadsTheLeadingNumberAndHoldsHugeOnesAtTheEnds) {
    const std::pair<const char*, int32_t> read[] = {{"12abc", 12},
                                                    {"  -3", -3},
                                                    {"+8 x", 8},
                                                    {"4.9", 4},
                                                    {"2147483648", INT32_MAX},
                                                    {"99999999999999999999", INT32_MAX},
                                                    {"-2147483648", INT32_MIN},
                                                    {"-99999999999", INT32_MIN}};
    for (const auto& [text, expected] : read) {
        int32_t value = 0;
        EXPECT_TRUE(ScanInt(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text : {"", "   ", "abc", "-", "+", "- 3"}) {
        int32_t value = 41;
        EXPECT_FALSE(ScanInt(text, value)) << text;
        EXPECT_EQ(value, 41) << text;
    }
}

TEST(FieldNumbers, FloatAsTheCScanReadsIt) {
    float value = -1.0f;
    EXPECT_TRUE(ScanFloat(" 2.5Hz", value));
    EXPECT_EQ(value, 2.5f);
    EXPECT_TRUE(ScanFloat("1e999", value));
    EXPECT_TRUE(std::isinf(value));
    value = 9.0f;
    EXPECT_FALSE(ScanFloat("Hz", value));
    EXPECT_FALSE(ScanFloat("-", value));
    EXPECT_EQ(value, 9.0f);
}

}  // namespace
}  // namespace korvel
