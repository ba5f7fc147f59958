#include "acquisition/RecordMeasurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "model/TestTables.h"

namespace korvel {
namespace {

TEST(RecordMeasurements, FiguresOfTheTable) {
    const int32_t rows =
        test::ForEachRow("acquisition/measurements.txt", [](std::istringstream& row) {
            std::string kind;
            row >> kind;
            const std::vector<double> p = test::Numbers(row), taken = test::Numbers(row);
            std::vector<float> v(kind == "values" ? p.size() : static_cast<size_t>(p.at(0)));
            for (size_t i = 0; i < v.size(); ++i) {
                double x = kind == "values"   ? p[i]
                           : kind == "square" ? (i % 1000 < 800 ? p[1] : p[2])
                                              : p[1];
                for (size_t k = 2; kind == "tones" && k + 1 < p.size(); k += 2)
                    x += p[k] * std::sin(2 * std::numbers::pi * p[k + 1] * i);
                v[i] = static_cast<float>(x);
            }
            const RecordMeasurements m = MeasureRecord(v.data(), static_cast<int32_t>(taken.at(0)),
                                                       static_cast<float>(taken.at(1)));
            const std::map<std::string, double> got = {
                {"samples", m.samples},   {"min", m.minimumMv}, {"max", m.maximumMv},
                {"p2p", m.peakToPeakMv},  {"mean", m.meanMv},   {"rms", m.rmsMv},
                {"acrms", m.acRmsMv},     {"line", m.hasLine},  {"bin", m.lineBin},
                {"width", m.binWidthKHz}, {"khz", m.lineKHz},   {"us", m.periodUs}};
            for (std::string name; row >> name;) {
                const double want = test::Number(row);
                EXPECT_NEAR(got.at(name), want, std::abs(want) * 1e-9)
                    << std::setprecision(17) << name << " " << got.at(name);
            }
        });
    EXPECT_EQ(rows, 16);
}

}  // namespace
}  // namespace korvel
