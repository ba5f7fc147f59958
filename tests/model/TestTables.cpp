#include "model/TestTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <utility>

#include "model/OscState.h"
#include "model/Parameters.h"
#include "model/SettingFields.h"

namespace korvel::test {

int32_t ForEachRow(const std::string& name, const std::function<void(std::istringstream&)>& row) {
    std::ifstream file(std::string(KORVEL_TEST_DATA_DIR) + "/" + name);
    int32_t rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(name + ": " + line);
        std::istringstream fields(line);
        row(fields);
        ++rows;
    }
    return rows;
}

std::vector<double> Numbers(std::istream& fields) {
    std::vector<double> numbers;
    for (std::string text; fields >> text && text != "|";)
        numbers.push_back(std::strtod(text.c_str(), nullptr));
    return numbers;
}

NamedField FieldNamed(const std::string& name) {
#define KORVEL_FLAG(f) NamedField{&OscState.f, false}, #f
#define KORVEL_VALUE(f) NamedField{&OscState.f, true}, #f
    // clang-format off
    const std::pair<NamedField, const char*> runTime[] = {
        {KORVEL_FLAG(Russian)}, {KORVEL_FLAG(LoadedLength)}, {KORVEL_FLAG(AutoNormPending)},
        {KORVEL_FLAG(FileView)}, {KORVEL_FLAG(DeviceReady)}, {KORVEL_FLAG(DeviceVersion)},
        {KORVEL_FLAG(AccCount)}, {KORVEL_FLAG(AccDone)}, {KORVEL_FLAG(ExtCount)},
        {KORVEL_FLAG(ExtArmed)}, {KORVEL_FLAG(CaptureBusy)}, {KORVEL_FLAG(StepIdle)}, {KORVEL_FLAG(OscRunning)}, {KORVEL_FLAG(OscPeriodMs)},
        {KORVEL_FLAG(SavedAutoNorm)}, {KORVEL_FLAG(SpectrumRunning)}, {KORVEL_FLAG(SpectrumValid)},
        {KORVEL_VALUE(SamplePeriod)}, {KORVEL_VALUE(TimeOffset)}, {KORVEL_VALUE(DataMin)},
        {KORVEL_VALUE(DataMax)}, {KORVEL_VALUE(Record)}, {KORVEL_VALUE(AccBuffer)}, {KORVEL_VALUE(FileData)}};
    // clang-format on
    const size_t bracket = name.find('[');
    const int32_t at = bracket == std::string::npos ? 0 : std::atoi(name.c_str() + bracket + 1);
    for (const auto& [field, known] : runTime) {
        if (name.substr(0, bracket) == known)
            return {static_cast<float*>(field.bits) + at, field.isFloat};
    }
    // The files' records, then the settings GetParam alone reaches.
    for (int32_t i = -static_cast<int32_t>(ParamTAcc); i <= ConfigEntryCount; ++i) {
        const ConfigEntry e = i > 0 ? GetConfigEntry(i) : SettingOfParam(static_cast<uint32_t>(-i));
        if (name == e.key) return {e.field(), e.type == ConfigValueType::Float, e.paramId};
    }
    ADD_FAILURE() << "no field " << name;
    static int32_t nowhere;
    return {&nowhere, false};
}

void Fields(std::istream& row, bool check) {
    for (std::string name, text; row >> name && name != "|" && row >> text;) {
        const NamedField field = FieldNamed(name);
        const double value = std::strtod(text.c_str(), nullptr);
        const float f = static_cast<float>(value);
        const int32_t i = field.isFloat ? 0 : static_cast<int32_t>(value);
        const void* bits = field.isFloat ? static_cast<const void*>(&f) : &i;
        if (!check) {
            std::memcpy(field.bits, bits, 4);
        } else if (field.isFloat && std::isnan(f)) {
            EXPECT_TRUE(std::isnan(*static_cast<float*>(field.bits))) << name;
        } else {
            EXPECT_TRUE(std::memcmp(field.bits, bits, 4) == 0)
                << std::setprecision(9) << name << " is not " << value << " but "
                << (field.isFloat ? *static_cast<float*>(field.bits)
                                  : *static_cast<int32_t*>(field.bits));
        }
    }
}

}  // namespace korvel::test
