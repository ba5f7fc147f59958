#include "model/FieldNumbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

// The leading number of a field, as the C scan reads it; an int beyond the
// 32-bit range is held at its end. No number: false, and the value untouched.
TEST(FieldNumbers, LeadingNumbersAndHugeIntsHeldAtTheEnds) {
    const struct {
        const char* text;
        bool read;
        int32_t value;
    } ints[] = {{"12abc", true, 12},
                {"  -3", true, -3},
                {"+8 x", true, 8},
                {"4.9", true, 4},
                {"2147483648", true, INT32_MAX},
                {"99999999999999999999", true, INT32_MAX},
                {"-2147483648", true, INT32_MIN},
                {"-99999999999", true, INT32_MIN},
                {"", false, 41},
                {"   ", false, 41},
                {"abc", false, 41},
                {"-", false, 41},
                {"+", false, 41},
                {"- 3", false, 41}};
    for (const auto& row : ints) {
        int32_t value = 41;
        EXPECT_EQ(ScanInt(row.text, value), row.read) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
    float value = 9.0f;
    EXPECT_FALSE(ScanFloat("Hz", value));
    EXPECT_FALSE(ScanFloat("-", value));
    EXPECT_EQ(value, 9.0f);
    EXPECT_TRUE(ScanFloat(" 2.5Hz", value));
    EXPECT_EQ(value, 2.5f);
    EXPECT_TRUE(ScanFloat("1e999", value));
    EXPECT_TRUE(std::isinf(value));
}

}  // namespace
}  // namespace korvel
