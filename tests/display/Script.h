// Scenarios written as data. A file under tests/data holds scenarios of
// steps and checks, one a line, run in order by a fixture that names them:
//   == name               a scenario; each one starts from the fixture afresh
//   step words...         an action: a press, a keystroke, a redraw
//   Figure = value        sets a figure of the state by its name in the code
//   probe words == text   a check: the probe's answer must read exactly text
//   # ...                 a comment, alone or after a line
// A word in double quotes keeps its spaces. A failure names the file's line.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace korvel::test {

struct Scenario {
    std::string file;  // below tests/data
    std::string name;
    std::vector<std::pair<int32_t, std::string>> lines;  // line number, text
};

// Names a scenario in a test's messages.
inline void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.file << ": " << scenario.name;
}

std::vector<Scenario> ReadScenarios(const std::string& file);
// The scenario's name in letters and digits, for the test's name.
std::string ScenarioName(const testing::TestParamInfo<Scenario>& info);

using Words = std::vector<std::string>;

struct Script {
    std::map<std::string, std::function<void(const Words&)>> steps;
    std::map<std::string, std::function<std::string(const Words&)>> probes;
    std::map<std::string, std::variant<int32_t*, float*>> figures;
    void Run(const Scenario& scenario);
};

int32_t Int(const std::string& word);
// A float as "%.9g", which reads back as the same float.
std::string Figure(float value);
std::string Join(const std::vector<int32_t>& values);

}  // namespace korvel::test
