#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "model/Conversions.h"
#include "model/FieldNumbers.h"
#include "model/Language.h"
#include "model/OscSettings.h"
#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingFields.h"
#include "model/SettingsBounds.h"
#include "model/TestTables.h"
#include "support/CoreTest.h"

namespace korvel {
namespace {

TEST(FieldNumbers, LeadingNumbersOfTheTable) {
    const int32_t rows = test::ForEachRow("model/field_numbers.txt", [](std::istringstream& row) {
        std::string how, text, want, got = "none";
        std::getline(std::getline(std::getline(row, how, '|'), text, '|'), want);
        float number = 0.0f;
        if (how == "g" && ScanFloat(text.c_str(), number)) {
            got = std::to_string(number);
            want = std::to_string(std::strtof(want.c_str(), nullptr));
        }
        const ScannedInt s = ScanLeadingInt(text.c_str(), how == "x" ? 16 : 10);
        if (how != "g" && s.found) {
            got = std::to_string(s.value) + (s.inRange ? " in " : " held ") +
                  std::to_string(s.end - text.c_str());
        }
        EXPECT_EQ(got, want);
        int32_t value = 41;  // ScanInt: the same as base 10, or the value untouched
        const ScannedInt d = ScanLeadingInt(text.c_str());
        EXPECT_EQ(std::pair(ScanInt(text.c_str(), value), value),
                  std::pair(d.found, d.found ? d.value : 41));
    });
    EXPECT_EQ(rows, 30);
}

TEST(Language, RussianForTheRussianLanguageOfTheFirstLocaleSet) {
    const int32_t rows = test::ForEachRow("model/locales.txt", [](std::istringstream& row) {
        std::string name[3], bar;
        int32_t russian = 0;
        row >> name[0] >> name[1] >> name[2] >> bar >> russian;
        auto at = [&](int32_t k) {
            return name[k] == "-" ? nullptr : name[k] == "''" ? "" : name[k].c_str();
        };
        EXPECT_EQ(IsRussianLocale(at(0), at(1), at(2)), russian);
    });
    EXPECT_EQ(rows, 14);
}

using Settings = test::CoreTest;

TEST_F(Settings, SetParamStepByStep) {
    // The default period held as a float lies just above 0.0125: 10 us is 799.99... samples.
    EXPECT_EQ(static_cast<int32_t>(TimeToIndex(10.0)), 799);
    EXPECT_EQ(IndexToTime(2.5), 2.5 * double{0.0125f});
    const int32_t rows = test::ForEachRow("model/set_param.txt", [](std::istringstream& row) {
        std::string step, key;
        row >> step;
        for (int32_t k = 0; step == "list" && k < 4; ++k) {
            char text[32];
            FormatFrequencyItem(k, text, sizeof text);
            EXPECT_EQ(text, (row >> key, key) + " Mhz");
        }
        if (step == "set") row >> key;
        const std::vector<double> n = test::Numbers(row);
        if (step == "set") SetParam(test::FieldNamed(key).paramId, n.at(0));
        if (step == "index") SetFrequencyIndex(static_cast<int32_t>(n.at(0)));
        int32_t dividers[4] = {};
        std::copy_n(n.begin(), step == "dividers" ? 4 : 0, dividers);
        if (step == "dividers") SetParam(ParamFreqDividers, dividers);
        test::Fields(row, true);
    });
    EXPECT_EQ(rows, 28);
    // Ids outside the table, a number for the block of dividers and a block
    // for any other id change nothing.
    const OscSettingsRecord before = OscSettings;
    for (uint32_t id : {21u, 0xFFFFFFFFu, uint32_t{ParamFreqDividers}})
        SetParam(id, 5.0);
    SetParam(ParamAvOver, {3, 3, 3, 3});
    EXPECT_EQ(std::memcmp(&before, &OscSettings, sizeof before), 0);
    EXPECT_EQ(GetParam(21).type, ParamType::None);
}

TEST_F(Settings, SettingsFromOutsideAreBroughtIntoRange) {
    const int32_t rows = test::ForEachRow("model/bounds.txt", [](std::istringstream& row) {
        ResetOscSettings();
        test::Fields(row, false);
        BringSettingsIntoRange();
        test::Fields(row, true);
    });
    EXPECT_EQ(rows, 46);
}

}  // namespace
}  // namespace korvel
