// Scenarios written as data. A file under tests/data holds scenarios of
// steps and checks, one a line, run in order by a fixture that names them:
//   == name               a scenario; each one starts from the fixture afresh,
//                         with the lines before the first "==" run first
//   step words...         an action: a press, a keystroke, a redraw
//   Figure = value        sets a figure of the state by its name in the code
//   probe words == text   a check: the probe's answer must read exactly text
//   # ...                 a comment, alone or two spaces after a line
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

inline void PrintTo(const Scenario& s, std::ostream* out) {
    *out << s.file << ": " << s.name;
}

// The scenarios of these files, in order.
std::vector<Scenario> ReadScenarios(const std::vector<std::string>& files);
// "file_name_of_the_scenario": the file's stem and the scenario's name in
// letters, digits and underscores.
std::string ScenarioName(const testing::TestParamInfo<Scenario>& info);

using Words = std::vector<std::string>;
using W = const Words&;  // the words of a step or probe, its name first

struct Script {
    std::map<std::string, std::function<void(const Words&)>> steps;
    std::map<std::string, std::function<std::string(const Words&)>> probes;
    std::map<std::string, std::variant<int32_t*, float*>> figures;
    void Run(const Scenario& scenario);
};

// An entry of Script::figures named as in the code: FIGURE(OscState, ViewMin).
#define FIGURE(record, name) \
    { #name, &record.name }

inline int32_t Int(const std::string& word) {
    return static_cast<int32_t>(std::stol(word));
}
// A colour as six hex digits, 0xRRGGBB.
std::string Hex(uint32_t color);
// A float as "%.9g", which reads back as the same float.
std::string Figure(float value);
std::string Join(const std::vector<int32_t>& values);
// The entries of a log the code under test appends to, named, then the log
// cleared: each check sees what happened since the one before. "-" for none.
template <class T, class Name>
std::string Drain(std::vector<T>& log, Name name) {
    std::string out;
    for (const T& entry : log)
        out += " " + std::string(name(entry));
    log.clear();
    return out.empty() ? "-" : out.substr(1);
}

}  // namespace korvel::test
