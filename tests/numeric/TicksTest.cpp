#include "numeric/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/TestTables.h"

namespace korvel {
namespace {

std::vector<float> Floats(const std::vector<double>& numbers) {
    return std::vector<float>(numbers.begin(), numbers.end());
}

TEST(Ticks, NiceStepsAndTickRangesOfTheTable) {
    const int32_t rows = test::ForEachRow("numeric/ticks.txt", [](std::istringstream& row) {
        std::string kind;
        row >> kind;
        const std::vector<float> given = Floats(test::Numbers(row)),
                                 want = Floats(test::Numbers(row));
        if (kind == "nice") {
            EXPECT_EQ(NiceStep(given[0]), want[0]);
            return;
        }
        const TickSet t = TickRange(given[0], given[1], static_cast<int32_t>(given[2]));
        EXPECT_EQ((std::vector<float>{static_cast<float>(t.count), t.low, t.high}), want);
    });
    EXPECT_EQ(rows, 31);
    const float values[] = {-2.0f, 0.0f, 2.0f, 4.0f, 6.0f};
    for (int32_t i = 0; i <= 4; ++i)
        EXPECT_EQ(TickValue(-2.0f, 6.0f, i, 4), values[i]);
    EXPECT_EQ(TickValue(0.1f, 0.3f, 0, 0), 0.1f);  // k = 0: the one tick is low
}

}  // namespace
}  // namespace korvel
